#include "html/viewer/LayoutDump.h"

#include "base/Exceptions.h"
#include "base/StringUtil.h"
#include "html/model/Cell.h"
#include "html/model/SectionList.h"
#include "html/parser/Builder.h"
#include "platform/Canvas.h"

#include <QDir>
#include <QFileInfo>
#include <ostream>

namespace {

// The settings the main window gives its viewer.
void ApplyViewerDefaults(TSectionList& list)
{
  list.ApplyDefaults("Times New Roman", "Courier New", 12, clBtnText, clBlue, clPurple, clRed,
                     clWhite, false);
}

// Names in the page are taken relative to the page's folder, as the viewer resolves them.
std::string ExpandAgainst(const QDir& dir, const std::string& name)
{
  std::string n = strutil::Trim(name);
  QString q = QString::fromLocal8Bit(n.data(), int(n.size()));
  q.replace('\\', '/');
  if (q.startsWith("file:///", Qt::CaseInsensitive))
    q = q.mid(7);
  else if (q.startsWith("file://", Qt::CaseInsensitive))
    q = q.mid(7);
  if (QDir::isRelativePath(q))
    q = dir.absoluteFilePath(q);
  return QDir::cleanPath(q).toLocal8Bit().toStdString();
}

// Routes the layout's error box to err for the duration of one dump.
class TErrorRoute {
public:
  explicit TErrorRoute(std::ostream& err)
  {
    SetProcessErrorHandler([&err](const std::string& m) { err << "error: " << m << '\n'; });
  }
  ~TErrorRoute() { SetProcessErrorHandler(nullptr); }
  TErrorRoute(const TErrorRoute&) = delete;
  TErrorRoute& operator=(const TErrorRoute&) = delete;
};

} // namespace

int DumpLayout(const std::string& page, int width, std::ostream& out, std::ostream& err)
{
  QFileInfo info(QString::fromLocal8Bit(page.data(), int(page.size())));
  if (!info.exists() || !info.isFile()) {
    err << "error: " << msg::CantLocateFile << page << '\n';
    return 1;
  }
  TErrorRoute route(err);
  TSectionList list;
  ApplyViewerDefaults(list);
  QDir dir = info.absoluteDir();
  list.Document().ExpandName = [dir](const std::string& name) { return ExpandAgainst(dir, name); };

  TBuilder builder;
  TAnchorList anchors;
  bool plain = strutil::LowerCase(strutil::ExtractFileExt(page)) == ".txt";
  try {
    if (plain)
      builder.ParsePlainText(TParseSource::File(page), list, anchors);
    else
      builder.ParseDocument(TParseSource::File(page), list, anchors);
  } catch (const std::exception& e) {
    err << "error: " << e.what() << '\n';
  }

  TCanvas canvas;
  int32_t scrollWidth = 0, pos = 0;
  list.Layout(canvas, 0, width > 0 ? width : 800, scrollWidth, pos);
  list.Dump(out, builder.PageTitle);
  return 0;
}
