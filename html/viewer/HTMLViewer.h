#pragma once
// The control that shows one HTML document, plain text file or image in a scrollable window:
// it owns the document's section list, runs the parser to fill it, lays it out for its width,
// paints the visible band through an off-screen picture, scrolls with 32-bit positions, and
// handles the mouse: links, selection, visited links and its own history.
#include "base/Color.h"
#include "base/FreeList.h"
#include "html/images/ImageRequest.h"
#include "html/parser/BuilderEvents.h"
#include "html/parser/Tokenizer.h"
#include "html/viewer/ViewerHistory.h"
#include "html/viewer/VisitedList.h"

#include <QCursor>
#include <QEvent>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QFrame;
class QTimer;
class TCanvas;
class TFormControlObj;
class TImageObj;
class TPaintPanel;
class TSectionBase;
class TDocument;
class TSectionList;
class ThvPanel;
class TPaintPanelHost;
class T32ScrollBar;

enum THTMLBorderStyle { htFocused, htNone, htSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

enum ThtmlViewerOption : int {
  htOverLinksActive = 1,
  htNoLinkUnderline = 2,
  htPrintTableBackground = 4,
  htShowDummyCaret = 8,
};
using ThtmlViewerOptions = int; // a set of ThtmlViewerOption bits

// What a viewer shows.
enum TDocKind : uint8_t { dkHTML = 0, dkText = 1, dkImage = 2 };

// Messages the viewer posts to itself so that work runs after the input event that caused it.
constexpr QEvent::Type WM_FORMSUBMIT = QEvent::Type(0x0400 + 100);
constexpr QEvent::Type WM_MOUSESCROLL = QEvent::Type(0x0400 + 102);

// The context of one right click.
struct TRightClickParameters {
  std::string URL;
  std::string Target;
  TImageObj* ClickedImage = nullptr;
  int32_t ImageClickX = 0;
  int32_t ImageClickY = 0;
  std::string ClickedWord;
};

class THTMLViewer : public QWidget {
public:
  using THotSpotEvent = std::function<void(QObject* Sender, const std::string& SRC)>;
  using THotSpotClickEvent =
      std::function<void(QObject* Sender, const std::string& SRC, bool& Handled)>;
  // Results belong to the handler.
  using TFormSubmitEvent = std::function<void(
      QObject* Sender, const std::string& Action, const std::string& Target,
      const std::string& EncType, const std::string& Method, std::vector<std::string> Results)>;
  using TNotifyEvent = std::function<void(QObject* Sender)>;
  using TProcessingEvent = std::function<void(QObject* Sender, bool ProcessingOn)>;
  using TPagePrinted = std::function<void(QObject* Sender, TCanvas& Canvas, int NumPage, int W,
                                          int H, bool& StopPrinting)>;
  using TPrintProgressEvent = std::function<void(QObject* Sender, int Page, bool& Done)>;
  using TMetaRefreshType = std::function<void(QObject* Sender, int Delay, const std::string& URL)>;
  using TImageClickEvent =
      std::function<void(QObject* Sender, TImageObj* Obj, Qt::MouseButton Button,
                         Qt::KeyboardModifiers Shift, int X, int Y)>;
  using TImageOverEvent = std::function<void(QObject* Sender, TImageObj* Obj,
                                             Qt::KeyboardModifiers Shift, int X, int Y)>;
  using TObjectClickEvent =
      std::function<void(QObject* Sender, TFormControlObj* Obj, const std::string& OnClick)>;
  using TRightClickEvent =
      std::function<void(QObject* Sender, const TRightClickParameters& Parameters)>;
  using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                         Qt::KeyboardModifiers Shift, int X, int Y)>;
  using TPanelCreateEvent =
      std::function<void(QObject* Sender, const std::string& SRC, ThvPanel* Panel)>;
  using TPanelDestroyEvent = std::function<void(QObject* Sender, ThvPanel* Panel)>;

  explicit THTMLViewer(QWidget* parent = nullptr);
  ~THTMLViewer() override;

