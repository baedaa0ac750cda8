// Arbitrary bytes as a group of up to four documents that name each other as frames (the
// fourth made long, so that it shows its start first): the frame viewer reads, loads, lays out,
// resizes, reloads and steps through them. Cycles,
// nesting and long ROWS/COLS lists come from the input. The ROWS/COLS arithmetic also takes
// the raw bytes.
#include "fuzz/FuzzSupport.h"
#include "html/model/SectionList.h"
#include "html/viewer/DocumentStart.h"
#include "html/viewer/FrameDump.h"
#include "html/viewer/FrameSizes.h"
#include "html/viewer/FrameViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <ostream>
#include <string>
#include <vector>

namespace {

QString Folder()
{
  static QTemporaryDir dir;
  return dir.path();
}

// The input split at "\n--\n" into the documents f0.htm, f1.htm, ...
std::vector<std::string> Documents(const uint8_t* data, size_t size)
{
  std::string all(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> docs;
  size_t start = 0;
  while (docs.size() < 3) {
    size_t at = all.find("\n--\n", start);
    if (at == std::string::npos)
      break;
    docs.push_back(all.substr(start, at - start));
    start = at + 4;
  }
  docs.push_back(all.substr(start));
  return docs;
}

void CheckSizes(const std::string& value)
{
  std::vector<int32_t> dims = framesizes::Parse(value);
  for (int32_t extent : {0, 1, 333, 4000}) {
    std::vector<int32_t> ends = framesizes::Ends(framesizes::Sizes(dims, extent), extent);
    if (!ends.empty() && ends.back() != extent)
      __builtin_trap();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > 64 * 1024)
    return 0;
  if (fuzzsupport::StartQt())
    SetProcessErrorHandler([](const std::string&) {});
  CheckSizes(std::string(reinterpret_cast<const char*>(data), std::min<size_t>(size, 512)));
  std::vector<std::string> docs = Documents(data, size);
  docs.resize(4);
  // The last one is long enough that, as a frame, it shows its start first.
  while (int64_t(docs[3].size()) <= docstart::WholeUpTo)
    docs[3] += "\n<p>more text of a long document";
  for (size_t i = 0; i < 4; ++i) {
    QFile file(Folder() + QString("/f%1.htm").arg(i));
    if (file.open(QIODevice::WriteOnly))
      file.write(docs[i].data(), qint64(docs[i].size()));
  }
  TFrameViewer viewer;
  viewer.ProgressiveLoad = true;
  viewer.SetHistoryMaxCount(5);
  viewer.SetfvOptions(fvMetaRefresh);
  viewer.resize(400, 300);
  fuzzsupport::TNullBuf null;
  std::ostream out(&null);
  try {
    viewer.LoadFromFile((Folder() + "/f0.htm").toStdString());
    DumpFrameTree(viewer, out);
    QCoreApplication::processEvents(); // a waiting frame reads its whole document
    viewer.resize(123, 77);
    viewer.LoadFromFile((Folder() + "/f1.htm").toStdString());
    viewer.StepBack();
    viewer.Reload();
    viewer.StepForward();
    viewer.LoadWaitingFrames();
    DumpFrameTree(viewer, out);
  } catch (const std::exception&) {
    // Reported errors are a valid outcome.
  }
  return 0;
}
