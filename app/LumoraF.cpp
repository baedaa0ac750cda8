#include "app/LumoraF.h"

#include "app/FilePane.h"
#include "app/ToolGlyphs.h"
#include "app/Widget.h"
#include "base/Color.h"
#include "base/StringUtil.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/vwPrinter.h"
#include "platform/ErrorBox.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Designed placement and sizes, in pixels.
const QRect DesignedBounds(192, 121, 696, 518);
constexpr int ToolRowHeight = 30;
constexpr int FilePaneWidth = 177;
constexpr int SplitterWidth = 5;
constexpr int StatusBarHeight = 19;

std::string DirectoryOf(const std::string& name)
{
  return strutil::ExtractFilePath(name);
}

} // namespace

namespace lumoraf {

bool IsHtmlName(const std::string& name)
{
  std::string ext = strutil::UpperCase(strutil::ExtractFileExt(name));
  return ext == ".HTM" || ext == ".HTML";
}

std::string StartPage(const std::string& programDir)
{
  QDir dir(QString::fromStdString(programDir));
  for (const QString& folder : {QStringLiteral("."), QStringLiteral(LUMORA_DATA_FROM_BIN)}) {
    QString start = QDir::cleanPath(dir.filePath(folder + "/Lumora.htm"));
    if (QFileInfo(start).isFile())
      return start.toStdString();
  }
  return {};
}

} // namespace lumoraf

TLumoraF::TLumoraF(const std::string& programFile, std::vector<std::string> params, QWidget* parent)
    : QMainWindow(parent), FIni(TqvFormIni::Location(programFile, TqvFormIni::UserConfigDir())),
      FParams(std::move(params))
{
  setObjectName("LumoraF");
  setWindowTitle("Tolk Lumora 2");
  QFont font({"MS Sans Serif", "Arial"}, -1);
  font.setPixelSize(13);
  setFont(font);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  setCentralWidget(central);
  CreateToolRow();
  CreatePanes();
  layout->addWidget(Panel1);
  layout->addWidget(Splitter1, 1);
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setFixedHeight(StatusBarHeight);
  setStatusBar(StatusBar1);
  CreateWidget1();
  setAcceptDrops(true);
  setGeometry(DesignedBounds);
  FormCreate(programFile);
}

TLumoraF::~TLumoraF()
{
  FormDestroy();
}

void TLumoraF::CreateToolRow()
{
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFixedHeight(ToolRowHeight);
  btnhome = AddToolButton("btnhome", 16, "Home", int(TToolGlyph::Home), &TLumoraF::btnhomeClick);
  btnrefresh = AddToolButton("btnrefresh", 40, "Reload", int(TToolGlyph::Reload),
                             &TLumoraF::btnrefreshClick);
  btnback = AddToolButton("btnback", 72, "Back", int(TToolGlyph::Back), &TLumoraF::btnbackClick);
  btnfwd = AddToolButton("btnfwd", 96, "Forward", int(TToolGlyph::Forward), &TLumoraF::btnfwdClick);
  btnprint =
      AddToolButton("btnprint", 168, "Print", int(TToolGlyph::Print), &TLumoraF::btnprintClick);
  btncopy = AddToolButton("btncopy", 200, "Copy Selection", int(TToolGlyph::Copy),
                          &TLumoraF::btncopyClick);
  btnback->setEnabled(false);
  btnfwd->setEnabled(false);
}

QToolButton* TLumoraF::AddToolButton(const char* name, int left, const char* hint, int glyph,
                                     void (TLumoraF::*handler)())
{
  auto* button = new QToolButton(Panel1);
  button->setObjectName(name);
  button->setAutoRaise(true);
  button->setGeometry(left, 4, 23, 22);
  button->setIcon(QIcon(ToolGlyph(TToolGlyph(glyph))));
  button->setIconSize(QSize(16, 16));
  button->setToolTip(hint);
  connect(button, &QToolButton::clicked, this,
          [this, handler] { CallGuarded([this, handler] { (this->*handler)(); }); });
  return button;
}

void TLumoraF::CreatePanes()
{
  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setHandleWidth(SplitterWidth);
  Splitter1->setChildrenCollapsible(false);
  Panel2 = new TFilePane(Splitter1);
  Panel2->OnFileClick = [this] { CallGuarded([this] { filesClick(); }); };
  CreateViewer();
  Splitter1->addWidget(Panel2);
  Splitter1->addWidget(viewer);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({FilePaneWidth, DesignedBounds.width() - FilePaneWidth - SplitterWidth});
}

void TLumoraF::CreateViewer()
{
  viewer = new TFrameViewer(Splitter1);
  viewer->setObjectName("viewer");
  ConfigureMainViewer(*viewer);
  viewer->ProgressiveLoad = true; // long frame documents show their first screens early
  viewer->SetHistoryMaxCount(50);
  viewer->OnHistoryChange = [this](QObject* sender) { viewerHistoryChange(sender); };
  BindPageHooks();
  viewer->OnHotSpotTargetCovered = [this](QObject* sender, const std::string& target,
                                          const std::string& url) {
    viewerHotSpotTargetCovered(sender, target, url);
  };
}

