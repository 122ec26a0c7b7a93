#include <gtest/gtest.h>

#include <QPainter>

#include "output/TWMFPrinter.h"
#include "platform/fake/fake_printers.h"

namespace vistrel {
namespace {

class WmfPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { printer.Setup.printer = "Laser"; }
  TFakePrinters printers;
  TWMFPrinter printer{printers};
};

TEST_F(WmfPrinterTest, PagesAreThePrintableAreaInScreenPixels) {
  EXPECT_EQ(printer.PageWidth(), 761);   // 4760 x 96 / 600
  EXPECT_EQ(printer.PageHeight(), 1084);  // 6779 x 96 / 600
  EXPECT_EQ(printer.DpiX(), 96);
  printer.BeginDoc();
  EXPECT_EQ(printer.Page(0)->boundingRect(), QRect(0, 0, 761, 1084));
  printer.Setup.orientation = TPageOrientation::Landscape;
  EXPECT_EQ(printer.PageWidth(), 761);  // the page size itself stays portrait
  printer.NewPage();
  EXPECT_EQ(printer.Page(1)->boundingRect(), QRect(0, 0, 1084, 761));
}

TEST_F(WmfPrinterTest, BeginTwiceDiscardsTheFirstRecording) {
  printer.BeginDoc();
  printer.Canvas().drawLine(0, 0, 10, 10);
  printer.NewPage();
  printer.BeginDoc();
  EXPECT_EQ(printer.PageCount(), 1);
}

TEST_F(WmfPrinterTest, CanvasWithoutBeginStartsTheFirstPage) {
  printer.Canvas().fillRect(10, 20, 30, 40, Qt::black);
  printer.EndDoc();
  ASSERT_EQ(printer.PageCount(), 1);
  EXPECT_FALSE(printer.Page(0)->isNull());
}

TEST_F(WmfPrinterTest, ThePenAndFontCarryOverToTheNextPage) {
  QFont font("Arial");
  font.setPixelSize(33);
  printer.Canvas().setFont(font);
  printer.Canvas().setPen(Qt::red);
  printer.NewPage();
  EXPECT_EQ(printer.Canvas().font().pixelSize(), 33);
  EXPECT_EQ(printer.Canvas().pen().color(), QColor(Qt::red));
}

TEST_F(WmfPrinterTest, AQueueThatIsGoneIsNotValid) {
  printer.BeginDoc();
  printers.list.names = {"Inkjet"};
  try {
    printer.PageWidth();
    FAIL() << "no error";
  } catch (const PrinterError& e) {
    EXPECT_STREQ(e.what(), "Printer not Valid");
  }
  EXPECT_THROW(printer.NewPage(), PrinterError);
  printer.Abort();
  EXPECT_EQ(printer.PageCount(), 0);
}

}  // namespace
}  // namespace vistrel
