#include "editor/widgets/EditorModes.h"

#include "editor/widgets/EditWidget.h"
#include "editor/widgets/qvcHTMLEditor.h"
#include "editor/widgets/vwPrintTarget.h"
#include "html/viewer/vwPrinter.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QVBoxLayout>
#include <ostream>

namespace editormodes {

namespace {

class TEditWindow : public QWidget {
public:
  TEditWindow()
  {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Box = new TqvcHTMLEditor(this);
    layout->addWidget(Box);
    resize(Box->size());
  }
  TqvcHTMLEditor* Box;

protected:
  void closeEvent(QCloseEvent* event) override
  {
    if (Box->CanClose())
      event->accept();
    else
      event->ignore();
  }
};

} // namespace

std::unique_ptr<QWidget> NewEditWindow(const std::string& fileName)
{
  auto window = std::make_unique<TEditWindow>();
  window->setWindowTitle(
      QStringLiteral("Lumora - %1").arg(QFileInfo(QString::fromStdString(fileName)).fileName()));
  window->Box->OpenFile(fileName);
  window->Box->setFocus();
  return window;
}

int PrintSource(const std::string& fileName, const std::string& out, bool withHighlighting,
                std::ostream& cout, std::ostream& err)
{
  try {
    TqvcHTMLEditor box;
    box.Editor->LoadFromFile(fileName);
    TtxPrintOptions options = box.PrintOptions();
    options.JobTitle = QFileInfo(QString::fromStdString(fileName)).completeBaseName().toStdString();
    options.WithHighlighting = withHighlighting;
    QPrinter& printer = SelectedPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(out));
    printer.setPageSize(QPageSize(QPageSize::A4));
    TvwPrinter job(&printer);
    TvwPrintTarget target(job);
    const int pages = box.PrintTo(target, options);
    cout << "pages=" << pages << "\n";
    return 0;
  } catch (const std::exception& e) {
    err << "error: " << e.what() << "\n";
    return 1;
  }
}

} // namespace editormodes
