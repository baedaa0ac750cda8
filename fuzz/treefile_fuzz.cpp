// Loads arbitrary bytes as an outline tree file into the tree view, evaluates every formula,
// and checks that what the view would save reads back as the same tree.
#include "FuzzSupport.h"
#include "base/Exceptions.h"
#include "outline/TreeFile.h"
#include "outline/TreeView.h"
#include "platform/ScriptedDialogs.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

#define Check(ok)                                                                                  \
  do {                                                                                             \
    if (!(ok)) {                                                                                   \
      std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #ok);                        \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)

// Every line is placed under an earlier one, or fails the shape and ends it.
void CheckShape(const std::vector<TTreeLine>& lines, const TTreeShape& shape)
{
  Check(shape.Parent.size() <= lines.size());
  Check(shape.Error.isEmpty() == (shape.Parent.size() == lines.size()));
  for (size_t i = 0; i < shape.Parent.size(); ++i)
    Check(shape.Parent[i] >= -1 && shape.Parent[i] < int(i));
  if (!shape.Parent.empty())
    Check(shape.Parent[0] == -1);
  for (const TTreeLine& line : lines)
    Check(!line.Text.startsWith(u'\t') && !line.Text.startsWith(u' '));
}

// True when the bytes loaded completely.
bool Load(TqvTreeView& view, const QByteArray& bytes)
{
  try {
    view.LoadTreeText(bytes);
    return true;
  } catch (const ELumoraError&) {
    return false;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (fuzzsupport::StartQt())
    SetDialogs(std::make_unique<TScriptedDialogs>()); // messages are answered, not shown
  static TqvTreeView* view = new TqvTreeView;         // kept: Qt may already be gone at exit
  QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  std::vector<TTreeLine> lines = ReadTreeLines(bytes);
  CheckShape(lines, ShapeTree(lines));

  Load(*view, bytes);
  view->EvaluateAll();
  const QByteArray saved = view->TreeText();
  Check(Load(*view, saved)); // whatever was kept, and evaluated, saves as a valid file
  Check(view->TreeText() == saved);
  return 0;
}