  // Loading. Each returns at once while Processing or for an empty name.
  void LoadFromFile(const std::string& FileName); // may end in "#anchor"
  void LoadPlainFile(const std::string& FileName);
  void LoadImageFile(const std::string& FileName);
  void LoadLines(const std::vector<std::string>& Strings);
  void LoadPlainLines(const std::vector<std::string>& Strings);
  void LoadFromChars(const char* Buffer, int32_t BuffSize);
  void LoadFromStream(std::istream& Stream);
  // Shows text, the start of the file FileName, as that file's document: a quick first screen of
  // a long document while the rest of it waits. It tells the host nothing (no meta, sound or
  // refresh) and makes no history entry; LoadFromFile of the same name later shows it whole.
  void LoadFileStart(const std::string& FileName, const std::string& text);
  void Clear();

  // Navigation and reading position.
  bool ScrollToAnchor(const std::string& Dest);
  int32_t ReadingPosition() const;
  void SetReadingPosition(int32_t value);
  int32_t VScrollPosition() const;
  void SetVScrollPosition(int32_t value);
  int32_t HScrollPosition() const { return FHPos; }
  void SetHostBase(const std::string& Base);
  virtual std::string ResolveSourceName(const std::string& Name) const;
  int32_t SelStart() const { return FCaretPos; }
  void SetSelStart(int32_t value);
  int32_t SelLength() const;
  void SetSelLength(int32_t value);
  void CopySelected();
  // The selected text as it goes to the clipboard.
  std::string SelText() const;
  void ClearHistory();
  // Prints pages FromPage..ToPage of the document on the selected printer; nothing while busy
  // or without a document. PrintPage is then the number of the last page processed.
  void Print(int32_t FromPage, int32_t ToPage);
  int32_t PrintPage() const { return FPrintPage; }
  // Hides every form control, then repaints; each shows again where it is drawn.
  void Repaint();

  // History.
  int HistoryIndex() const { return FHistory.Index(); }
  void SetHistoryIndex(int value);
  void StepBack() { SetHistoryIndex(HistoryIndex() + 1); }
  void StepForward() { SetHistoryIndex(HistoryIndex() - 1); }
  bool BackButtonEnabled() const { return FHistory.Count() - 2 >= FHistory.Index(); }
  bool FwdButtonEnabled() const { return FHistory.Index() > 0; }
  const TViewerHistory& History() const { return FHistory; }
  const TVisitedList& Visited() const { return FVisited; }

  // Read-only state.
  const std::string& PageTitle() const { return FPageTitle; }
  const std::string& BaseURL() const { return FBaseURL; }
  const std::string& BaseTarget() const { return FBaseTarget; }
  const std::string& LoadedFileName() const { return FLoadedFileName; }
  const std::string& LinkURL() const { return FLinkURL; }
  const std::string& LinkTarget() const { return FLinkTarget; }
  TDocKind DocumentKind() const { return FKind; }
  bool Processing() const { return FProcessing; }
  int32_t DocumentHeight() const { return FDocHeight; }
  int32_t DocumentWidth() const { return FDocWidth; }
  TSectionList* SectionList() const { return FSectionList.get(); }
  // The document of the section list: settings, lists and events.
  TDocument& Doc() const;
  const std::vector<class TFontObj*>& LinkStarts() const;
  const TFreeList<TFormControlObj>& AllFormControls() const;
  const TAnchorList& AnchorList() const { return FAnchors; }
  TPaintPanel* PaintPanel() const { return FPaintPanel; }
  T32ScrollBar* VScrollBar() const { return FVScrollBar; }
  T32ScrollBar* HScrollBar() const { return FHScrollBar; }
  QFrame* BorderPanel() const { return FBorderPanel; }
  // The cursor the page shows now: 1-5 the viewer cursors, 0 the arrow, -1 the viewer's own.
  int ShownCursor() const { return FShownCursor; }

