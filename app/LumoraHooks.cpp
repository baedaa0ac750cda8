// The main window's answers to the page hooks: include commands, panels, sounds, clicks on
// form controls with ONCLICK text and submitted forms. The frame viewer hands them to every
// viewer it creates.
#include "app/LumoraF.h"
#include "base/Exceptions.h"
#include "base/StringUtil.h"
#include "editor/widgets/qvcHTMLEditor.h"
#include "html/model/FormControlObj.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/HTMLViewer.h"
#include "outline/TreeView.h"
#include "platform/Dialogs.h"
#include "platform/ErrorBox.h"
#include "platform/Shell.h"
#include "platform/widgets/WidgetControl.h"

#include <QCalendarWidget>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLocale>
#include <QTime>
#include <fstream>

namespace {

constexpr size_t BufferSize = 255;

// A control that fills the whole panel and goes with it.
void FillPanel(ThvPanel* panel, QWidget* control)
{
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(control);
  control->show();
}

bool Exists(const std::string& fileName)
{
  return QFileInfo(QString::fromLocal8Bit(fileName.data(), qsizetype(fileName.size()))).isFile();
}

// The tree file a page names for its tree panel, shown with its formulas worked out; a file
// that cannot be read leaves the nodes read so far, without a message, as panels fail quietly.
void LoadPanelTree(TqvTreeView& tree, const std::string& fileName)
{
  try {
    tree.LoadFromFile(fileName);
    tree.Filename = fileName;
    tree.EvaluateAll();
  } catch (const ELumoraError&) {
  }
  tree.expandAll();
}

} // namespace

namespace lumoraf {

std::string IncludeDate(const QDate& date, const QLocale& locale)
{
  return locale.toString(date, QStringLiteral("d-MMM-yyyy")).toStdString().substr(0, BufferSize);
}

std::string IncludeTime(const QTime& time, const QLocale& locale)
{
  return locale.toString(time, QLocale::LongFormat).toStdString().substr(0, BufferSize);
}

std::string IncludeFileName(const std::vector<std::string>& params)
{
  if (params.empty() || params.front().find("FILE=\"") == std::string::npos)
    return std::string();
  // The line is taken to begin with FILE=" : the name starts at its seventh character.
  const std::string& line = params.front();
  std::string name = line.size() > 6 ? line.substr(6, BufferSize) : std::string();
  return name.substr(0, name.find('"'));
}

bool IsPlayedSound(const std::string& fileName)
{
  std::string ext = strutil::UpperCase(strutil::ExtractFileExt(fileName));
  return ext == ".MID" || ext == ".WAV" || ext == ".MP3";
}

} // namespace lumoraf

void TLumoraF::BindPageHooks()
{
  viewer->OnInclude = [this](QObject* sender, const std::string& command,
                             std::vector<std::string> params, const char*& buffer,
                             int32_t& buffSize) {
    viewerInclude(sender, command, std::move(params), buffer, buffSize);
  };
  viewer->OnPanelCreate = [this](QObject* sender, const std::string& src, ThvPanel* panel) {
    viewerPanelCreate(sender, src, panel);
  };
  viewer->OnSoundRequest = [this](QObject* sender, const std::string& src, int loop,
                                  bool terminate) {
    viewerSoundRequest(sender, src, loop, terminate);
  };
  viewer->OnObjectClick = [this](QObject* sender, TFormControlObj* obj,
                                 const std::string& onClick) {
    CallGuarded([&] { viewerObjectClick(sender, obj, onClick); });
  };
  viewer->OnFormSubmit = [this](QObject* sender, const std::string& action,
                                const std::string& target, const std::string& encType,
                                const std::string& method, std::vector<std::string> results) {
    CallGuarded(
        [&] { viewerFormSubmit(sender, action, target, encType, method, std::move(results)); });
  };
}

void TLumoraF::viewerInclude(QObject*, const std::string& command, std::vector<std::string> params,
                             const char*& buffer, int32_t& buffSize)
{
  buffSize = 0;
  if (strutil::SameText(command, "date") || strutil::SameText(command, "time")) {
    FDateTimeBuffer = strutil::SameText(command, "date")
                          ? lumoraf::IncludeDate(QDate::currentDate(), QLocale())
                          : lumoraf::IncludeTime(QTime::currentTime(), QLocale());
    buffer = FDateTimeBuffer.data();
    buffSize = int32_t(FDateTimeBuffer.size());
    return;
  }
  if (!strutil::SameText(command, "include"))
    return;
  std::string name = lumoraf::IncludeFileName(params);
  if (name.empty())
    return;
  // A relative name is taken from the process's current folder; a file that cannot be read
  // gives nothing.
  QFile file(QString::fromLocal8Bit(name.data(), qsizetype(name.size())));
  if (!file.open(QIODevice::ReadOnly))
    return;
  FIncludeStream = file.readAll().toStdString();
  buffer = FIncludeStream.data();
  buffSize = int32_t(FIncludeStream.size());
}

void TLumoraF::viewerPanelCreate(QObject* sender, const std::string& src, ThvPanel* panel)
{
  std::string kind = strutil::LowerCase(src);
  // DATA names the file the tree or the editor opens, relative to the page.
  std::string data = panel->Data.empty() ? std::string() : ResolveFrom(sender, panel->Data);
  if (kind == "calendar") {
    auto* calendar = new QCalendarWidget(panel);
    calendar->setGeometry(0, 0, panel->width(), panel->height());
    calendar->show();
  } else if (kind == "treeview") {
    auto* tree = new TqvTreeView(panel);
    tree->SetFormuleColor(RGBColor(128, 0, 128));
    tree->setFont(QFont(QStringLiteral("Arial"), 10));
    if (!data.empty())
      LoadPanelTree(*tree, data);
    FillPanel(panel, tree);
  } else if (kind == "htmleditor") {
    auto* editor = new TqvcHTMLEditor(panel);
    if (Exists(data))
      editor->OpenFile(data);
    FillPanel(panel, editor);
  }
}

std::string TLumoraF::ResolveFrom(QObject* sender, const std::string& name) const
{
  // The viewer that is parsing knows the page's folder; the frame viewer knows the shown page's.
  if (auto* v = dynamic_cast<THTMLViewer*>(sender))
    return v->ResolveSourceName(name);
  return viewer->ResolveSourceName(name);
}

void TLumoraF::viewerSoundRequest(QObject*, const std::string& src, int, bool)
{
  std::string name = viewer->ResolveSourceName(src);
  if (!src.empty() && lumoraf::IsPlayedSound(name))
    shell::ShellOpen(name);
}

void TLumoraF::viewerObjectClick(QObject*, TFormControlObj* obj, const std::string& onClick)
{
  if (onClick.empty() || !obj)
    return;
  if (dynamic_cast<TButtonFormControlObj*>(obj) || dynamic_cast<TCheckBoxFormControlObj*>(obj) ||
      dynamic_cast<TRadioButtonFormControlObj*>(obj))
    Dialogs().ShowMessage(onClick);
}

void TLumoraF::viewerFormSubmit(QObject*, const std::string&, const std::string&,
                                const std::string&, const std::string&,
                                std::vector<std::string> results)
{
  std::string fileName;
  if (!Dialogs().SaveFile(SaveDialog1, fileName))
    return;
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  for (const std::string& line : results)
    out << line << '\n';
  out.flush();
  if (!out)
    throw ELumoraError("Cannot write " + fileName);
}
