// "HotKey Setup": a key and a modifier combination for each of the five
// capture functions. Edits the live hotkey table; refuses the combinations
// the program's own keys need and any duplicate; a close saves the table,
// registers it and names the combinations the desktop refused.
#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
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

  QComboBox* KeyList(int row) const { return key_lists_[std::size_t(row)]; }
  QComboBox* ModifierList(int row) const { return modifier_lists_[std::size_t(row)]; }
  QPushButton* CloseButton() const { return close_button_; }
  QPushButton* DefaultButton() const { return default_button_; }

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

  THotKeys& hotkeys_;
  std::array<QComboBox*, kRows> key_lists_{};
  std::array<QComboBox*, kRows> modifier_lists_{};
  QPushButton* close_button_ = nullptr;
  QPushButton* default_button_ = nullptr;
};

}  // namespace vistrel