void TLumoraF::CreateWidget1()
{
  Widget1 = new TWidget(this);
  QFont font("Marlett");
  font.setPixelSize(13);
  Widget1->SetFont(font);
  Widget1->SetFontColor(QColor(GetRValue(clMaroon), GetGValue(clMaroon), GetBValue(clMaroon)));
  Widget1->SetGlyph('s');
  Widget1->Hint = "About";
  Widget1->ShowHint = true;
  Widget1->OnClick = [this](QObject*) { CallGuarded([this] { Widget1Click(); }); };
}

void TLumoraF::FormCreate(const std::string& programFile)
{
  FProgramDir = QFileInfo(QString::fromStdString(programFile)).absolutePath().toStdString() + "/";
  SaveDialog1.DefaultExt = "txt";
  SaveDialog1.Filter = "Text Files|*.txt";
  SaveDialog1.InitialDir = FProgramDir;
  FHomePage.clear();
  FIni.LoadPlacement(*this);
}

void TLumoraF::FormDestroy()
{
  FIni.SavePlacement(*this);
}

void TLumoraF::showEvent(QShowEvent* event)
{
  QMainWindow::showEvent(event);
  if (FShown)
    return;
  FShown = true;
  CallGuarded([this] { FormShow(); });
}

void TLumoraF::FormShow()
{
  if (FParams.empty()) {
    std::string start = lumoraf::StartPage(FProgramDir);
    if (!start.empty()) {
      viewer->LoadFromFile(start);
      FHomePage = start;
    }
    return;
  }
  const std::string& param = FParams.front();
  if (viewerutil::IsImageName(param)) {
    // The desktop entry offers Lumora for pictures too, so a file manager may hand us one.
    viewer->LoadImageFile(param);
    Panel2->SetDirectory(DirectoryOf(param));
    return;
  }
  if (!lumoraf::IsHtmlName(param))
    return;
  viewer->LoadFromFile(param);
  Panel2->SetDirectory(DirectoryOf(param));
  FHomePage = param;
}

void TLumoraF::filesClick()
{
  const std::string& path = Panel2->FileName();
  std::string ext = strutil::LowerCase(strutil::ExtractFileExt(path));
  if (ext == ".htm" || ext == ".html" || ext == ".txt")
    viewer->LoadFromFile(path);
  else if (ext == ".gif" || ext == ".jpg" || ext == ".png" || ext == ".bmp")
    viewer->LoadImageFile(path);
}

void TLumoraF::FilesDropped(const std::vector<std::string>& names)
{
  if (names.empty())
    return;
  const std::string& name = names.front();
  if (name.empty() || !lumoraf::IsHtmlName(name))
    return;
  viewer->LoadFromFile(name);
  Panel2->SetDirectory(DirectoryOf(name));
}

void TLumoraF::dragEnterEvent(QDragEnterEvent* event)
{
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void TLumoraF::dropEvent(QDropEvent* event)
{
  std::vector<std::string> names;
  for (const QUrl& url : event->mimeData()->urls())
    names.push_back(url.toLocalFile().toStdString());
  event->acceptProposedAction();
  CallGuarded([&] { FilesDropped(names); });
}

void TLumoraF::btnhomeClick()
{
  if (FHomePage.empty())
    return;
  viewer->LoadFromFile(FHomePage);
  Panel2->SetDirectory(DirectoryOf(FHomePage));
}

void TLumoraF::btnrefreshClick()
{
  viewer->Reload();
}

void TLumoraF::btnbackClick()
{
  viewer->StepBack();
}

void TLumoraF::btnfwdClick()
{
  viewer->StepForward();
}

void TLumoraF::btnprintClick()
{
  if (!viewer->FocusViewer())
    return; // nothing shown, or no frame chosen: nothing to print
  // The system print dialog picks the printer (or a PDF file) and may narrow the pages.
  QPrinter& printer = SelectedPrinter();
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(1, 999);
  if (!Dialogs().PrinterSetup(printer))
    return;
  bool range = printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0;
  viewer->Print(range ? printer.fromPage() : 1, range ? printer.toPage() : 999);
}

void TLumoraF::btncopyClick()
{
  viewer->CopySelected();
}

void TLumoraF::viewerHistoryChange(QObject*)
{
  btnback->setEnabled(viewer->BackButtonEnabled());
  btnfwd->setEnabled(viewer->FwdButtonEnabled());
}

void TLumoraF::viewerHotSpotTargetCovered(QObject*, const std::string&, const std::string& url)
{
  StatusBar1->showMessage(QString::fromStdString(url));
}

std::string TLumoraF::AboutText()
{
  return "Lumora 2 by The Lumora developers\r\n"
         "Written in C++20 with Qt 6\r\n"
         "\r\n"
         "Email:\r\n"
         "lumora@example.org\r\n"
         "\r\n"
         "WebSite:\r\n"
         "https://lumora.example.org/";
}

void TLumoraF::Widget1Click()
{
  Dialogs().ShowMessage(AboutText());
}
