// "HotKey Setup": a key and a modifier combination for each of the five
// capture functions. Edits the live hotkey table; refuses the combinations
// the program's own keys need and any duplicate; a close saves the table,
// registers it and names the combinations the desktop refused.
//
// Where the desktop assigns the keys (a Wayland portal) each row also shows
// the key the desktop gave, with a button to the desktop's own key page;
// where it lends none, the command line to bind to a key in its settings.
#pragma once

#include <QDialog>
#include <array>

#include "platform/hotkeys.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vistrel {

class THotKeys;

namespace keys_form_texts {
inline constexpr const char* kCaption = "HotKey Setup";
inline constexpr const char* kFunctionHeading = "HotKey function";
inline constexpr const char* kKeyHeading = "HotKey";
inline constexpr const char* kModifierHeading = "Key modifier";
inline constexpr const char* kClose = "&Close";
inline constexpr const char* kDefault = "&Default";
inline constexpr const char* kNotice = "Some keys may not be available";
inline constexpr const char* kNoticeHint = "Some Hotkeys are not permitted under NT or Win95/98/ME";
inline constexpr const char* kKeyRefused = "HotKey without modifier not allowed !!";
inline constexpr const char* kModifierRefused = "Modifier not allowed !!";
inline constexpr const char* kDuplicate = "Duplicate Hotkey definition found !!\r\nchange Hotkey or modifier";
inline constexpr const char* kFunctions[5] = {" Get Desktop", " Get Desktop + Save",
                                              " Get Rectangular Area", " Get Active Window",
                                              " Get Active Window + Save"};
inline constexpr const char* kAssignedHeading = "Desktop's key";
inline constexpr const char* kNotAssigned = "not assigned";
inline constexpr const char* kConfigure = "Desktop's &Keys...";
inline constexpr const char* kAssignedNotice = "The desktop assigns the keys";
inline constexpr const char* kAssignedHint =
    "The desktop binds each function to a key of its choosing; the lists offer it these keys.";
inline constexpr const char* kCommandHeading = "Command line to bind";
inline constexpr const char* kNoKeysNotice = "The desktop assigns the keys";
inline constexpr const char* kNoKeysHint =
    "This desktop lends programs no hotkeys. Bind a key to each command line in the desktop's "
    "keyboard settings (the saving ones save into the FOLDER you put in). The lists keep the "
    "keys for a desktop that lends them.";
inline constexpr const char* kFunctionHints[5] = {
    "Gets the full Desktop", "Gets the full Desktop and Saves it as a picture",
    "Gets Rectangular Area from the Desktop", "Gets the Active Window",
    "Gets the Active Window and Saves it as a picture"};
}  // namespace keys_form_texts

class TKeysForm1 : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kRows = 5;  // slots 0 to 4; slot 5 has no row

  explicit TKeysForm1(THotKeys& hotkeys, QWidget* parent = nullptr);
  ~TKeysForm1() override;

  QComboBox* KeyList(int row) const { return key_lists_[std::size_t(row)]; }
  QComboBox* ModifierList(int row) const { return modifier_lists_[std::size_t(row)]; }
  QPushButton* CloseButton() const { return close_button_; }
  QPushButton* DefaultButton() const { return default_button_; }
  // Only where the desktop assigns the keys, else null.
  QLabel* AssignedKey(int row) const { return assigned_[std::size_t(row)]; }
  QPushButton* ConfigureButton() const { return configure_button_; }
  // Only where the desktop lends no keys, else null.
  QLineEdit* CommandLine(int row) const { return command_lines_[std::size_t(row)]; }

  // "&Close", Esc and the close box: the duplicate check, then save and
  // register; stays open on a duplicate.
  void CloseClick();
  void DefaultClick();

  void reject() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void KeyChosen(int row, int index);
  void ModifierChosen(int row, int index);
  // Every list shows what the table holds.
  void ShowTable();
  // The desktop's column and notice, by how it lends keys.
  void AddDesktopColumn(QGridLayout* grid);
  void ShowAssigned();

  THotKeys& hotkeys_;
  THotkeyLending lending_;
  std::array<QLabel*, kRows> assigned_{};
  std::array<QLineEdit*, kRows> command_lines_{};
  QPushButton* configure_button_ = nullptr;
  std::array<QComboBox*, kRows> key_lists_{};
  std::array<QComboBox*, kRows> modifier_lists_{};
  QPushButton* close_button_ = nullptr;
  QPushButton* default_button_ = nullptr;
};

}  // namespace vistrel
