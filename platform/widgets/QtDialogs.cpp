#include "platform/widgets/QtDialogs.h"

#include "base/StringUtil.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QStringList>

namespace {

QString Q(const std::string& s)
{
  return QString::fromStdString(s);
}

QMessageBox::StandardButtons QtButtons(dlg::TButtons buttons)
{
  switch (buttons) {
  case dlg::TButtons::Ok: return QMessageBox::Ok;
  case dlg::TButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
  case dlg::TButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
  case dlg::TButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

dlg::TAnswer Answer(int button)
{
  switch (button) {
  case QMessageBox::Ok: return dlg::TAnswer::Ok;
  case QMessageBox::Cancel: return dlg::TAnswer::Cancel;
  case QMessageBox::Yes: return dlg::TAnswer::Yes;
  case QMessageBox::No: return dlg::TAnswer::No;
  default: return dlg::TAnswer::None;
  }
}

// Dialogs are centred on the window the user is working in.
QWidget* Owner()
{
  return QApplication::activeWindow();
}

} // namespace

namespace dlg {

QString QtFilter(const std::string& filter)
{
  QStringList parts = Q(filter).split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString masks = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
    entries << parts[i] + " (" + masks + ")";
  }
  return entries.join(";;");
}

std::string WithDefaultExt(const std::string& fileName, const std::string& defaultExt)
{
  if (fileName.empty() || defaultExt.empty() || !strutil::ExtractFileExt(fileName).empty())
    return fileName;
  return fileName + "." + defaultExt;
}

} // namespace dlg

dlg::TAnswer TQtDialogs::MessageBox(const std::string& text, const std::string& caption,
                                    dlg::TButtons buttons)
{
  // Texts keep their line breaks as carriage return and line feed; the label wants one break.
  QString shown = Q(text).replace("\r\n", "\n");
  QMessageBox box(QMessageBox::NoIcon, Q(caption), shown, QtButtons(buttons), Owner());
  return Answer(box.exec());
}

bool TQtDialogs::OpenFile(const dlg::TFileOptions& options, std::string& fileName)
{
  QString start = Q(options.FileName.empty() ? options.InitialDir : options.FileName);
  QString name =
      QFileDialog::getOpenFileName(Owner(), Q(options.Title), start, dlg::QtFilter(options.Filter));
  if (name.isEmpty())
    return false;
  fileName = name.toStdString();
  return true;
}

bool TQtDialogs::SaveFile(const dlg::TFileOptions& options, std::string& fileName)
{
  QString start = Q(options.InitialDir);
  if (!options.FileName.empty())
    start = start.isEmpty() ? Q(options.FileName) : start + "/" + Q(options.FileName);
  QString name =
      QFileDialog::getSaveFileName(Owner(), Q(options.Title), start, dlg::QtFilter(options.Filter));
  if (name.isEmpty())
    return false;
  fileName = dlg::WithDefaultExt(name.toStdString(), options.DefaultExt);
  return true;
}

bool TQtDialogs::InputBox(const std::string& caption, const std::string& prompt, std::string& value)
{
  bool ok = false;
  QString answer =
      QInputDialog::getText(Owner(), Q(caption), Q(prompt), QLineEdit::Normal, Q(value), &ok);
  if (ok)
    value = answer.toStdString();
  return ok;
}

bool TQtDialogs::PrinterSetup(QPrinter& printer)
{
  QPrintDialog dialog(&printer, Owner());
  return dialog.exec() == QDialog::Accepted;
}

void UseQtDialogs()
{
  SetDefaultDialogs([] { return std::make_unique<TQtDialogs>(); });
}
