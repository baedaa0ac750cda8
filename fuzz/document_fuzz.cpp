// Arbitrary bytes as a document: tokenizer and builder, the frameset reader, layout at two
// widths and the layout dump. The first byte picks options so the script, include and
// plain-text paths run too.
#include "fuzz/FuzzSupport.h"
#include "html/model/SectionList.h"
#include "html/model/htmlForm.h"
#include "html/parser/Builder.h"
#include "platform/Canvas.h"

#include <QApplication>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace {

void StartQt()
{
  if (!fuzzsupport::StartQt())
    return;
  SetProcessErrorHandler([](const std::string&) {});
}

// A frameset that accepts everything and keeps a bounded tree.
class TFuzzSet : public TFrameSetReader {
public:
  void InitFromAttributes(const TAttributeList& attributes) override { Seen += attributes.Count(); }
  TFrameSetReader* AddFrameSet() override
  {
    Children.push_back(std::make_unique<TFuzzSet>());
    return Children.back().get();
  }
  void AddFrame(const TAttributeList& attributes) override { Seen += attributes.Count(); }
  void Complete() override { ++Seen; }
  TScriptEvent ScriptHandler() const override
  {
    return [](QObject*, const std::string&, const std::string&) {};
  }
  std::vector<std::unique_ptr<TFuzzSet>> Children;
  int Seen = 0;
};

const char IncludeText[] = "<B>included <!--#include x--> text</B><P>";

} // namespace

// Text that the page's face lacks is measured with a fallback face; the fonts fontconfig matches
// for it are kept until the process ends: not a leak of ours.
extern "C" const char* __lsan_default_suppressions()
{
  return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  StartQt();
  uint8_t options = size > 0 ? data[0] : 0;
  const char* text = reinterpret_cast<const char*>(data);

  TParseEvents events;
  events.OnMeta = [](QObject*, const std::string&, const std::string&, const std::string&) {};
  events.OnSoundRequest = [](QObject*, const std::string&, int, bool) {};
  if (options & 1)
    events.OnInclude = [](QObject*, const std::string&, std::vector<std::string>,
                          const char*& buffer, int32_t& buffSize) {
      buffer = IncludeText;
      buffSize = int32_t(sizeof(IncludeText) - 1);
    };

  TBuilder builder;
  {
    TFuzzSet set;
    builder.HasFrameSet(TParseSource::FromBuffer(text, int64_t(size)));
    builder.ReadFrameDocument(TParseSource::FromBuffer(text, int64_t(size)), set, events);
  }

  TSectionList list;
  // Nothing a document names is ever read from disk here.
  list.Document().ExpandName = [](const std::string&) { return std::string("/nonexistent/fuzz"); };
  if (options & 2)
    list.Document().OnScript = [](QObject*, const std::string&, const std::string&) {};
  TAnchorList anchors;
  if ((options & 0x0C) == 0x0C) {
    std::vector<std::string> lines(1, std::string(text, size));
    builder.ParsePlainText(TParseSource::FromStrings(lines), list, anchors);
  } else {
    builder.ParseDocument(TParseSource::FromBuffer(text, int64_t(size)), list, anchors, events);
  }

  TCanvas canvas;
  for (int width : {800, 97}) {
    int32_t scrollWidth = 0, pos = 0;
    list.Layout(canvas, 0, width, scrollWidth, pos);
  }
  // Every form submits (image buttons as if clicked) and resets.
  size_t lines = 0;
  list.Document().OnFormSubmit =
      [&lines](QObject*, const std::string&, const std::string&, const std::string&,
               const std::string&, std::vector<std::string> results) { lines += results.size(); };
  for (const auto& form : list.Document().Forms) {
    form->Submit();
    form->ResetControls();
  }
  fuzzsupport::TNullBuf nullBuf;
  std::ostream null(&nullBuf);
  list.Dump(null, builder.PageTitle);
  return 0;
}