  // Published properties.
  bool ViewImages() const { return FViewImages; }
  void SetViewImages(bool value);
  TColor DefBackground() const { return FDefBackground; }
  void SetDefBackground(TColor value);
  THTMLBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(THTMLBorderStyle value);
  int HistoryMaxCount() const { return FHistory.MaxCount(); }
  void SetHistoryMaxCount(int value);
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
  TColor DefVisitedLinkColor() const { return FDefVisitedLinkColor; }
  void SetDefVisitedLinkColor(TColor value);
  TColor DefOverLinkColor() const { return FDefOverLinkColor; }
  void SetDefOverLinkColor(TColor value);
  int VisitedMaxCount() const { return FVisited.MaxCount(); }
  void SetVisitedMaxCount(int value);
  int ImageCacheCount() const { return FImageCacheCount; }
  void SetImageCacheCount(int value);
  bool NoSelect() const { return FNoSelect; }
  void SetNoSelect(bool value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  int CharSet() const { return FCharSet; }
  void SetCharSet(int value);
  int MarginHeight() const { return FMarginHeight; }
  void SetMarginHeight(int value);
  int MarginWidth() const { return FMarginWidth; }
  void SetMarginWidth(int value);
  const std::string& ServerRoot() const { return FServerRoot; }
  void SetServerRoot(const std::string& value);
  ThtmlViewerOptions htOptions() const { return FOptions; }
  void SethtOptions(ThtmlViewerOptions value);
  // The cursor over text; an I-beam becomes the viewer's text cursor at the next layout.
  const QCursor& Cursor() const { return FCursor; }
  void SetCursor(const QCursor& value);
  double PrintMarginLeft = 2.0;
  double PrintMarginRight = 2.0;
  double PrintMarginTop = 2.0;
  double PrintMarginBottom = 2.0;
  // A frame viewer that keeps its own visited list sets this.
  bool InsideFrameViewer = false;

  // Events.
  THotSpotEvent OnHotSpotCovered;
  THotSpotClickEvent OnHotSpotClick;
  TGetBitmapEvent OnBitmapRequest;
  TGetImageEvent OnImageRequest;
  TScriptEvent OnScript;
  TFormSubmitEvent OnFormSubmit;
  TNotifyEvent OnHistoryChange;
  TProcessingEvent OnProcessing;
  TPagePrinted OnPrintHeader;
  TPagePrinted OnPrintFooter;
  TPrintProgressEvent OnPrintProgress;
  TIncludeType OnInclude;
  TSoundType OnSoundRequest;
  TMetaType OnMeta;
  TMetaRefreshType OnMetaRefresh;
  TImageClickEvent OnImageClick;
  TImageOverEvent OnImageOver;
  TObjectClickEvent OnObjectClick;
  TRightClickEvent OnRightClick;
  TMouseEvent OnMouseDouble;
  // The plain mouse events of the page, raised before the viewer acts on them.
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)> OnMouseMove;
  TPanelCreateEvent OnPanelCreate;
  TPanelDestroyEvent OnPanelDestroy;

  // A form of the document was submitted; the host hears of it once the click is over.
  void SubmitForm(const std::string& Action, const std::string& Target, const std::string& EncType,
                  const std::string& Method, std::vector<std::string> Results);
  // The parser's report of a META element.
  void MetaElement(const std::string& HttpEq, const std::string& Name, const std::string& Content);

  // The paint panel's callbacks.
  void HTMLPaint(TPaintPanel* panel, const QRect& clip);
  void HTMLMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint p);
  void HTMLMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint p);
  void HTMLMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint p);
  void HTMLMouseDouble(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint p);
  void HTMLMouseLeave();

  // The refresh request of the last load: delay 0 means none.
  int MetaRefreshDelay() const { return FRefreshDelay; }
  const std::string& MetaRefreshURL() const { return FRefreshURL; }

  // The delay and URL of a refresh META's content; false when the content asks for nothing.
  static bool ParseRefresh(const std::string& content, int& delay, std::string& url);
  // The word of text around position, and its first position.
  std::string WordAt(int32_t position, int32_t& start, int32_t& end) const;

protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void customEvent(QEvent* event) override;

