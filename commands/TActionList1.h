// The command set: one QAction per shared command, named "ActionN", with
// the caption, shortcut, check mark and enabled state of the command table.
// The tray menu and the picture window add these same objects, so a state
// or caption is the same wherever the command appears.
#pragma once

#include <QAction>
#include <QObject>
#include <map>

#include "settings/other_options.h"

namespace vistrel {

class TActionList1 : public QObject {
  Q_OBJECT
 public:
  explicit TActionList1(QObject* parent = nullptr);

  QAction* Action(int number) const;
  bool Checked(int number) const { return Action(number)->isChecked(); }
  void SetChecked(int number, bool on) { Action(number)->setChecked(on); }
  // Enables a command only if its behaviour is built.
  void SetEnabled(int number, bool on);

  void DisableClipboardCommands();
  void EnableClipboardCommands();

  // The check marks that the picture-window group of the settings carries.
  void LoadChecks(const PictureWindowOptions& options);
  void StoreChecks(PictureWindowOptions& options) const;

 private:
  std::map<int, QAction*> actions_;
};

}  // namespace vistrel
