#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "output/print_pass.h"
#include "platform/fake/fake_printers.h"

namespace vistrel {
namespace {

TPictureBitmap SolidPicture(int w, int h, TColor c) {
  TPictureBitmap b(w, h);
  b.Fill(c);
  return b;
}

// The smallest rectangle holding every pixel that is not white.
QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
  return box;
}

QImage Rendered(const QPicture& page, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.drawPicture(0, 0, page);
  return image;
}

int LineHeight(int points, int dpi) {
  QFont font(kFooterFont);
  font.setPixelSize(MulDiv(points, dpi, 72));
  return QFontMetrics(font).height();
}

class PrintPassTest : public ::testing::Test {
 protected:
  PrintPassTest() {
    layout.queue = "Laser";
    layout.entry = "Laser";
    hooks.sent = [this](const QString& text) { popups << text; };
  }
  TPrintPassResult Run(const TPictureBitmap& picture, bool preview) {
    return RunPrintPass(picture, layout, {"date", "User: u", "Operating System: x", "own text"},
                        preview, printers, hooks);
  }
  TFakePrinters printers;
  TPrintLayout layout;
  TPrintPassHooks hooks;
  QStringList popups;
};

TEST_F(PrintPassTest, EachCopyIsAJobOfItsOwnWithItsPopup) {
  layout.copies = 3;
  Run(SolidPicture(20, 10, kBlack), false);
  ASSERT_EQ(printers.jobs.size(), 3u);
  for (const TFakeJob& job : printers.jobs) {
    EXPECT_EQ(job.title, "Vistrel-Pro v1.05");
    EXPECT_EQ(job.pages.size(), 1u);
    EXPECT_TRUE(job.ended);
  }
  EXPECT_EQ(popups, QStringList({"Picture Sent to Laser Copy Number 1", "Picture Sent to Laser Copy Number 2",
                                 "Picture Sent to Laser Copy Number 3"}));
}

TEST_F(PrintPassTest, NoCopiesPrintNothing) {
  layout.copies = 0;
  Run(SolidPicture(20, 10, kBlack), false);
  EXPECT_TRUE(printers.jobs.empty());
  EXPECT_TRUE(popups.isEmpty());
}

TEST_F(PrintPassTest, TheSetupGoesToTheQueue) {
  layout.orientation = TPageOrientation::Landscape;
  layout.paper_size = 9;
  layout.paper_source = 7;
  Run(SolidPicture(20, 10, kBlack), false);
  ASSERT_EQ(printers.jobs.size(), 1u);
  EXPECT_EQ(printers.jobs[0].setup.printer, "Laser");
  EXPECT_EQ(printers.jobs[0].setup.orientation, TPageOrientation::Landscape);
  EXPECT_EQ(printers.jobs[0].setup.paper_size, 9);
  EXPECT_EQ(printers.jobs[0].setup.paper_source, 7);
}

TEST_F(PrintPassTest, APictureWiderThanThePageFitsItsWidthAndIsCentred) {
  Run(SolidPicture(800, 600, kBlack), false);
  ASSERT_EQ(printers.jobs.size(), 1u);
  const int area = TFakePrinters::kHeight - LineHeight(8, 600) - 4;
  const int h = 3570;  // 3600 / (4800 / 4760)
  EXPECT_EQ(printers.jobs[0].pages[0].boundingRect(), QRect(0, (area - h) / 2, 4760, h));
}

TEST_F(PrintPassTest, PreviewRecordsOnePageAtScreenScaleAndPrintsNothing) {
  layout.copies = 4;
  layout.alignment = 5;  // bottom right
  const TPrintPassResult result = Run(SolidPicture(100, 50, MakeColor(255, 0, 0)), true);
  EXPECT_TRUE(printers.jobs.empty());
  EXPECT_TRUE(popups.isEmpty());
  ASSERT_TRUE(result.preview);
  EXPECT_EQ(result.page_size, QSize(761, 1084));
  const int area = 1084 - LineHeight(8, 96) - 4;
  EXPECT_EQ(InkBox(Rendered(*result.preview, result.page_size)), QRect(661, area - 50, 100, 50));
  EXPECT_EQ(result.picture_bytes, 300u * 50);
}

TEST_F(PrintPassTest, LandscapePreviewTurnsThePage) {
  layout.orientation = TPageOrientation::Landscape;
  layout.alignment = 1;
  const TPrintPassResult result = Run(SolidPicture(40, 30, kBlack), true);
  EXPECT_EQ(result.page_size, QSize(1084, 761));
  EXPECT_EQ(InkBox(Rendered(*result.preview, result.page_size)), QRect(0, 0, 40, 30));
}

TEST_F(PrintPassTest, FooterLinesStandUnderThePicture) {
  layout.footer = {false, true, false, true};
  layout.footer_points = 12;
  layout.alignment = 4;  // bottom left: the picture ends where the footer begins
  const TPrintPassResult result = Run(SolidPicture(40, 30, kBlack), true);
  const int h = LineHeight(12, 96);
  const int area = 1084 - 3 * h - 4;
  const QImage page = Rendered(*result.preview, result.page_size);
  const QRect ink = InkBox(page);
  EXPECT_EQ(ink.top(), area - 30);
  EXPECT_GT(ink.bottom(), area + h / 2 + h);   // two lines of text below
  EXPECT_LE(ink.bottom(), area + h / 2 + 2 * h);
}

TEST_F(PrintPassTest, ARefusedJobIsAnErrorAndTheCursorComesBack) {
  printers.refuse_jobs = true;
  EXPECT_THROW(Run(SolidPicture(20, 10, kBlack), false), PrinterError);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(popups.isEmpty());
  printers.refuse_jobs = false;
  printers.list.answered = false;
  try {
    Run(SolidPicture(20, 10, kBlack), false);
    FAIL() << "no error";
  } catch (const PrinterError& e) {
    EXPECT_NE(std::string(e.what()).find("\"Laser\""), std::string::npos) << e.what();
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(FooterTexts, DateTimeUsesTwelveHoursAndTwoBlanks) {
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(FooterDateTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))),
            "Tuesday, Mar 05, 2024  02:07:09 PM");
  EXPECT_EQ(FooterDateTime(QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0))),
            "Tuesday, Mar 05, 2024  12:00:00 AM");
  const std::array<QString, 4> lines = FooterTexts("Mine");
  EXPECT_TRUE(lines[1].startsWith("User: "));
  EXPECT_TRUE(lines[2].startsWith("Operating System: "));
  EXPECT_TRUE(lines[2].contains(" Version: "));
  EXPECT_TRUE(lines[2].contains(" Build: "));
  EXPECT_EQ(lines[3], "Mine");
}

}  // namespace
}  // namespace vistrel
