// Tables from arbitrary bytes. The first byte picks how the rest is read: wrapped as it is in
// <TABLE>...</TABLE>, or as a program of table tags (deep nesting, huge COLSPAN and ROWSPAN,
// many columns, captions, floats, widths). The result is laid out at two widths, painted,
// hit-tested, queried, dumped, and copied for printing and painted page by page.
#include "fuzz/FuzzSupport.h"
#include "html/model/SectionList.h"
#include "html/model/htmlTable.h"
#include "html/parser/Builder.h"
#include "platform/Canvas.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace {

void StartQt()
{
  if (!fuzzsupport::StartQt())
    return;
  SetProcessErrorHandler([](const std::string&) {});
}

// A number from the next byte: small mostly, huge now and then.
std::string Number(const uint8_t*& p, const uint8_t* end)
{
  uint8_t b = p < end ? *p++ : 0;
  if (b >= 0xF0)
    return std::to_string(1LL << (b & 0x1F));
  return std::to_string(b % 40);
}

// Reads the bytes as a program of table markup.
std::string TableProgram(const uint8_t* p, const uint8_t* end)
{
  static const char* const Words[] = {"x", "word ", "a longer run of text ", "&nbsp;", "<B>b</B>"};
  std::string html;
  while (p < end && html.size() < 200000) {
    uint8_t op = *p++;
    switch (op % 16) {
    case 0:
      html += "<TABLE BORDER=" + Number(p, end) + " CELLPADDING=" + Number(p, end) + ">";
      break;
    case 1: html += "<TR BGCOLOR=#" + std::to_string(op) + "0a0>"; break;
    case 2: html += "<TD COLSPAN=" + Number(p, end) + " ROWSPAN=" + Number(p, end) + ">"; break;
    case 3: html += "</TD>"; break;
    case 4: html += "</TABLE>"; break;
    case 5: html += Words[op / 16 % 5]; break;
    case 6: html += op & 0x10 ? "<CAPTION ALIGN=bottom>" : "<CAPTION>"; break;
    case 7: html += "<TH WIDTH=" + Number(p, end) + "%>"; break;
    case 8:
      html += std::string("<TABLE ALIGN=") + (op & 0x10 ? "right" : "left") +
              " BORDERCOLOR=red HSPACE=-" + Number(p, end) + " CELLSPACING=" + Number(p, end) + ">";
      break;
    case 9: html += "<TD WIDTH=" + Number(p, end) + " HEIGHT=" + Number(p, end) + ">"; break;
    case 10: html += "<TABLE WIDTH=" + Number(p, end) + (op & 0x10 ? "%" : "") + ">"; break;
    case 11: html += "</TR>"; break;
    case 12: html += op & 0x10 ? "<TD VALIGN=bottom>" : "<TD VALIGN=top BGCOLOR=blue>"; break;
    case 13: html += "<P>"; break;
    case 14: html += "<IMG WIDTH=" + Number(p, end) + " ALIGN=right>"; break;
    default: html += "</CAPTION><TD>"; break;
    }
  }
  return html;
}

void Exercise(TSectionList& list, TCanvas& canvas, int width)
{
  int32_t scrollWidth = 0, pos = 0;
  int32_t height = list.Layout(canvas, 0, width, scrollWidth, pos);
  QImage img(160, 120, QImage::Format_RGB32);
  {
    QPainter painter(&img);
    TCanvas paintCanvas(&painter);
    list.Paint(paintCanvas, QRect(0, 0, 160, 120), 160, 0, 0);
  }
  for (int32_t y = 0; y < std::min(height, 400); y += 13)
    for (int32_t x = 0; x < width; x += 37) {
      int32_t xr = 0, yr = 0, ch = 0;
      TCell* cell = nullptr;
      bool inText = false;
      list.CursorAt(canvas, x, y, xr, yr, ch, cell, inText);
      TFormControlObj* control = nullptr;
      TUrlTarget link;
      list.LinkAt(canvas, x, y, control, link);
    }
  for (int32_t p = 0; p <= pos && p < 64; ++p) {
    char c = 0;
    TCharObject obj;
    list.CharAt(p, c, obj);
    int32_t x = 0, y = 0;
    list.CursorPoint(canvas, p, x, y);
    list.DocPosOf(list.SourcePosOf(p), p & 1);
  }
  list.SearchText(0, "word", false);
}

void Print(const TSectionList& list, TCanvas& canvas)
{
  TSectionList print;
  print.Document().PrintMode = true;
  print.Document().PrintBackgrounds = true;
  for (const auto& item : list)
    print.TFreeList<TSectionBase>::Add(item->CloneForPrint(&print.Document()));
  int32_t scrollWidth = 0, pos = 0;
  int32_t height = print.Layout(canvas, 0, 300, scrollWidth, pos);
  QImage img(120, 100, QImage::Format_RGB32);
  QPainter painter(&img);
  TCanvas printCanvas(&painter);
  printCanvas.Printing = true;
  for (int32_t top = 0, pages = 0; top < height && pages < 20; ++pages) {
    TPaintContext ctx;
    ctx.ScrollY = top;
    ctx.Clip = QRect(0, 0, 120, 100);
    ctx.PageBottom = top + 100;
    print.Paint(printCanvas, ctx, 120, 0, 0);
    top = std::max(ctx.PageBottom, top + 1);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  StartQt();
  if (size == 0)
    return 0;
  std::string html;
  if (data[0] & 1)
    html = TableProgram(data + 1, data + size);
  else
    html = "<TABLE>" + std::string(reinterpret_cast<const char*>(data + 1), size - 1) +
           "</TABLE>after";

  TSectionList list;
  list.Document().ExpandName = [](const std::string&) { return std::string("/nonexistent/fuzz"); };
  TAnchorList anchors;
  TBuilder builder;
  builder.ParseDocument(TParseSource::FromString(html), list, anchors);

  TCanvas canvas;
  Exercise(list, canvas, 800);
  Exercise(list, canvas, 61);
  fuzzsupport::TNullBuf nullBuf;
  std::ostream null(&nullBuf);
  list.Dump(null, builder.PageTitle);
  Print(list, canvas);
  list.Document().SelStartPos = 0;
  list.Document().SelEndPos = 50;
  list.CopySelection();
  return 0;
}
