#pragma once
// The dialogs as the user sees them: Qt's message box, file dialogs, input box and print dialog.
#include "platform/Dialogs.h"

#include <QString>

class QWidget;

class TQtDialogs : public TDialogs {
public:
  dlg::TAnswer MessageBox(const std::string& text, const std::string& caption,
                          dlg::TButtons buttons) override;
  bool OpenFile(const dlg::TFileOptions& options, std::string& fileName) override;
  bool SaveFile(const dlg::TFileOptions& options, std::string& fileName) override;
  bool InputBox(const std::string& caption, const std::string& prompt, std::string& value) override;
  bool PrinterSetup(QPrinter& printer) override;
};

// Makes the Qt dialogs what Dialogs() gives when no others are installed.
void UseQtDialogs();

namespace dlg {
// "HTML Documents|*.htm;*.html|Text|*.txt" -> "HTML Documents (*.htm *.html);;Text (*.txt)".
QString QtFilter(const std::string& filter);
// Adds ".ext" to a name whose last component has no extension.
std::string WithDefaultExt(const std::string& fileName, const std::string& defaultExt);
} // namespace dlg
