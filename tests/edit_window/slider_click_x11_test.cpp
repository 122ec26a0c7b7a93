// The standard editing window under a real X server, where a quick click
// reaches the program as a press and a release waiting in the queue
// together: the recipe the press runs must not take the release.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSlider>
#include <QTest>

#include "edit_form_fixture.h"
#include "picture/PictureViewImage.h"
#include "x_test_server.h"

namespace vistrel::testing {
namespace {

XTestServer* server = nullptr;

// Sees the mouse release a widget gets, and whether a picture operation
// was running when it came.
class ReleaseWatch : public QObject {
 public:
  explicit ReleaseWatch(const TPictureState& picture) : picture_(picture) {}
  bool seen = false;
  bool during_operation = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) {
      seen = true;
      during_operation = during_operation || picture_.PictureBusy;
    }
    return false;
  }

 private:
  const TPictureState& picture_;
};

TEST_F(EditFormTest, OneClickOnASliderTrackMovesOnePageAndRunsTheRecipeOnce) {
  OpenForm();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  // The default recipe on a 24-bit picture changes nothing.
  ASSERT_EQ(Window().Document().Undo().UndoDepth(), 0);
  QSlider* brightness = form_->Sliders[TEditForm1::slBrightness];
  ReleaseWatch watch(context_.picture);
  brightness->installEventFilter(&watch);
  // On the track, well right of the thumb in the middle.
  const QPoint at = brightness->mapToGlobal(
      QPoint(brightness->width() * 7 / 8, brightness->height() / 2));
  ASSERT_TRUE(server->Xdotool({"mousemove", std::to_string(at.x()), std::to_string(at.y()),
                               "click", "1"}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return watch.seen; }, 20000));
  QApplication::processEvents();

  EXPECT_FALSE(watch.during_operation);
  EXPECT_EQ(brightness->value(), 10);
  EXPECT_EQ(commands_.Action(cmd::kUndo)->text(), "Undo (1)");
  EXPECT_EQ(UndoCaptions(), std::vector<std::string>{"HSLvar 0,0,3"});
}

}  // namespace
}  // namespace vistrel::testing

int main(int argc, char** argv) {
  using namespace vistrel::testing;
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<XTestServer> x;
  if (::testing::GTEST_FLAG(list_tests)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  } else {
    std::string error;
    x = XTestServer::StartXvfb(1024, 768, error);
    if (!x) {
      std::fprintf(stderr, "no X server: %s\n", error.c_str());
      return 1;
    }
    server = x.get();
    qputenv("DISPLAY", QByteArray::fromStdString(x->display()));
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  QApplication app(argc, argv);
  vistrel::AllowPictureSizedImages();
  return RUN_ALL_TESTS();
}
