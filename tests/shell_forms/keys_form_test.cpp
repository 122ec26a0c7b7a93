#include "app/TKeysForm1.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "commands/message_boxes.h"
#include "app/hotkeys/hotkey_table.h"
#include "settings/settings_store.h"
#include "box_answerer.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/wayland/no_global_hotkeys.h"

namespace vistrel {
namespace {

namespace tx = keys_form_texts;
using testing::BoxAnswerer;

constexpr int kPrintScrn = 1, kF3 = 4, kF6 = 7, kF10 = 11, kF11 = 12, kLetterS = 42;
constexpr int kNone = 0, kAlt = 1, kCtrl = 2, kAltCtrl = 4, kCtrlShift = 7;

// The user picks an entry of a drop-down list.
void Choose(QComboBox* list, int index) {
  list->setCurrentIndex(index);
  emit list->activated(index);
}

class KeysFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove(SettingsFilePath());
    keys_.Table().SetDefaultHotKeys();
    keys_.RegisterHotKeys();
  }

  TKeysForm1& Open() {
    form_ = std::make_unique<TKeysForm1>(keys_);
    form_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    return *form_;
  }

  THotKeySlot& Slot(int n) { return keys_.Table().keys[std::size_t(n)]; }

  HotKeyTable Stored() {
    SettingsStore store;
    HotKeyTable table;
    table.Load(store);
    return table;
  }

  FakeHotkeys desktop_;
  THotKeys keys_{desktop_};
  std::unique_ptr<TKeysForm1> form_;
};

TEST_F(KeysFormTest, ShowsFiveRowsWithTheFullListsAndTheTable) {
  TKeysForm1& form = Open();
  EXPECT_EQ(form.windowTitle(), "HotKey Setup");
  for (int row = 0; row < TKeysForm1::kRows; ++row) {
    EXPECT_EQ(form.KeyList(row)->count(), 59);
    EXPECT_EQ(form.ModifierList(row)->count(), 8);
    EXPECT_FALSE(form.KeyList(row)->isEditable());
    EXPECT_EQ(form.KeyList(row)->maxVisibleItems(), 12);
  }
  EXPECT_EQ(form.KeyList(0)->currentText(), "PrintScrn");
  EXPECT_EQ(form.ModifierList(0)->currentText(), "None");
  EXPECT_EQ(form.KeyList(3)->currentText(), "PrintScrn");
  EXPECT_EQ(form.ModifierList(3)->currentText(), "ALT");
  EXPECT_EQ(form.KeyList(4)->itemText(56), "subtract");
  EXPECT_EQ(form.ModifierList(4)->itemText(6), "ALT+CTRL+SHIFT");
  EXPECT_TRUE(form.CloseButton()->isDefault());
  EXPECT_EQ(form.CloseButton()->text(), "&Close");
  EXPECT_EQ(form.DefaultButton()->text(), "&Default");
}

TEST_F(KeysFormTest, KeyListDropsDownTwelveRowsAtATime) {
  TKeysForm1& form = Open();
  QComboBox* list = form.KeyList(1);
  list->showPopup();
  QAbstractItemView* view = list->view();
  ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }, 2000));
  const int rows = view->viewport()->height() / view->sizeHintForRow(0);
  list->hidePopup();
  EXPECT_EQ(rows, 12);
}

TEST_F(KeysFormTest, PrintScrnRefusesCtrlAndTakesAlt) {
  TKeysForm1& form = Open();
  BoxAnswerer boxes;
  Choose(form.ModifierList(0), kCtrl);
  EXPECT_EQ(boxes.texts, QStringList{tx::kModifierRefused});
  EXPECT_EQ(boxes.captions, QStringList{"Vistrel-Pro"});
  EXPECT_EQ(form.ModifierList(0)->currentIndex(), kNone);
  EXPECT_EQ(Slot(0), (THotKeySlot{44, 0, kPrintScrn, kNone}));
  Choose(form.ModifierList(0), kAlt);
  EXPECT_EQ(boxes.texts.size(), 1);
  EXPECT_EQ(Slot(0), (THotKeySlot{44, 1, kPrintScrn, kAlt}));
}

TEST_F(KeysFormTest, F3NeedsTheModifierChosenFirst) {
  TKeysForm1& form = Open();
  BoxAnswerer boxes;
  Choose(form.KeyList(1), kF3);
  EXPECT_EQ(boxes.texts, QStringList{BoxText(tx::kKeyRefused)});
  EXPECT_EQ(form.KeyList(1)->currentIndex(), kNone);
  EXPECT_EQ(Slot(1), THotKeySlot{});
  Choose(form.ModifierList(1), kAlt);
  Choose(form.KeyList(1), kF3);
  EXPECT_EQ(boxes.texts.size(), 1);
  EXPECT_EQ(Slot(1), (THotKeySlot{114, 1, kF3, kAlt}));
}

