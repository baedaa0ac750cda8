#pragma once
// A document root with a measuring canvas, and helpers that build sections the way the
// builder does and measure text with the fonts the model uses.
#include "html/model/ImageObj.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "platform/Canvas.h"
#include "platform/EmbeddedControl.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

// A control without a toolkit behind it: it keeps what the document asks of it.
class TFakeControl : public TPanelControl {
public:
  explicit TFakeControl(QRect r = QRect(0, 0, 40, 20)) : Rect(r) {}
  QRect Rect;
  bool Shown = false;
  bool Focus = false;
  bool ShownByHost = true;
  std::string Name;
  QRect Geometry() const override { return Rect; }
  void Move(int32_t x, int32_t y) override { Rect.moveTo(x, y); }
  void Resize(int32_t w, int32_t h) override { Rect.setSize(QSize(w, h)); }
  bool Visible() const override { return Shown; }
  void SetVisible(bool v) override { Shown = v; }
  bool HasFocus() const override { return Focus; }
  void SetFocus() override { Focus = true; }
  void SetName(const std::string& name) override { Name = name; }
  QObject* Object() const override { return nullptr; }
  bool PanelShown() const override { return ShownByHost; }
  TColor Color() const override { return clWhite; }
};

// A window for a document: it makes fake panels and records what it is asked to repaint.
class TFakeHost : public TControlHost {
public:
  std::vector<TFakeControl*> Panels; // owned by the document
  std::vector<QRect> Invalidated;
  std::unique_ptr<TPanelControl> CreatePanel() override
  {
    auto p = std::make_unique<TFakeControl>();
    Panels.push_back(p.get());
    return p;
  }
  void Invalidate(const QRect& r) override { Invalidated.push_back(r); }
};

class ModelTest : public ::testing::Test {
protected:
  TSectionList List;
  TDocument& Doc = List.Document();
  TCanvas Canvas;

  // The body font at a nominal size (12 is the default size: 16 pixels at 96 dpi).
  TMyFont Font(int nominal = 12, bool bold = false)
  {
    TMyFont f(QString::fromStdString(Doc.BodyFontName), nominal, Doc.TextColor);
    f.SetNominalSize(&Doc, nominal);
    f.setBold(bold);
    return f;
  }

  // Pixel width of text in the body font, from the platform's own font metrics.
  static int Width(const std::string& text, int pixelSize = 16, bool bold = false,
                   const char* family = "Times New Roman")
  {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setKerning(false);
    f.setStyleStrategy(QFont::NoFontMerging);
    QFontMetrics fm(f);
    int w = 0;
    for (char c : text)
      if (uint8_t(c) >= 32)
        w += fm.horizontalAdvance(QChar(ushort(uint8_t(c))));
    return w;
  }

  static std::vector<int32_t> Positions(size_t n, int32_t first = 0)
  {
    std::vector<int32_t> p(n);
    std::iota(p.begin(), p.end(), first);
    return p;
  }

  template <class T = TSection>
  std::unique_ptr<T> MakeSection(TParaAlign align = paLeft, int level = 0)
  {
    return std::make_unique<T>(&Doc, align, TUrlTarget(), Font(), level);
  }

  static void Append(TSection& s, const std::string& text, int32_t firstPos = 0)
  {
    auto pos = Positions(text.size(), firstPos);
    s.AppendRun(text.data(), pos.data(), int32_t(text.size()));
  }

  TSection* AddText(const std::string& text, TParaAlign align = paLeft, int level = 0)
  {
    auto s = MakeSection(align, level);
    Append(*s, text);
    TSection* p = s.get();
    List.Add(std::move(s));
    return p;
  }

  // One paint pass: the band clip seen from scrollY, the page ending at pageBottom.
  static TPaintContext Pass(const QRect& clip, int32_t scrollY = 0, int32_t pageBottom = 0)
  {
    TPaintContext ctx;
    ctx.Clip = clip;
    ctx.ScrollY = scrollY;
    ctx.PageBottom = pageBottom;
    return ctx;
  }

  int32_t LayoutAt(int32_t width)
  {
    int32_t scrollWidth = 0, pos = 0;
    return List.Layout(Canvas, 0, width, scrollWidth, pos);
  }

  // The text of each laid-out line.
  static std::vector<std::string> Lines(const TSection& s)
  {
    std::vector<std::string> out;
    for (const LineRec& l : s.LineList)
      if (l.Count > 0)
        out.emplace_back(s.Chars.data() + l.First, size_t(l.Count));
    return out;
  }

  // Top of line k in document coordinates.
  static int32_t LineTop(const TSection& s, size_t k)
  {
    int32_t y = s.TopY;
    for (size_t i = 0; i < k; ++i)
      y += s.LineList[i].Height();
    return y;
  }
};
