#include "commands/TActionList1.h"

#include "commands/command_table.h"

namespace vistrel {

namespace {
// Plain toggles and the keys they carry.
struct TToggleKey {
  int number;
  bool PictureWindowOptions::*key;
};
constexpr TToggleKey kToggleKeys[] = {
    {19, &PictureWindowOptions::Quality_Rotate}, {20, &PictureWindowOptions::Quality_Zoom},
    {21, &PictureWindowOptions::Client_Area},    {27, &PictureWindowOptions::Sound},
    {31, &PictureWindowOptions::Auto_Clipboard}, {34, &PictureWindowOptions::CloseAfterPrint},
    {39, &PictureWindowOptions::IncludeCursor},  {46, &PictureWindowOptions::ShowInfo},
    {50, &PictureWindowOptions::AutoCrop},
};
}  // namespace

TActionList1::TActionList1(QObject* parent) : QObject(parent) {
  for (const TCommandRow& row : CommandTable()) {
    auto* action =
        new QAction(QString::fromUtf8(row.caption.data(), qsizetype(row.caption.size())), this);
    action->setObjectName(QString("Action%1").arg(row.number));
    if (!row.shortcut.empty())
      action->setShortcut(
          QKeySequence(QString::fromLatin1(row.shortcut.data(), qsizetype(row.shortcut.size()))));
    action->setCheckable(row.checkable);
    action->setChecked(row.checked);
    action->setEnabled(row.enabled);
    actions_[row.number] = action;
  }
  Action(cmd::kOptimizePrinting)
      ->setToolTip("Optimize Printing\r\nreduces the colors and\r\nspeed up printing");
}

QAction* TActionList1::Action(int number) const { return actions_.at(number); }

void TActionList1::SetEnabled(int number, bool on) {
  Action(number)->setEnabled(on);
}

void TActionList1::DisableClipboardCommands() {
  for (int n : kClipboardCommands) SetEnabled(n, false);
}

void TActionList1::EnableClipboardCommands() {
  for (int n : kClipboardCommands) SetEnabled(n, true);
}

void TActionList1::LoadChecks(const PictureWindowOptions& options) {
  for (const TToggleKey& t : kToggleKeys) SetChecked(t.number, options.*t.key);
}

void TActionList1::StoreChecks(PictureWindowOptions& options) const {
  for (const TToggleKey& t : kToggleKeys) options.*t.key = Checked(t.number);
}

}  // namespace vistrel
