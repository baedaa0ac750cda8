// The source editor's window beside QScintilla's: painting a full 100 x 50-cell window of
// highlighted HTML off screen, what a one-line scroll repaints, and typing one character at
// the end of a 20 MB file until the cell is painted.
#include "support/DocGen.h"
#include "support/Timing.h"

#include "editor/HTMLHighlighter.h"
#include "editor/widgets/EditWidget.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using benchutil::BestOf;
using benchutil::Ratio;
using benchutil::Report;
using benchutil::Stopwatch;

constexpr int Columns = 100;
constexpr int Rows = 50;
constexpr int Repeats = 30;

QFont EditorFont()
{
  QFont font("Courier New");
  font.setPixelSize(17);
  return font;
}

double PaintOurs(const std::string& html, QImage& shot)
{
  TtxHTMLHighlighter highlighter;
  TtxEditWidget editor;
  editor.SetEditorFont(EditorFont());
  editor.SetHighLighter(&highlighter);
  editor.SetText(html);
  editor.RightEdge = 0;
  // The viewport holds exactly the cells, the gutter and its margin.
  const int width = editor.GutterPixels() + 2 + Columns * editor.CellWidth();
  const int height = Rows * editor.LinePitch();
  editor.resize(width + editor.verticalScrollBar()->sizeHint().width(),
                height + editor.horizontalScrollBar()->sizeHint().height());
  editor.viewport()->resize(width, height);
  shot = QImage(editor.viewport()->size(), QImage::Format_RGB32);
  editor.viewport()->render(&shot);
  return BestOf(Repeats, [&] { editor.viewport()->render(&shot); });
}

void SetUpScintilla(QsciScintilla& sci, QsciLexerHTML& lexer, const std::string& html)
{
  // Its styles take point sizes: the same 17 pixels at the off-screen 96 dots per inch.
  QFont font("Courier New");
  font.setPointSizeF(17 * 72.0 / 96.0);
  lexer.setDefaultFont(font);
  lexer.setFont(font);
  sci.setLexer(&lexer);
  sci.setText(QString::fromLatin1(html.data(), qsizetype(html.size())));
  sci.setMarginWidth(0, 30);
  sci.setMarginWidth(1, 0);
  sci.SendScintilla(QsciScintilla::SCI_COLOURISE, 0L, -1L);
}

double PaintScintilla(const std::string& html, QImage& shot)
{
  QsciLexerHTML lexer;
  QsciScintilla sci;
  SetUpScintilla(sci, lexer, html);
  const int cell = QFontMetrics(EditorFont()).horizontalAdvance(QLatin1Char('M'));
  const int pitch = int(sci.SendScintilla(QsciScintilla::SCI_TEXTHEIGHT, 0L));
  sci.resize(30 + Columns * cell + sci.verticalScrollBar()->sizeHint().width() + 4,
             Rows * pitch + sci.horizontalScrollBar()->sizeHint().height() + 4);
  sci.show();
  QCoreApplication::processEvents();
  shot = QImage(sci.viewport()->size(), QImage::Format_RGB32);
  sci.viewport()->render(&shot);
  return BestOf(Repeats, [&] { sci.viewport()->render(&shot); });
}

// An editor window on html, shown.
struct TShownEditor {
  TtxHTMLHighlighter Highlighter;
  TtxEditWidget Editor;
  explicit TShownEditor(const std::string& html)
  {
    Editor.SetHighLighter(&Highlighter);
    Editor.SetText(html);
    Editor.resize(900, 700);
    Editor.show();
  }
};

// What scrolling one line down repaints, as a share of the window.
void ScrollStrip(const std::string& html)
{
  TShownEditor shown(html);
  TtxEditWidget& editor = shown.Editor;
  QCoreApplication::processEvents();
  editor.PaintedRegion = QRegion();
  editor.SetTopLine(editor.TopLine() + 1);
  QCoreApplication::processEvents();
  const QRect painted = editor.PaintedRegion.boundingRect();
  std::printf("  %-44s %6d x %d of %d x %d pixels (line pitch %d)\n", "one-line scroll repaints",
              painted.width(), painted.height(), editor.viewport()->width(),
              editor.viewport()->height(), editor.LinePitch());
}

// Key press to painted cell at the end of a big file, the window showing the end.
double TypeAtEndOurs(const std::string& html)
{
  TShownEditor shown(html);
  TtxEditWidget& editor = shown.Editor;
  editor.setFocus();
  editor.RunCommand(ecEditorBottom, 0, nullptr);
  editor.RunCommand(ecLineEnd, 0, nullptr);
  QCoreApplication::processEvents();
  // The typed cell's line is repainted when the posted update is processed; every key is
  // checked to have been painted.
  int unpainted = 0;
  double slowest = 0;
  const double ms = BestOf(Repeats, [&] {
    Stopwatch key;
    editor.PaintedRegion = QRegion();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QCoreApplication::sendEvent(&editor, &press);
    QCoreApplication::processEvents();
    const QPoint cell = editor.PositionToPixels({editor.CaretColumn() - 1, editor.CaretLine()});
    unpainted += !editor.PaintedRegion.contains(cell + QPoint(1, 1));
    slowest = std::max(slowest, key.Ms());
  });
  Report("lumora slowest key of the run", slowest);
  if (unpainted)
    std::printf("  (%d typed cells were not painted)\n", unpainted);
  return ms;
}

double TypeAtEndScintilla(const std::string& html)
{
  QsciLexerHTML lexer;
  QsciScintilla sci;
  SetUpScintilla(sci, lexer, html);
  sci.resize(900, 700);
  sci.show();
  sci.setFocus();
  sci.SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
  QCoreApplication::processEvents();
  return BestOf(Repeats, [&] {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QCoreApplication::sendEvent(&sci, &press);
    QCoreApplication::processEvents();
  });
}

} // namespace

int main(int argc, char** argv)
{
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const std::string page = docgen::TextDocument(64 << 10);
  std::printf("editor painting, %d x %d cells of highlighted HTML, best of %d\n", Columns, Rows,
              Repeats);
  QImage ours, theirs;
  const double paintOurs = PaintOurs(page, ours);
  const double paintTheirs = PaintScintilla(page, theirs);
  Report("lumora paint", paintOurs);
  Report("QScintilla paint", paintTheirs);
  Ratio("lumora / QScintilla", paintOurs, paintTheirs, "<= 0.50");
  if (argc > 1) {
    ours.save(QString("%1/editor_paint_lumora.png").arg(argv[1]));
    theirs.save(QString("%1/editor_paint_qscintilla.png").arg(argv[1]));
  }
  ScrollStrip(page);
  const std::string big = docgen::TextDocument(20 << 20);
  std::printf("typing at the end of a %.1f MB file, key to painted cell, best of %d\n",
              double(big.size()) / (1 << 20), Repeats);
  const double typeOurs = TypeAtEndOurs(big);
  const double typeTheirs = TypeAtEndScintilla(big);
  Report("lumora key to paint", typeOurs);
  Report("QScintilla key to paint", typeTheirs);
  Ratio("lumora / QScintilla", typeOurs, typeTheirs);
  std::printf("  %-44s %s\n", "lumora under 5 ms", typeOurs < 5 ? "yes" : "NO");
  return 0;
}
