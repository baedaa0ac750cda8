#pragma once
// The document beside its root cell: the settings, the lists the items of the page enter
// themselves in (forms, controls, panels, images, maps, link starts), the background image and
// the events through which the window supplies panels, scripts and images.
#include "base/CodePage.h"
#include "base/Color.h"
#include "base/FreeList.h"
#include "base/UrlTarget.h"
#include "html/images/GIFImage.h"
#include "html/images/ImageRequest.h"
#include "html/model/Arena.h"
#include "html/model/MapItem.h"
#include "html/model/MyFont.h"

#include "platform/EmbeddedControl.h"
#include "platform/FormWidget.h"
#include "platform/Ticker.h"

#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class QObject;
class QRect;
class TCanvas;
class TFontObj;
class TFormControlObj;
class TImageObj;
class TPanelObj;
class ThtmlForm;

// Everything a print copy takes over from the screen document.
struct TSectionListSettings {
  bool ImagesOn = true;
  bool PrintMode = false;
  int32_t SelStartPos = 0;
  int32_t SelEndPos = 0;
  std::string BodyFontName = "Times New Roman";
  std::string FixedFontName = "Courier New";
  int BodyFontSize = 12;
  TColor TextColor = clBlack;
  TColor VisitedColor = clPurple;
  TColor OverColor = clBlue;
  TColor LinkColor = clBlue;
  int CharsetCode = 0;
  // The document was found to be UTF-8 (byte-order mark, META or its bytes): its text is UTF-8
  // whatever CharsetCode the viewer gives.
  bool Utf8 = false;
  // The code page a META of the page named, -1 for none: it outlasts a change of CharsetCode, so
  // fonts given the defaults again keep the page's own charset.
  int MetaCharset = -1;
  int LinkStyle = fsUnderline; // TFontStyleFlag set of links
  bool PrintBackgrounds = false;
  TColor PageColor = clWindow;
  bool HoverColoring = false;
  bool CaretShown = false;

  // The charset the text of the document is in.
  int TextCharset() const
  {
    return Utf8 ? codepage::CharsetUtf8 : MetaCharset >= 0 ? MetaCharset : CharsetCode;
  }
};

struct TPendingImage {
  std::string Name; // upper-cased, trimmed
  TImageObj* Obj = nullptr;
};

class TDocument : public TSectionListSettings {
public:
  // viewer raises the panel and script events; host makes the panels and repaints (none for
  // a document that is not shown).
  explicit TDocument(QObject* viewer = nullptr, TControlHost* host = nullptr);
  ~TDocument();
  TDocument(const TDocument&) = delete;
  TDocument& operator=(const TDocument&) = delete;

  // The page's text sections and what they keep once finished. First here so that it goes
  // last; the section list releases it when it lets go of its items.
  TArena Arena;

  QObject* Viewer;
  TControlHost* Host;

  // The document's own BGCOLOR: a later change of the viewer's default leaves it alone.
  bool OwnPageColor = false;

  // Background image
  std::string BgImageName;
  QImage BgImage;
  QImage BgMask;
  bool BgImageTried = false;

  std::vector<std::shared_ptr<ThtmlForm>> Forms;
  std::vector<TImageObj*> Animations; // not owned
  TFreeList<TMapItem> Maps;
  TFreeList<TFormControlObj> AllFormControls;
  std::vector<TPanelObj*> Panels; // not owned; each panel belongs to its section
  std::vector<TPendingImage> PendingImages;
  std::vector<TFontObj*> LinkStarts;

  // The link and image under the mouse at the last hit test.
  TFontObj* HoverLink = nullptr;
  TImageObj* HoverImage = nullptr;

