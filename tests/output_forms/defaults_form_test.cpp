#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "output/TDefaultsForm1.h"

namespace vistrel {
namespace {

class DefaultsFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tray.AutoFolder = "/home/u/shots/";
    tray.AutoFileName = "Shot";
    tray.AutoExtention = "pdf";
    tray.AutoNumbering = false;
    picture.DefJpgQuality = 85;
    picture.DefGifVer89 = false;
    form = std::make_unique<TDefaultsForm1>(tray, picture);
  }
  QRadioButton* Type(const char* caption) {
    return form->findChild<QRadioButton*>(QString("Type_%1").arg(caption));
  }
  TrayOptions tray;
  PictureWindowOptions picture;
  std::unique_ptr<TDefaultsForm1> form;
};

TEST_F(DefaultsFormTest, OpensWithTheInMemoryValues) {
  EXPECT_TRUE(Type("PDF")->isChecked());
  EXPECT_EQ(form->findChild<QLineEdit*>("BaseName")->text(), "Shot");
  EXPECT_EQ(form->findChild<QLineEdit*>("Folder")->text(), "/home/u/shots/");
  tray.AutoExtention = "webp";  // not one of the nine
  TDefaultsForm1 other(tray, picture);
  EXPECT_TRUE(other.findChild<QRadioButton*>("Type_PNG")->isChecked());
}

TEST_F(DefaultsFormTest, DefaultThenCloseBoxStoresNothing) {
  form->Button1Click();
  form->reject();  // the close box
  EXPECT_EQ(tray.AutoFileName, "Shot");
  EXPECT_EQ(tray.AutoExtention, "pdf");
  EXPECT_EQ(picture.DefJpgQuality, 85);
  EXPECT_FALSE(picture.DefGifVer89);
}

TEST_F(DefaultsFormTest, DefaultThenEscapeStoresTheDefaults) {
  QTemporaryDir home;
  const QByteArray old_home = qgetenv("HOME");
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
  form->Button1Click();
  qputenv("HOME", old_home);
  qunsetenv("XDG_CONFIG_HOME");
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(tray.AutoFileName, "Picture");
  EXPECT_EQ(tray.AutoFolder, (home.path() + "/Pictures/").toStdString());
  EXPECT_EQ(tray.AutoExtention, "png");
  EXPECT_TRUE(tray.AutoNumbering);
  EXPECT_EQ(picture.DefJpgQuality, 50);  // not the stored default of 85
  EXPECT_EQ(picture.DefPngComp, 5);
  EXPECT_TRUE(picture.DefGifVer89);
}

TEST_F(DefaultsFormTest, EmptiedBaseNameComesBackAsPicture) {
  form->show();
  QApplication::setActiveWindow(form.get());
  auto* name = form->findChild<QLineEdit*>("BaseName");
  name->setFocus();
  name->selectAll();
  QTest::keyClick(name, Qt::Key_Backspace);
  ASSERT_TRUE(name->text().isEmpty());
  form->findChild<QCheckBox*>()->setFocus();  // the user leaves the field
  EXPECT_EQ(name->text(), "Picture");
  EXPECT_EQ(name->maxLength(), 126);
}

TEST_F(DefaultsFormTest, ChosenTypeAndFolderReachTheSettings) {
  Type("JPG2K")->setChecked(true);
  form->ChangeFolder("/srv/pictures");  // taken at once, with a separator
  EXPECT_EQ(tray.AutoFolder, "/srv/pictures/");
  form->ChangeFolder("");  // cancelled: the separator rule still holds
  EXPECT_EQ(tray.AutoFolder, "/srv/pictures/");
  form->Button2Click();
  EXPECT_EQ(tray.AutoExtention, "jp2");
}

TEST_F(DefaultsFormTest, NumberFieldsStopAtTheirEnds) {
  picture.DefPngComp = 42;  // damaged value
  TDefaultsForm1 other(tray, picture);
  auto boxes = other.findChildren<QSpinBox*>();
  ASSERT_EQ(boxes.size(), 3);
  EXPECT_EQ(boxes[2]->value(), 9);
  boxes[2]->stepUp();
  EXPECT_EQ(boxes[2]->value(), 9);
}

}  // namespace
}  // namespace vistrel

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
