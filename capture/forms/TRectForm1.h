// "Custom Rectangle": width and height of the fifth preset rectangle,
// checked against the part of the picture the window shows.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vistrel {

class IBeeper;
struct PictureWindowOptions;

class TRectForm1 : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "Custom Rectangle";

  // `visible_width` x `visible_height`: the visible extent of the picture
  // window's view. CustomW and CustomH of `options` are shown and changed.
  TRectForm1(PictureWindowOptions& options, IBeeper& beeper, int visible_width, int visible_height,
             QWidget* parent = nullptr);

  // "&Close": the fields become CustomW and CustomH; the dialog closes.
  void Button1Click();
  // "Max": the largest allowed size, stored at once.
  void Button2Click();

  QLineEdit* const Edit1;  // Width
  QLineEdit* const Edit2;  // Height
  QPushButton* const Button1;
  QPushButton* const Button2;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Esc is "&Close"; the close box leaves without storing.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The check run when a field is left; false when the field was refused.
  bool CheckField(QLineEdit* field, int visible_extent);
  // Puts the focus back into a refused field.
  void Refocus(QLineEdit* field);

  PictureWindowOptions& options_;
  IBeeper& beeper_;
  int visible_width_;
  int visible_height_;
  bool checking_ = false;
  bool refocusing_ = false;
};

}  // namespace vistrel