  // Host events
  std::function<void(QObject* viewer, const std::string& src, TPanelControl* panel)> OnPanelCreate;
  std::function<void(QObject* viewer, TPanelControl* panel)> OnPanelDestroy;
  std::function<void(QObject* viewer, const std::string& language, const std::string& script)>
      OnScript;
  std::function<void(TDocument* document)> BackgroundChanged;
  // A submitted form: its attributes and the strings of its controls (handed over).
  std::function<void(QObject* viewer, const std::string& action, const std::string& target,
                     const std::string& encType, const std::string& method,
                     std::vector<std::string> results)>
      OnFormSubmit;
  // A click on a button, check box or radio button, with its ONCLICK text.
  std::function<void(QObject* viewer, TFormControlObj* control, const std::string& onClick)>
      OnObjectClick;
  // Turns a name found in the page into a full file name (the viewer's resolver).
  std::function<std::string(const std::string& name)> ExpandName;
  // Where images come from: the viewer sets Sender and the bitmap, image and expand-name
  // handlers here.
  TImageRequester Requester;
  // The clock every animated image of this document runs on (replaceable for tests).
  TMillisecondClock AnimationClock = SystemMilliseconds;

  bool ControlsMoved = false;

  // Forgets the page before its items go: lists, background, selection and hover.
  void Clear();
  // Forgets the forms, controls and panels once the items are gone.
  void ClearControls();
  void SetPageColor(TColor color);
  void SetPageImage(const std::string& name);
  // Every control and panel waits to be placed again by the next paint.
  void Unplace();
  // Hides the controls and panels the last paint did not place.
  void UpdateControlVisibility();
  void SizeControls(TCanvas& canvas);
  // The window control for a form field: the host's, or one that only keeps the state.
  std::unique_ptr<TFormWidget> MakeFormWidget(TFormWidgetKind kind);
  // A form control took the focus: the controls not on the visible page come into the tab
  // chain, out of sight to the left, so the keyboard reaches them.
  void ControlEntered(TFormControlObj* control);
  // A form control lost it: they stay reachable while another control has the focus.
  void ControlExited();

  // Every image of the document is fetched here (see TImageRequester::RequestImage): kind goes
  // in as tkCorner when the page asked for corner transparency and comes back as the kind that
  // applies. The graphic belongs to the cache.
  TGraphic* RequestImage(const std::string& name, TTranspKind& kind, bool& fromCache, bool& pending,
                         QImage& mask);
  // The name to request for a source name of the page.
  std::string ImageName(const std::string& src) const;
  // Loads the background image (BgImage, BgMask) once images are shown; true when there is one.
  bool PageImage();
  void AddPending(const std::string& name, TImageObj* obj);
  bool IsPending(const std::string& name) const;
  // The images waiting for name (any name when empty) ask again at the next layout.
  void RetryPending(const std::string& name = std::string());

  // Animated images: each listed image steps on the 50 ms timer while it is shown.
  void AddAnimation(TImageObj* image);
  void AnimationTick();
  // Moves every animated image on by k frames at once, shown or not (still pictures of a
  // chosen frame).
  void StepAnimations(int k);
  bool AnimationTimerActive() const;
  void StopAnimations();
  // Back to frame 1; the timer runs again unless printing.
  void RestartAnimations(bool printing);
  // Images in the clip mark themselves again when they paint.
  void ForgetShown(const QRect& clip);
  // The timer waits while a paint runs.
  bool PauseAnimations();
  void ResumeAnimations();

  // The process-wide image cache, as the viewer drives it.
  static void SetCacheCount(int n);
  static void PurgeCache();
  void AddLinkStart(TFontObj* font) { LinkStarts.push_back(font); }
  // The one shared copy of a link target: a page links to few places from many spots.
  std::shared_ptr<const TUrlTarget> SharedLink(const TUrlTarget& link);
  TMapItem* FindMap(const std::string& name) const;

private:
  std::unique_ptr<TTicker> FAnimTicker;
  struct TLinkHash {
    using is_transparent = void;
    size_t operator()(const TUrlTarget& l) const;
    size_t operator()(const std::shared_ptr<const TUrlTarget>& l) const { return (*this)(*l); }
  };
  struct TLinkEqual {
    using is_transparent = void;
    template <class A, class B> bool operator()(const A& a, const B& b) const
    {
      return Target(a) == Target(b);
    }
    static const TUrlTarget& Target(const TUrlTarget& l) { return l; }
    static const TUrlTarget& Target(const std::shared_ptr<const TUrlTarget>& l) { return *l; }
  };
  std::unordered_set<std::shared_ptr<const TUrlTarget>, TLinkHash, TLinkEqual> FLinks;
};