private:
  class TBusy;

  // Loading
  void LoadFile(const std::string& FileName, TDocKind kind);
  void LoadFileCore(const std::string& FileName, TDocKind kind);
  void LoadSource(const TParseSource& source, TDocKind kind);
  // The tail both loads share: parse, lay out and show at the anchor (or at the top).
  void ShowDocument(const TParseSource& source, TDocKind kind, const std::string& fileName,
                    const std::string& anchor);
  void PrepareForLoad();
  void Parse(const TParseSource& source, TDocKind kind);
  void FinishLoad();
  void RaiseRefresh();
  void SetProcessing(bool value);
  void StopSound();
  void ApplyDefaultsToList(TColor pageColor);

  static constexpr int SmallStep = 16; // one line of scrolling

  // Layout and scrolling
  void DoLayout();
  void RelayoutKeepingPosition();
  void ArrangeScrollBars();
  void UpdateBorder();
  int32_t PanelHeight() const;
  int32_t PanelWidth() const;
  int32_t MaxVScroll() const;
  int32_t MaxHScroll() const;
  void ScrollTo(int32_t y, bool scrollPixels);
  void SetHScroll(int32_t x);
  void VScrollChanged(int value);
  void HScrollChanged(int value);
  void PaintBackground(QPainter& painter, const QRect& clip);
  bool TileBackground(QPainter& painter, const QRect& clip);

  // Mouse, links, selection (HTMLViewerMouse.cpp)
  void ShowCursorId(int id);
  void UpdateHover(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint p);
  void ExtendSelection(QPoint p);
  bool LinkAtPoint(QPoint p, TFormControlObj*& control, std::string& url, std::string& target);
  TImageObj* ImageAtPoint(QPoint p, int32_t& x, int32_t& y);
  int32_t CursorAtPoint(QPoint p, bool& inText);
  void ActivateLink();
  bool AutoScrollWanted() const;
  void AutoScrollTick();
  int32_t AutoScrollStep(QPoint p);
  void EndMiddleMode();
  void RightClick(QPoint p);
  void ControlFocused(QWidget* now);

  // Visited links and history (HTMLViewerLinks.cpp)
  void AddVisited(const std::string& url);
  void MarkVisitedLinks();
  void UnmarkVisitedLinks();
  std::string FullLinkUrl(const std::string& url) const;
  THistoryItem CurrentHistoryItem() const;
  void RecordHistory(const THistoryItem& left);
  void HistoryChanged();

  std::unique_ptr<TPaintPanelHost> FHost; // the document's window, before the document
  std::unique_ptr<TSectionList> FSectionList;
  std::unique_ptr<TCanvas> FMeasure; // layout and hit tests
  QFrame* FBorderPanel = nullptr;
  TPaintPanel* FPaintPanel = nullptr;
  T32ScrollBar* FVScrollBar = nullptr;
  T32ScrollBar* FHScrollBar = nullptr;

  TAnchorList FAnchors;
  std::string FLoadedFileName;
  TDocKind FKind = dkHTML;
  std::string FPageTitle;
  std::string FBaseURL;
  std::string FBaseTarget;
  std::string FHostBase;
  std::string FLinkURL;
  std::string FLinkTarget;
  int FRefreshDelay = 0;
  std::string FRefreshURL;
  bool FProcessing = false;
  bool FStartOnly = false; // showing a document's start: the host hears of the whole one
  bool FInLayout = false;
  int32_t FCaretPos = 0;
  int32_t FSelAnchor = -1;
  int32_t FDocHeight = 0;
  int32_t FDocWidth = 0;
  int32_t FScrollWidth = 16;
  int32_t FLastWidth = 0;
  int32_t FHPos = 0;
  bool FMiddleMode = false;
  int32_t FMiddleY = 0;
  bool FButtonDown = false;
  bool FLeftDown = false;
  bool FSelecting = false;
  bool FAutoScrolling = false;
  QTimer* FAutoScrollTimer = nullptr; // steps while the mouse is held outside
  bool FLinkJustClicked = false;
  QPoint FMousePos;
  int FShownCursor = 0;
  int32_t FPrintPage = 0;
  TViewerHistory FHistory;
  TVisitedList FVisited;

  // Deferred form submission
  struct TPendingSubmit {
    std::string Action, Target, EncType, Method;
    std::vector<std::string> Results;
  };
  std::unique_ptr<TPendingSubmit> FPendingSubmit;

  // Properties
  bool FViewImages = false;
  TColor FDefBackground;
  THTMLBorderStyle FBorderStyle = htFocused;
  std::string FDefFontName = "Times New Roman";
  std::string FDefPreFontName = "Courier New";
  int FDefFontSize = 12;
  TColor FDefFontColor;
  TColor FDefHotSpotColor;
  TColor FDefVisitedLinkColor;
  TColor FDefOverLinkColor;
  int FImageCacheCount = 5;
  bool FNoSelect = false;
  TScrollStyle FScrollBars = ssBoth;
  int FCharSet = 0;
  int FMarginHeight = 5;
  int FMarginWidth = 10;
  std::string FServerRoot;
  ThtmlViewerOptions FOptions = 0;
  QCursor FCursor;
  QMetaObject::Connection FFocusWatch;
};
