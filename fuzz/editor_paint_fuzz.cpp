// Random text in the editor's window, drawn with a selection in each mode, scrolled across
// its columns and lines, with line numbers and marks: painting must never read outside a line
// or draw outside its cells, whatever the bytes. The first bytes choose the view.
#include "FuzzSupport.h"
#include "editor/HTMLHighlighter.h"
#include "editor/widgets/EditWidget.h"

#include <QImage>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  fuzzsupport::StartQt();
  if (size < 6)
    return 0;
  static TtxHTMLHighlighter highlighter;
  static TtxEditWidget* editor = [] {
    auto* e = new TtxEditWidget;
    e->resize(300, 200);
    e->Gutter.SetShowLineNumbers(true);
    return e;
  }();
  editor->SetHighLighter(data[0] & 1 ? &highlighter : nullptr);
  editor->SetText(std::string(reinterpret_cast<const char*>(data) + 6, size - 6));
  editor->TabWidth = data[1] % 12;
  editor->SetSelectionMode(TSelectionMode(data[2] % 3));
  editor->SetSelAnchor({data[3] % 200 + 1, data[4] % 50 + 1});
  editor->SetSelEnd({data[4] * 5 + 1, data[3] % 70 + 1});
  editor->PlaceBookmark(data[5] % 10, 1, data[5] % 40 + 1);
  QImage image(editor->viewport()->size(), QImage::Format_RGB32);
  for (int left : {1, int(data[1]) * 4 + 1, TtxCustomEdit::ColumnLimit}) {
    editor->SetLeftChar(left);
    editor->SetTopLine(data[2] % 60 + 1);
    editor->viewport()->render(&image);
  }
  return 0;
}
