// Widget tests need a QApplication; without a display they run on Qt's
// offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "picture/PictureViewImage.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // As the program does at start.
  vistrel::AllowPictureSizedImages();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