TEST_F(KeysFormTest, ModifierRefusalsFollowTheKeyOfTheRow) {
  TKeysForm1& form = Open();
  BoxAnswerer boxes;
  Choose(form.KeyList(1), kF6);
  Choose(form.ModifierList(1), kCtrlShift);
  Choose(form.ModifierList(1), kAltCtrl);
  Choose(form.KeyList(2), kLetterS);
  Choose(form.ModifierList(2), kCtrl);
  Choose(form.ModifierList(2), kAltCtrl);
  EXPECT_EQ(boxes.texts, (QStringList{tx::kModifierRefused, tx::kModifierRefused}));
  EXPECT_EQ(Slot(1), (THotKeySlot{117, 3, kF6, kAltCtrl}));
  EXPECT_EQ(Slot(2), (THotKeySlot{83, 3, kLetterS, kAltCtrl}));
}

TEST_F(KeysFormTest, EveryWayOfClosingRefusesADuplicate) {
  TKeysForm1& form = Open();
  Choose(form.ModifierList(3), kNone);  // row 4 becomes PrintScrn alone, as row 1
  const auto registered = desktop_.registered;
  BoxAnswerer boxes;
  QTest::mouseClick(form.CloseButton(), Qt::LeftButton);
  QTest::keyClick(&form, Qt::Key_Escape);
  form.close();
  EXPECT_EQ(boxes.texts, QStringList(3, BoxText(tx::kDuplicate)));
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(desktop_.registered, registered);  // nothing registered
  EXPECT_FALSE(SettingsStore().SectionExists(kHotKeysSection));  // nothing stored
}

TEST_F(KeysFormTest, RowsWithoutAKeyAreNoDuplicates) {
  TKeysForm1& form = Open();
  Choose(form.ModifierList(1), kAlt);
  Choose(form.ModifierList(2), kAlt);
  BoxAnswerer boxes;
  form.close();
  EXPECT_TRUE(boxes.texts.isEmpty());
  EXPECT_FALSE(form.isVisible());
}

TEST_F(KeysFormTest, DefaultShowsAtOnceAndIsStoredAndRegisteredOnClose) {
  Slot(0) = {123, 2, 13, 2};  // CTRL+F12
  Slot(3) = {};
  keys_.RegisterHotKeys();
  TKeysForm1& form = Open();
  QTest::mouseClick(form.DefaultButton(), Qt::LeftButton);
  EXPECT_EQ(form.KeyList(0)->currentText(), "PrintScrn");
  EXPECT_EQ(form.ModifierList(0)->currentText(), "None");
  EXPECT_EQ(form.ModifierList(3)->currentText(), "ALT");
  EXPECT_EQ(desktop_.registered.at(1000), (FakeHotkeys::Combination{2, 123}));  // not yet
  QTest::mouseClick(form.CloseButton(), Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(desktop_.registered.at(1000), (FakeHotkeys::Combination{0, 44}));
  EXPECT_EQ(desktop_.registered.at(1003), (FakeHotkeys::Combination{1, 44}));
  HotKeyTable defaults;
  defaults.SetDefaultHotKeys();
  EXPECT_EQ(Stored(), defaults);
}

TEST_F(KeysFormTest, ARefusedCombinationIsNamedAndStaysStored) {
  desktop_.held_by_others.insert({1, 122});  // another program holds Alt+F11
  TKeysForm1& form = Open();
  Choose(form.ModifierList(4), kAlt);
  Choose(form.KeyList(4), kF11);
  Choose(form.ModifierList(1), kCtrl);
  Choose(form.KeyList(1), kF10);
  BoxAnswerer boxes;
  QTest::keyClick(&form, Qt::Key_Escape);
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_TRUE(boxes.texts[0].contains("\nALT+F11 (Get Active Window + Save)"))
      << boxes.texts[0].toStdString();
  EXPECT_FALSE(boxes.texts[0].contains("F10"));
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(desktop_.registered.count(1004), 0u);
  EXPECT_EQ(desktop_.registered.at(1001), (FakeHotkeys::Combination{2, 121}));
  EXPECT_EQ(Stored().keys[4], (THotKeySlot{122, 1, kF11, kAlt}));
}

TEST_F(KeysFormTest, StoredIndexesOutsideTheListsShowNone) {
  Slot(2) = {44, 1, 99, -4};
  TKeysForm1& form = Open();
  EXPECT_EQ(form.KeyList(2)->currentText(), "None");
  EXPECT_EQ(form.ModifierList(2)->currentText(), "None");
  // The lists follow the table whenever the dialog paints.
  Slot(2) = {83, 3, kLetterS, kAltCtrl};
  form.repaint();
  EXPECT_EQ(form.KeyList(2)->currentText(), "S");
  EXPECT_EQ(form.ModifierList(2)->currentText(), "ALT+CTRL");
}

TEST_F(KeysFormTest, FocusStartsOnTheFirstKeyListAndTabGoesRowByRow) {
  TKeysForm1& form = Open();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  std::vector<QWidget*> expected;
  for (int row = 0; row < TKeysForm1::kRows; ++row) {
    expected.push_back(form.KeyList(row));
    expected.push_back(form.ModifierList(row));
  }
  expected.push_back(form.DefaultButton());
  expected.push_back(form.CloseButton());
  expected.push_back(form.KeyList(0));
  EXPECT_EQ(QApplication::focusWidget(), expected[0]);
  for (std::size_t i = 1; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), expected[i]) << "after " << i << " tabs";
  }
}

