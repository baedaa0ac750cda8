// Form controls exchange their texts in the document's charset: what a UTF-8 page holds shows as
// its characters and what the user types comes back as UTF-8; a single-byte page gets its code
// page's bytes.
#include "base/CodePage.h"
#include "platform/widgets/FormWidgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr int Cyrillic = 204; // the charset code of Windows-1251

struct TTextCase {
  const char* Name;
  int Charset;
  std::string Page; // bytes the document gives the control
  QString Shown;    // what the control shows
  QString Typed;    // what the user then types
  std::string Sent; // the bytes the document gets back
};

TEST(FormWidgetText, TextsFollowTheDocumentsCharset)
{
  const TTextCase cases[] = {
      {"UTF-8", codepage::CharsetUtf8, "caf\xc3\xa9", QString::fromUtf8("caf\xc3\xa9"),
       QString::fromUtf8("\xe2\x82\xac \xe4\xb8\xad"), "\xe2\x82\xac \xe4\xb8\xad"},
      {"Western", 0, "caf\xe9 \x80", QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac"),
       QString::fromUtf8("\xe2\x82\xac\xc3\xbc"), "\x80\xfc"},
      {"Cyrillic", Cyrillic, "\xe6", QString::fromUtf8("\xd0\xb6"), QString::fromUtf8("\xd0\xb7"),
       "\xe7"},
      {"a character the code page lacks", 0, "a", "a", QString::fromUtf8("\xe4\xb8\xad"), "?"},
  };
  QWidget parent;
  for (const auto& c : cases) {
    TQtFormWidget edit(TFormWidgetKind::Edit, &parent);
    edit.TextCharset = c.Charset;
    edit.SetText(c.Page);
    auto* line = qobject_cast<QLineEdit*>(edit.Object());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), c.Shown) << c.Name;
    EXPECT_EQ(edit.Text(), c.Page) << c.Name;
    line->setText(c.Typed);
    EXPECT_EQ(edit.Text(), c.Sent) << c.Name;
  }
}

TEST(FormWidgetText, ItemsAndLinesFollowItToo)
{
  QWidget parent;
  TQtFormWidget combo(TFormWidgetKind::Combo, &parent);
  combo.TextCharset = codepage::CharsetUtf8;
  combo.SetItems({"\xce\xb1", "b"});
  EXPECT_EQ(qobject_cast<QComboBox*>(combo.Object())->itemText(0), QString(QChar(0x3b1)));
  EXPECT_EQ(combo.Item(0), "\xce\xb1");
  TQtFormWidget area(TFormWidgetKind::TextArea, &parent);
  area.TextCharset = Cyrillic;
  area.SetLines({"\xe6", "x"});
  auto* text = qobject_cast<QPlainTextEdit*>(area.Object());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->toPlainText(), QString::fromUtf8("\xd0\xb6\nx"));
  EXPECT_EQ(area.Lines(), (std::vector<std::string>{"\xe6", "x"}));
}

} // namespace
