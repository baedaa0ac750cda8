#include "editor/widgets/FindDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFindDialog::TFindDialog(QWidget* parent, bool replace) : QDialog(parent), FReplace(replace)
{
  setWindowTitle(replace ? "Replace" : "Find");
  auto* fields = new QFormLayout;
  FFind = new QLineEdit(this);
  fields->addRow("Fi&nd what:", FFind);
  if (replace) {
    FReplaceWith = new QLineEdit(this);
    fields->addRow("Re&place with:", FReplaceWith);
  }
  FWholeWord = new QCheckBox("Match &whole word only", this);
  FMatchCase = new QCheckBox("Match &case", this);
  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  auto* options = new QHBoxLayout;
  auto* checks = new QVBoxLayout;
  checks->addWidget(FWholeWord);
  checks->addWidget(FMatchCase);
  options->addLayout(checks);
  FUp = new QRadioButton("&Up", this);
  FDown = new QRadioButton("&Down", this);
  FDown->setChecked(true);
  if (!replace) {
    auto* direction = new QGroupBox("Direction", this);
    auto* radios = new QHBoxLayout(direction);
    radios->addWidget(FUp);
    radios->addWidget(FDown);
    options->addWidget(direction);
  } else {
    FUp->hide();
    FDown->hide();
  }
  left->addLayout(options);
  auto* buttons = new QVBoxLayout;
  auto* findNext = new QPushButton("&Find Next", this);
  findNext->setDefault(true);
  connect(findNext, &QPushButton::clicked, this, &TFindDialog::ClickFindNext);
  buttons->addWidget(findNext);
  if (replace) {
    auto* one = new QPushButton("&Replace", this);
    auto* all = new QPushButton("Replace &All", this);
    connect(one, &QPushButton::clicked, this, &TFindDialog::ClickReplace);
    connect(all, &QPushButton::clicked, this, &TFindDialog::ClickReplaceAll);
    buttons->addWidget(one);
    buttons->addWidget(all);
  }
  auto* cancel = new QPushButton("Cancel", this);
  connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(buttons);
}

namespace {

std::string EditorBytes(const QString& text, bool utf8)
{
  return (utf8 ? text.toUtf8() : text.toLatin1()).toStdString();
}

} // namespace

std::string TFindDialog::FindText(bool utf8) const
{
  return EditorBytes(FFind->text(), utf8);
}

void TFindDialog::SetFindText(const std::string& text)
{
  FFind->setText(QString::fromLatin1(text));
}

std::string TFindDialog::ReplaceText(bool utf8) const
{
  return FReplaceWith ? EditorBytes(FReplaceWith->text(), utf8) : std::string();
}

void TFindDialog::SetReplaceText(const std::string& text)
{
  if (FReplaceWith)
    FReplaceWith->setText(QString::fromLatin1(text));
}

bool TFindDialog::Down() const
{
  return FDown->isChecked();
}

void TFindDialog::SetDown(bool down)
{
  (down ? FDown : FUp)->setChecked(true);
}

bool TFindDialog::MatchCase() const
{
  return FMatchCase->isChecked();
}

void TFindDialog::SetMatchCase(bool value)
{
  FMatchCase->setChecked(value);
}

bool TFindDialog::WholeWord() const
{
  return FWholeWord->isChecked();
}

void TFindDialog::SetWholeWord(bool value)
{
  FWholeWord->setChecked(value);
}

void TFindDialog::ClickFindNext()
{
  if (OnFind)
    OnFind(*this);
}

void TFindDialog::ClickReplace()
{
  FReplaceAll = false;
  if (OnReplace)
    OnReplace(*this);
}

void TFindDialog::ClickReplaceAll()
{
  FReplaceAll = true;
  if (OnReplace)
    OnReplace(*this);
  FReplaceAll = false;
}
