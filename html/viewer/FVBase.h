#pragma once
// The frame viewer's shared half: the properties every frame's viewer takes over (each change
// is passed on to all of them), the events forwarded from them to the host, the busy state of
// the whole document, the active viewer, printing and copying.
#include "base/Color.h"
#include "base/Exceptions.h"
#include "html/viewer/HTMLViewer.h"

#include <QCursor>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class TFrame;
class TFrameSet;

// Raised by CopySelected when the selection does not fit the clipboard buffer.
class EBufferTooSmall : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

enum TFrameViewerOption : int {
  fvMetaRefresh = 1,
  fvNoBorder = 2,
  fvOverLinksActive = 4,
  fvNoLinkUnderline = 8,
  fvPrintTableBackground = 16,
};
using TFrameViewerOptions = int;

// What the frameset reader needs of the control; the sets themselves take the reader's calls.
class TFrameViewerBase : public QWidget {
public:
  using QWidget::QWidget;
};

class TFVBase : public TFrameViewerBase {
public:
  explicit TFVBase(QWidget* parent = nullptr);

  // Published properties; each change goes to every viewer of the document shown.
  bool ViewImages() const { return FViewImages; }
  void SetViewImages(bool value);
  int ImageCacheCount() const { return FImageCacheCount; }
  void SetImageCacheCount(int value);
  bool NoSelect() const { return FNoSelect; }
  void SetNoSelect(bool value);
  TColor DefBackground() const { return FDefBackground; }
  void SetDefBackground(TColor value);
  const std::string& DefFontName() const { return FDefFontName; }
  void SetDefFontName(const std::string& value);
  const std::string& DefPreFontName() const { return FDefPreFontName; }
  void SetDefPreFontName(const std::string& value);
  int DefFontSize() const { return FDefFontSize; }
  void SetDefFontSize(int value);
  TColor DefFontColor() const { return FDefFontColor; }
  void SetDefFontColor(TColor value);
  TColor DefHotSpotColor() const { return FDefHotSpotColor; }
  void SetDefHotSpotColor(TColor value);
  TColor DefOverLinkColor() const { return FDefOverLinkColor; }
  void SetDefOverLinkColor(TColor value);
  TColor DefVisitedLinkColor() const { return FDefVisitedLinkColor; }
  void SetDefVisitedLinkColor(TColor value);
  const QCursor& Cursor() const { return FCursor; }
  void SetCursor(const QCursor& value);
  int CharSet() const { return FCharSet; }
  void SetCharSet(int value);
  double PrintMarginLeft() const { return FMargins[0]; }
  double PrintMarginTop() const { return FMargins[1]; }
  double PrintMarginRight() const { return FMargins[2]; }
  double PrintMarginBottom() const { return FMargins[3]; }
  void SetPrintMargins(double left, double top, double right, double bottom);
  const std::string& ServerRoot() const { return FServerRoot; }
  void SetServerRoot(const std::string& value);
  TFrameViewerOptions fvOptions() const { return FOptions; }
  virtual void SetfvOptions(TFrameViewerOptions value);
  int32_t SelStart() const;
  void SetSelStart(int32_t value);
  int32_t SelLength() const;
  void SetSelLength(int32_t value);

  // The viewer printing and copying act on: the only one, else the one focused last.
  THTMLViewer* FocusViewer() const;
  void Print(int32_t FromPage, int32_t ToPage);
  void CopySelected();
  // The active viewer takes the focus when it can, else the frame viewer does.
  void SetFocus();
  // Every frame's viewer repaints (form controls shown again where they are drawn).
  void Repaint();
  // Busy: the frame viewer's own work, or any viewer that reported it is processing.
  bool Processing() const { return FBusy || !FBusyViewers.empty(); }

  // Events forwarded from every viewer.
  TGetImageEvent OnImageRequest;
  TGetBitmapEvent OnBitmapRequest;
  TScriptEvent OnScript;
  THTMLViewer::TImageClickEvent OnImageClick;
  THTMLViewer::TImageOverEvent OnImageOver;
  THTMLViewer::TObjectClickEvent OnObjectClick;
  THTMLViewer::TRightClickEvent OnRightClick;
  THTMLViewer::TMouseEvent OnMouseDouble;
  THTMLViewer::TMouseEvent OnMouseDown;
  THTMLViewer::TMouseEvent OnMouseUp;
  std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)> OnMouseMove;
  TIncludeType OnInclude;
  TSoundType OnSoundRequest;
  TMetaType OnMeta;
  THTMLViewer::TPanelCreateEvent OnPanelCreate;
  THTMLViewer::TPanelDestroyEvent OnPanelDestroy;
  THTMLViewer::TFormSubmitEvent OnFormSubmit;
  THTMLViewer::TPagePrinted OnPrintHeader;
  THTMLViewer::TPagePrinted OnPrintFooter;
  THTMLViewer::TProcessingEvent OnProcessing;
  THTMLViewer::TNotifyEvent OnHistoryChange;

  // The document shown.
  TFrameSet* CurFrameSet() const { return FCurFrameSet; }
  // Every viewer of the document shown.
  std::vector<THTMLViewer*> Viewers() const;
  // A new viewer for frame, set up with the properties and handlers.
  virtual void ConfigureViewer(THTMLViewer& viewer, TFrame& frame);
  // A viewer's OnProcessing.
  void ViewerProcessing(THTMLViewer* viewer, bool on);

protected:
  void SetBusy(bool value);
  void ClearBusyList();
  void ForEachViewer(const std::function<void(THTMLViewer&)>& f) const;

  TFrameSet* FCurFrameSet = nullptr;
  TFrameViewerOptions FOptions = 0;

private:
  void ReportBusy(bool wasBusy);
  void ForwardEvents(THTMLViewer& viewer);

  bool FBusy = false;
  std::vector<THTMLViewer*> FBusyViewers;
  bool FViewImages = true;
  int FImageCacheCount = 5;
  bool FNoSelect = false;
  TColor FDefBackground;
  std::string FDefFontName = "Times New Roman";
  std::string FDefPreFontName = "Courier New";
  int FDefFontSize = 12;
  TColor FDefFontColor;
  TColor FDefHotSpotColor;
  TColor FDefOverLinkColor;
  TColor FDefVisitedLinkColor;
  QCursor FCursor;
  int FCharSet = 0;
  double FMargins[4] = {2.0, 2.0, 2.0, 2.0};
  std::string FServerRoot;
};
