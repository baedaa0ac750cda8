#pragma once
// The block item of a cell: text sections, tables, rules, spaces and list items all answer
// the same operations.
#include "base/UrlTarget.h"
#include "html/model/Arena.h"
#include "html/model/PaintContext.h"

#include <QRect>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <new>
#include <string>
#include <utility>

class TCanvas;
class TCell;
class TFloatingObj;
class TFontObj;
class TFormControlObj;
class TImageObj;
class ClipBuffer;
class TSectionBase;
class TDocument;
class IndentManager;

// What stands at a document position: a character and, for a placeholder, its object.
struct TCharObject {
  TFloatingObj* Floating = nullptr;
  TFormControlObj* Control = nullptr;
  const TSectionBase* Item = nullptr; // the innermost block item that holds the character
};

// What a hit test found under the point for hover colouring: the font object of the link and
// the image.
struct TLinkHover {
  TFontObj* Link = nullptr;
  TImageObj* Image = nullptr;
};

class TSectionBase {
public:
  explicit TSectionBase(TDocument* doc);
  // Copy for printing; keeps FlowHeight.
  TSectionBase(TDocument* masterDoc, const TSectionBase& source);
  virtual ~TSectionBase() = default;
  TSectionBase(const TSectionBase&) = delete;
  TSectionBase& operator=(const TSectionBase&) = delete;

  // An item of a page made in the page's arena (none: on the heap, as print copies are). Its
  // memory goes with the arena; deleting it only destroys it.
  template <class T, class... A> static std::unique_ptr<T> Make(TArena* arena, A&&... args)
  {
    if (!arena || TArena::Checked)
      return std::make_unique<T>(std::forward<A>(args)...);
    T* item = new (*arena) T(std::forward<A>(args)...);
    static_cast<TSectionBase*>(item)->FInArena = true;
    return std::unique_ptr<T>(item);
  }
  static void* operator new(size_t size) { return ::operator new(size); }
  static void* operator new(size_t size, TArena& arena)
  {
    return arena.Allocate(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
  }
  static void operator delete(void* p) { ::operator delete(p); }
  static void operator delete(void* p, TArena& arena) { arena.Deallocate(p, 0); }
  static void operator delete(TSectionBase* item, std::destroying_delete_t);

  TDocument* Doc;
  int32_t FlowHeight = 0;
  int32_t PaintHeight = 0;
  int32_t TopY = 0;
  int32_t FirstCursor = 0;
  int32_t CursorCount = 0;

  virtual std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const;
  // Appends the selected part of the item to clip.
  virtual void CopySelection(ClipBuffer& clip);
  virtual int32_t Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                         int32_t& pos);
  virtual int32_t Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                        int32_t Y);
  virtual bool LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
                      TUrlTarget& urlTarget, TLinkHover& hover);
  virtual bool ObjectAt(int32_t X, int32_t Y, TFloatingObj*& obj, int32_t& objX, int32_t& objY);
  virtual int32_t CursorAt(TCanvas& canvas, int32_t X, int32_t Y, int32_t& xr, int32_t& yr,
                           int32_t& caretHeight, TCell*& cell, bool& inText);
  virtual int32_t SearchText(int32_t from, const std::string& text, bool matchCase);
  virtual int32_t SourcePosOf(int32_t docPos);
  virtual int32_t DocPosOf(int32_t sourcePos, bool prev);
  virtual bool CursorPoint(TCanvas& canvas, int32_t position, int32_t& X, int32_t& Y);
  virtual bool CharAt(int32_t position, char& ch, TCharObject& obj);
  virtual void RefreshFonts();
  virtual void Attached();
  // Settles what was built once the item joins its cell (nothing for most items).
  virtual void Finish() {}
  virtual void WidthRange(TCanvas& canvas, int32_t& min, int32_t& max);

  // The class name without its T prefix, as the layout dump prints it.
  virtual const char* KindName() const { return "SectionBase"; }
  // One line for this item (with indent spaces), then its own lines nested below.
  virtual void Dump(std::ostream& out, int indent) const;

protected:
  // The common head of a dump line: "<Kind> y= h= ph= pos=first+count".
  void DumpHead(std::ostream& out, int indent) const;

private:
  bool FInArena = false; // set by Make
};
