// A day of captures: picture windows made, shown and closed one after the
// other must not make the program grow with each of them.
#include <QApplication>
#include <QTest>
#include <fstream>

#include "window_fixture.h"

namespace vistrel::testing {
namespace {

// Resident size of this process in bytes (/proc/self/statm, second field).
long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long total = 0, resident = 0;
  statm >> total >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

TEST_F(PictureWindowTest, AHundredWindowsLeaveTheResidentSizeWhereTenLeftIt) {
  const auto capture = [this] {
    std::unique_ptr<TMainForm1> window = NewWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->repaint();  // toolbar, menus and status bar drawn
    QApplication::processEvents();
    window->close();
    window.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  for (int i = 0; i < 10; ++i) capture();
  const long after_ten = ResidentBytes();
  for (int i = 10; i < 100; ++i) capture();
  const long growth = ResidentBytes() - after_ten;
  EXPECT_LT(growth, 2L << 20) << "grew by " << growth / 1024 << " KiB over 90 windows";
}

}  // namespace
}  // namespace vistrel::testing
