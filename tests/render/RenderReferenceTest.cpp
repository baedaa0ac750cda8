// Every demo page drawn by the program (lumora --render) is compared pixel for pixel with its
// reference picture in tests/render/references, made by scripts/make-render-references.sh and
// checked by eye when it was made. A page that differs leaves the picture drawn and an image of
// the differences in <build>/render-check, so the change can be looked at.
#include "support/TestSupport.h"

#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const QString DemoDir = QStringLiteral(LUMORA_TEST_DATA "/../../demo");
const QString ReferenceDir = QStringLiteral(LUMORA_TEST_DATA "/../render/references");
const QString CheckDir = QStringLiteral(LUMORA_BUILD_DIR "/render-check");

// The options the references were drawn with (the same as in the script that makes them).
const QStringList RenderOptions = {"--width", "800", "--height", "0"};

std::vector<std::string> DemoPages()
{
  std::vector<std::string> pages;
  for (const QString& name : QDir(DemoDir).entryList({"*.htm", "*.html", "*.txt"}, QDir::Files))
    pages.push_back(name.toStdString());
  return pages;
}

// The references were drawn with the Liberation fonts standing in for the three document
// faces; with other fonts every page would differ, so that is reported as what it is.
std::string FontMismatch()
{
  struct Face {
    const char* Asked;
    const char* Expected;
  };
  const Face faces[] = {{"Times New Roman", "Liberation Serif"},
                        {"Arial", "Liberation Sans"},
                        {"Courier New", "Liberation Mono"}};
  std::string wrong;
  for (const Face& face : faces) {
    QString got = QFontInfo(QFont(face.Asked)).family();
    if (got != face.Expected)
      wrong += std::string(face.Asked) + " is drawn in " + got.toStdString() + ", not " +
               face.Expected + "; ";
  }
  return wrong.empty() ? wrong
                       : wrong + "the references need fonts-liberation (scripts/install-deps.sh)";
}

// Draws the differing pixels red over a faded copy of the page as drawn; returns their count.
int Differences(const QImage& drawn, const QImage& reference, QImage& diff)
{
  diff = drawn.convertToFormat(QImage::Format_RGB32);
  int count = 0;
  for (int y = 0; y < diff.height(); ++y)
    for (int x = 0; x < diff.width(); ++x) {
      QRgb a = drawn.pixel(x, y), b = reference.pixel(x, y);
      if (a == b) {
        int g = 192 + qGray(a) / 4;
        diff.setPixel(x, y, qRgb(g, g, g));
      } else {
        diff.setPixel(x, y, qRgb(255, 0, 0));
        ++count;
      }
    }
  return count;
}

class RenderReference : public ::testing::TestWithParam<std::string> {};

TEST(RenderReferences, FontsAreTheOnesTheReferencesWereDrawnWith)
{
  std::string wrong = FontMismatch();
  EXPECT_EQ(wrong, "");
}

TEST(RenderReferences, EveryDemoPageHasOne)
{
  for (const std::string& page : DemoPages())
    EXPECT_TRUE(QFile::exists(ReferenceDir + "/" + QString::fromStdString(page) + ".png"))
        << page << " has no reference picture: make it with scripts/make-render-references.sh "
        << "and look at it before committing it";
  EXPECT_GE(DemoPages().size(), 5u);
}

TEST_P(RenderReference, DrawsThePageAsTheReferenceShowsIt)
{
  std::string wrong = FontMismatch();
  ASSERT_EQ(wrong, "") << "not comparing pixels: the fonts differ";
  const QString page = QString::fromStdString(GetParam());
  const QString reference = ReferenceDir + "/" + page + ".png";
  const QString drawnFile = CheckDir + "/" + page + ".png";
  const QString diffFile = CheckDir + "/" + page + ".diff.png";
  QDir().mkpath(CheckDir);
  QFile::remove(diffFile);
  QProcess lumora;
  lumora.start(QStringLiteral(LUMORA_BUILD_DIR "/lumora"),
               QStringList{"--render", DemoDir + "/" + page, "-o", drawnFile} + RenderOptions);
  ASSERT_TRUE(lumora.waitForFinished(60000)) << "lumora --render did not finish";
  ASSERT_EQ(lumora.exitCode(), 0) << lumora.readAllStandardError().toStdString();
  QImage drawn(drawnFile), expected(reference);
  ASSERT_FALSE(expected.isNull()) << "no reference picture " << reference.toStdString();
  ASSERT_FALSE(drawn.isNull()) << "nothing drawn in " << drawnFile.toStdString();
  drawn = drawn.convertToFormat(QImage::Format_RGB32);
  expected = expected.convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(drawn.size(), expected.size())
      << "the page is drawn " << drawn.width() << " x " << drawn.height() << ", the reference is "
      << expected.width() << " x " << expected.height() << "; see " << drawnFile.toStdString();
  QImage diff;
  int count = Differences(drawn, expected, diff);
  if (count > 0)
    diff.save(diffFile, "PNG");
  EXPECT_EQ(count, 0) << count << " pixels differ from " << reference.toStdString() << "; drawn "
                      << drawnFile.toStdString() << ", differences in red in "
                      << diffFile.toStdString();
}

INSTANTIATE_TEST_SUITE_P(DemoPages, RenderReference, ::testing::ValuesIn(DemoPages()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return testsupport::CaseName(info.param);
                         });

} // namespace
