// Arbitrary bytes read as a script of model-building calls: text, single characters, font
// changes, images, floats, links, list items and block items; the document is then laid out
// at several widths, painted (on a picture and as for a printer), queried and copied.
#include "fuzz/FuzzSupport.h"
#include "html/model/HorzLine.h"
#include "html/model/ImageObj.h"
#include "html/model/ListItem.h"
#include "html/model/ParagraphSpace.h"
#include "html/model/PreFormated.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "platform/Canvas.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace {

void StartQt()
{
  fuzzsupport::StartQt();
}

class TScript {
public:
  TScript(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
  bool More() const { return FPos < FSize; }
  uint8_t Next() { return FPos < FSize ? FData[FPos++] : 0; }
  std::string Text(size_t n)
  {
    n = std::min(n, FSize - FPos);
    std::string s(reinterpret_cast<const char*>(FData + FPos), n);
    FPos += n;
    return s;
  }
  int32_t Pos() const { return int32_t(FPos); }

private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

TMyFont FontFrom(TSectionList& list, uint8_t b)
{
  static const int sizes[] = {8, 10, 12, 14, 18, 24, 36, 1};
  TMyFont f(QStringLiteral("Times New Roman"), sizes[b & 7], clBlack);
  f.Monospace = b & 8;
  f.Reapply(&list.Document(), b & 16 ? clRed : clBlack);
  f.AddStyle(b >> 4);
  return f;
}

std::unique_ptr<TSection> NewSection(TSectionList& list, uint8_t b, const TUrlTarget& link)
{
  TMyFont font = FontFrom(list, b);
  int level = (b >> 3) & 7;
  switch (b % 5) {
  case 0: return std::make_unique<TPreFormated>(&list.Document(), paLeft, link, font, level);
  case 1: return std::make_unique<TUListItem>(&list.Document(), link, font, level);
  case 2:
    return std::make_unique<TOListItem>(&list.Document(), link, font, "1aAiI"[(b >> 3) % 5], b,
                                        level);
  case 3: return std::make_unique<TDListItem>(&list.Document(), link, font, level);
  default:
    return std::make_unique<TSection>(&list.Document(), TParaAlign(1 + b % 3), link, font, level);
  }
}

void Build(TSectionList& list, TScript& script)
{
  TUrlTarget link;
  auto section = std::make_unique<TSection>(&list.Document(), paLeft, link, FontFrom(list, 0), 0);
  while (script.More()) {
    uint8_t op = script.Next();
    uint8_t arg = script.Next();
    switch (op % 9) {
    case 0: {
      std::string t = script.Text(arg % 64);
      std::vector<int32_t> pos(t.size(), script.Pos());
      section->AppendRun(t.data(), pos.data(), int32_t(t.size()));
      break;
    }
    case 1: section->AppendChar(char(arg), script.Pos()); break;
    case 2: section->FontChange(FontFrom(list, arg), arg >> 4, TScriptShift(arg % 3)); break;
    case 3: {
      auto img =
          std::make_unique<TImageObj>(&list.Document(), &list, 0, "img" + std::to_string(arg));
      img->Placement = TPlacement(arg % 5);
      if (arg & 8)
        img->ReqWidth = script.Next();
      if (arg & 16)
        img->ReqHeight = script.Next();
      img->AltText = script.Text(arg % 8);
      section->PlaceImage(std::move(img), script.Pos(), arg & 32);
      break;
    }
    case 4:
      list.Add(std::move(section));
      section = NewSection(list, arg, link);
      break;
    case 5:
      switch (arg % 4) {
      case 0: list.Add(std::make_unique<TParagraphSpace>(&list.Document())); break;
      case 1: list.Add(std::make_unique<THeadingSpace>(&list.Document(), arg % 7)); break;
      case 2: {
        auto rule = std::make_unique<THorzLine>(&list.Document());
        rule->SetSize(arg);
        rule->SetWidth(script.Next(), arg & 64);
        list.Add(std::move(rule));
        break;
      }
      default: list.Add(std::make_unique<TPage>(&list.Document())); break;
      }
      break;
    case 6:
      link.Url = arg & 1 ? "link" + std::to_string(arg) : std::string();
      section->LinkMark(arg & 1, FontFrom(list, arg), list.Document().LinkStyle, link);
      break;
    case 7: section->ClearSide = TClearSide(arg % 4); break;
    default: section->FinishLine(); break;
    }
  }
  list.Add(std::move(section));
}

void Exercise(TSectionList& list, TCanvas& canvas, int32_t width, uint8_t seed)
{
  int32_t scrollWidth = 0, pos = 0;
  int32_t height = list.Layout(canvas, 0, width, scrollWidth, pos);
  QImage image(64, 64, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    TCanvas paintCanvas(&painter);
    list.SetScroll(height / 2);
    list.Paint(paintCanvas, QRect(0, 0, 64, 64), 64, 0, 0);
    list.SetScroll(0);
  }
  // A printer's engine sets no pixels itself: text there waits across the page, as printing
  // draws it, and pieces may join runs begun earlier.
  QPicture picture;
  {
    QPainter painter(&picture);
    TCanvas printCanvas(&painter);
    printCanvas.Printing = true;
    TTextBatch batch(printCanvas);
    list.Paint(printCanvas, QRect(0, 0, 64, 64), 64, 0, 0);
  }
  for (int32_t y = -5; y < height + 5; y += std::max(1, height / 7)) {
    int32_t xr = 0, yr = 0, h = 0;
    TCell* cell = nullptr;
    bool inText = false;
    int32_t p = list.CursorAt(canvas, seed % 300, y, xr, yr, h, cell, inText);
    int32_t x = 0, yy = 0;
    list.CursorPoint(canvas, p, x, yy);
    char ch = 0;
    TCharObject obj;
    list.CharAt(p, ch, obj);
    list.DocPosOf(list.SourcePosOf(p), seed & 1);
    TFormControlObj* control = nullptr;
    TUrlTarget target;
    list.LinkAt(canvas, x, y, control, target);
  }
  list.SearchText(seed, std::string(1, char(seed)), seed & 2);
  list.Document().SelStartPos = seed % (pos + 1);
  list.Document().SelEndPos = pos;
  list.CopySelection();
  std::ostringstream dump;
  list.Dump(dump, "fuzz");
}

} // namespace

// Fonts that fontconfig matches (for the faces and their fallbacks) are kept until the process
// ends: not a leak of ours.
extern "C" const char* __lsan_default_suppressions()
{
  return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  StartQt();
  TSectionList list;
  TScript script(data, size);
  Build(list, script);
  TCanvas canvas;
  uint8_t seed = size ? data[0] : 0;
  for (int32_t width : {1, 90, 600, 32000})
    Exercise(list, canvas, width, seed);
  list.ApplyDefaults("Arial", "Courier New", 16, clBlack, clBlue, clPurple, clRed, clWhite, true);
  Exercise(list, canvas, 300, seed);
  return 0;
}
