// Widget tests need a QApplication; without a display they run on Qt's
// offscreen platform. Settings go to a folder of this run.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  char folder[] = "/tmp/vistrel-shell-forms-XXXXXX";
  if (!mkdtemp(folder)) return 1;
  qputenv("XDG_CONFIG_HOME", QByteArray(folder) + "/config");
  int result = 0;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  std::filesystem::remove_all(folder);
  return result;
}