TEST_F(KeysFormTest, ArrowKeysChooseThroughTheSameRules) {
  TKeysForm1& form = Open();
  BoxAnswerer boxes;
  form.KeyList(1)->setFocus();
  QTest::keyClick(form.KeyList(1), Qt::Key_Down);  // "None" -> "PrintScrn"
  EXPECT_EQ(Slot(1), (THotKeySlot{44, 0, kPrintScrn, 0}));
  QTest::keyClick(form.KeyList(1), Qt::Key_Down);  // "F1" alone: refused
  EXPECT_EQ(boxes.texts, QStringList{BoxText(tx::kKeyRefused)});
  EXPECT_EQ(form.KeyList(1)->currentIndex(), kPrintScrn);
}

TEST(KeysFormOnWayland, WithoutKeysEachRowShowsItsCommandLineAndClosingWarnsOfNothing) {
  std::filesystem::remove(SettingsFilePath());
  NoGlobalHotkeys desktop;
  THotKeys keys(desktop);
  keys.Table().SetDefaultHotKeys();
  TKeysForm1 form(keys);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const char* expected[TKeysForm1::kRows] = {
      "vistrel-pro --capture desktop", "vistrel-pro --capture desktop --output-dir FOLDER",
      "vistrel-pro --capture area", "vistrel-pro --capture window",
      "vistrel-pro --capture window --output-dir FOLDER"};
  for (int row = 0; row < TKeysForm1::kRows; ++row) {
    QLineEdit* line = form.CommandLine(row);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text(), expected[row]);
    EXPECT_TRUE(line->isReadOnly());
    EXPECT_GE(line->width(), line->fontMetrics().horizontalAdvance(line->text()));
    EXPECT_FALSE(form.AssignedKey(row));
  }
  // Copied as a user would: select all, copy.
  form.CommandLine(2)->selectAll();
  EXPECT_EQ(form.CommandLine(2)->selectedText(), "vistrel-pro --capture area");
  auto* notice = form.findChild<QLabel*>("DesktopKeysNotice");
  ASSERT_TRUE(notice);
  EXPECT_TRUE(notice->text().contains("lends programs no hotkeys"));
  EXPECT_FALSE(form.ConfigureButton());
  BoxAnswerer boxes;
  form.CloseClick();
  EXPECT_TRUE(boxes.texts.isEmpty());
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(keys.Refused(), (std::vector<int>{0, 3}));
}

// Assigns keys as a portal does, naming them when asked.
class AssigningDesktop : public FakeHotkeys {
 public:
  THotkeyLending Lending() const override { return THotkeyLending::Assigned; }
  void SetAssignedHandler(std::function<void()> handler) override { changed = std::move(handler); }
  std::string AssignedTrigger(int id) const override {
    return triggers.count(id) ? triggers.at(id) : std::string();
  }
  bool CanConfigure() const override { return !triggers.empty(); }
  void Configure() override { ++configured; }
  std::map<int, std::string> triggers;
  std::function<void()> changed;
  int configured = 0;
};

TEST(KeysFormOnWayland, WithAPortalEachRowShowsTheDesktopsKeyAsItChanges) {
  std::filesystem::remove(SettingsFilePath());
  AssigningDesktop desktop;
  THotKeys keys(desktop);
  keys.Table().SetDefaultHotKeys();
  auto form = std::make_unique<TKeysForm1>(keys);
  EXPECT_EQ(form->AssignedKey(0)->text(), tx::kNotAssigned);
  EXPECT_FALSE(form->ConfigureButton()->isEnabled());
  EXPECT_FALSE(form->CommandLine(0));

  desktop.triggers = {{1000, "Print"}, {1003, "Super+W"}};
  ASSERT_TRUE(desktop.changed);
  desktop.changed();
  EXPECT_EQ(form->AssignedKey(0)->text(), "Print");
  EXPECT_EQ(form->AssignedKey(3)->text(), "Super+W");
  EXPECT_EQ(form->AssignedKey(1)->text(), tx::kNotAssigned);
  ASSERT_TRUE(form->ConfigureButton()->isEnabled());
  form->ConfigureButton()->click();
  EXPECT_EQ(desktop.configured, 1);

  // A change after the dialog has gone reaches nothing of it.
  form.reset();
  desktop.changed();
}

}  // namespace
}  // namespace vistrel
