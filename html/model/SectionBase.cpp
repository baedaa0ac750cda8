#include "html/model/SectionBase.h"

#include "html/model/IndentManager.h"

#include <ostream>
#include <string>

TSectionBase::TSectionBase(TDocument* doc) : Doc(doc)
{
}

TSectionBase::TSectionBase(TDocument* masterDoc, const TSectionBase& source)
    : Doc(masterDoc), FlowHeight(source.FlowHeight), PaintHeight(source.PaintHeight),
      TopY(source.TopY), FirstCursor(source.FirstCursor), CursorCount(source.CursorCount)
{
}

void TSectionBase::operator delete(TSectionBase* item, std::destroying_delete_t)
{
  // Read before the item is destroyed; the heap block starts at the most derived object.
  const bool inArena = item->FInArena;
  void* block = dynamic_cast<void*>(item);
  item->~TSectionBase();
  if (!inArena)
    ::operator delete(block);
}

std::unique_ptr<TSectionBase> TSectionBase::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<TSectionBase>(masterDoc, *this);
}

void TSectionBase::CopySelection(ClipBuffer& clip)
{
  (void)clip;
}

int32_t TSectionBase::Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                             int32_t& pos)
{
  (void)canvas;
  TopY = Y;
  FirstCursor = pos;
  PaintHeight = FlowHeight;
  maxWidth = indent.Width;
  return FlowHeight;
}

int32_t TSectionBase::Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                            int32_t Y)
{
  (void)canvas, (void)ctx, (void)indent, (void)X;
  TopY = Y;
  return Y + FlowHeight;
}

bool TSectionBase::LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
                          TUrlTarget& urlTarget, TLinkHover& hover)
{
  (void)canvas, (void)X, (void)Y, (void)formControl, (void)urlTarget, (void)hover;
  return false;
}

bool TSectionBase::ObjectAt(int32_t X, int32_t Y, TFloatingObj*& obj, int32_t& objX, int32_t& objY)
{
  (void)X, (void)Y, (void)obj, (void)objX, (void)objY;
  return false;
}

int32_t TSectionBase::CursorAt(TCanvas& canvas, int32_t X, int32_t Y, int32_t& xr, int32_t& yr,
                               int32_t& caretHeight, TCell*& cell, bool& inText)
{
  (void)canvas, (void)X, (void)Y, (void)xr, (void)yr, (void)caretHeight, (void)cell, (void)inText;
  return -1;
}

int32_t TSectionBase::SearchText(int32_t from, const std::string& text, bool matchCase)
{
  (void)from, (void)text, (void)matchCase;
  return -1;
}

int32_t TSectionBase::SourcePosOf(int32_t docPos)
{
  (void)docPos;
  return -1;
}

int32_t TSectionBase::DocPosOf(int32_t sourcePos, bool prev)
{
  (void)sourcePos, (void)prev;
  return -1;
}

bool TSectionBase::CursorPoint(TCanvas& canvas, int32_t position, int32_t& X, int32_t& Y)
{
  (void)canvas, (void)position, (void)X, (void)Y;
  return false;
}

bool TSectionBase::CharAt(int32_t position, char& ch, TCharObject& obj)
{
  (void)position, (void)ch, (void)obj;
  return false;
}

void TSectionBase::RefreshFonts()
{
  Attached();
}

void TSectionBase::Attached()
{
}

void TSectionBase::WidthRange(TCanvas& canvas, int32_t& min, int32_t& max)
{
  (void)canvas;
  min = max = 0;
}

void TSectionBase::DumpHead(std::ostream& out, int indent) const
{
  out << std::string(size_t(indent) * 2, ' ') << KindName() << " y=" << TopY << " h=" << FlowHeight
      << " ph=" << PaintHeight << " pos=" << FirstCursor << '+' << CursorCount;
}

void TSectionBase::Dump(std::ostream& out, int indent) const
{
  DumpHead(out, indent);
  out << '\n';
}
