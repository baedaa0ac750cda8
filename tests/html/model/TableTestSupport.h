#pragma once
// Builds tables the way the document builder does (table, rows, cells with text sections) and
// measures cells with the same fonts, so expected widths can be worked out in the tests.
#include "ModelTestSupport.h"

#include "base/MulDiv.h"
#include "html/model/htmlTable.h"
#include "html/symbols/AttributeList.h"

#include <QPainter>
#include <cstdlib>
#include <initializer_list>
#include <utility>

struct TAttr {
  TSymbol Sym;
  std::string Text;
};

class TableTest : public ModelTest {
protected:
  // An attribute list as the tokenizer gives it: the number is the leading digits of the text,
  // and a bare BORDER counts as 1.
  static std::unique_ptr<TAttributeList> Attrs(std::initializer_list<TAttr> attrs)
  {
    auto list = std::make_unique<TAttributeList>();
    for (const TAttr& a : attrs) {
      int32_t num = int32_t(std::strtol(a.Text.c_str(), nullptr, 10));
      if (a.Sym == attrBORDER && a.Text.empty())
        num = 1;
      list->Add(std::make_unique<TAttribute>(a.Sym, num, a.Text));
    }
    return list;
  }

  // A table added to the document body (or to another cell).
  ThtmlTable* AddTable(std::initializer_list<TAttr> attrs = {}, TCell* into = nullptr,
                       TParaAlign justification = paLeft)
  {
    TCell* cell = into ? into : &List;
    auto a = Attrs(attrs);
    auto t = std::make_unique<ThtmlTable>(&Doc, a.get(), justification, cell, 0);
    ThtmlTable* p = t.get();
    cell->Add(std::move(t));
    return p;
  }

  static TCellList* AddRow(ThtmlTable* t, std::initializer_list<TAttr> attrs = {})
  {
    auto a = Attrs(attrs);
    return t->AddRow(std::make_unique<TCellList>(a.get()));
  }

  // A cell holding one text section (no section at all for empty text).
  TCellObj* AddCell(TCellList* row, const std::string& text = "x",
                    std::initializer_list<TAttr> attrs = {}, int valign = vaMiddle)
  {
    auto a = Attrs(attrs);
    auto c = std::make_unique<TCellObj>(&Doc, a.get(), valign);
    if (!text.empty())
      AddTextTo(*c->Content, text);
    return row->Add(std::move(c));
  }

  TSection* AddTextTo(TCell& cell, const std::string& text)
  {
    auto s = MakeSection();
    Append(*s, text);
    TSection* p = s.get();
    cell.Add(std::move(s));
    return p;
  }

  // A table of rows x cols one-word cells.
  ThtmlTable* Grid(int rows, int cols, std::initializer_list<TAttr> attrs = {})
  {
    ThtmlTable* t = AddTable(attrs);
    for (int r = 0; r < rows; ++r) {
      TCellList* row = AddRow(t);
      for (int c = 0; c < cols; ++c)
        AddCell(row, "c" + std::to_string(c));
    }
    return t;
  }

  static int32_t SumWidths(const ThtmlTable& t)
  {
    int32_t s = 0;
    for (int32_t c = 0; c < t.ColumnCount; ++c)
      s += t.ColumnWidths[size_t(c)];
    return s;
  }

  // Paints the whole document onto a white image.
  QImage PaintAll(int width, int height)
  {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    TCanvas canvas(&p);
    List.Paint(canvas, QRect(0, 0, width, height), width, 0, 0);
    return img;
  }

  static TColor Pixel(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }
};
