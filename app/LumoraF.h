#pragma once
// The main window: a file pane on the left, the frame viewer filling the rest, the tool buttons
// above and the link under the mouse below. Every user action becomes one call on the viewer.
#include "app/qvFormIni.h"
#include "platform/Dialogs.h"

#include <QMainWindow>
#include <string>
#include <vector>

class QSplitter;
class QStatusBar;
class QToolButton;
class TFilePane;
class TFrameViewer;
class TWidget;
class ThvPanel;
class TFormControlObj;
class QDate;
class QTime;
class QLocale;

class TLumoraF : public QMainWindow {
public:
  // programFile decides ProgramDir and the initialisation file; params are the command-line
  // parameters after the program name.
  TLumoraF(const std::string& programFile, std::vector<std::string> params,
           QWidget* parent = nullptr);
  ~TLumoraF() override;

  const std::string& ProgramDir() const { return FProgramDir; }
  const std::string& HomePage() const { return FHomePage; }
  const TqvFormIni& ini() const { return FIni; }

  // The About message as shown.
  static std::string AboutText();

  // Handlers, public so that the page hooks and the tests can reach them.
  void FormShow();
  void filesClick();
  void FilesDropped(const std::vector<std::string>& names);
  void btnhomeClick();
  void btnrefreshClick();
  void btnbackClick();
  void btnfwdClick();
  void btnprintClick();
  void btncopyClick();
  void viewerHistoryChange(QObject* sender);
  void viewerHotSpotTargetCovered(QObject* sender, const std::string& target,
                                  const std::string& url);
  void Widget1Click();
  // The page hooks (LumoraHooks.cpp): include commands, panels, sounds, object clicks and
  // submitted forms of every viewer of the frame viewer.
  void viewerInclude(QObject* sender, const std::string& command, std::vector<std::string> params,
                     const char*& buffer, int32_t& buffSize);
  void viewerPanelCreate(QObject* sender, const std::string& src, ThvPanel* panel);
  void viewerSoundRequest(QObject* sender, const std::string& src, int loop, bool terminate);
  void viewerObjectClick(QObject* sender, TFormControlObj* obj, const std::string& onClick);
  void viewerFormSubmit(QObject* sender, const std::string& action, const std::string& target,
                        const std::string& encType, const std::string& method,
                        std::vector<std::string> results);

  QWidget* Panel1 = nullptr;
  QToolButton* btnhome = nullptr;
  QToolButton* btnrefresh = nullptr;
  QToolButton* btnback = nullptr;
  QToolButton* btnfwd = nullptr;
  QToolButton* btnprint = nullptr;
  QToolButton* btncopy = nullptr;
  TFilePane* Panel2 = nullptr;
  QSplitter* Splitter1 = nullptr;
  TFrameViewer* viewer = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  TWidget* Widget1 = nullptr;
  dlg::TFileOptions SaveDialog1;

protected:
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  void CreateToolRow();
  QToolButton* AddToolButton(const char* name, int left, const char* hint, int glyph,
                             void (TLumoraF::*handler)());
  void CreatePanes();
  void CreateViewer();
  void CreateWidget1();
  void BindPageHooks();
  // A name found in the page of the viewer sender, as a full file name.
  std::string ResolveFrom(QObject* sender, const std::string& name) const;
  void FormCreate(const std::string& programFile);
  void FormDestroy();

  TqvFormIni FIni;
  std::vector<std::string> FParams;
  std::string FProgramDir;
  std::string FHomePage;
  bool FShown = false;
  std::string FDateTimeBuffer; // the answer to the last date or time include
  std::string FIncludeStream;  // the file of the last include, read in place by the parser
};

namespace lumoraf {
// Whether a name's upper-cased extension is ".HTM" or ".HTML".
bool IsHtmlName(const std::string& name);
// Lumora.htm beside the program, else among the installed demo pages (share/lumora beside the
// program's bin folder); empty when neither exists.
std::string StartPage(const std::string& programDir);
// The answers to the date and time include commands in a locale.
std::string IncludeDate(const QDate& date, const QLocale& locale);
std::string IncludeTime(const QTime& time, const QLocale& locale);
// The file an include command names: its first parameter line holds FILE="name"; empty when
// it does not.
std::string IncludeFileName(const std::vector<std::string>& params);
// Whether a sound file is one the desktop is asked to play (.mid, .wav, .mp3).
bool IsPlayedSound(const std::string& fileName);
} // namespace lumoraf
