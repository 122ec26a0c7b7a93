// "Load Picture" and the load history of the "Load" button's drop-down
// (PopupMenu2).
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include "commands/error_guard.h"
#include "picture/TMainForm1.h"
#include "picture/event_pump.h"
#include "picture/TOpenPictureDialog.h"
#include "picture/save_dialog_rules.h"

namespace vistrel {

namespace {
constexpr const char* kClearHistoryList = "Clear History List";
constexpr const char* kPictureNotFound = "Picture not found ! ";
constexpr const char* kBoxCaption = "Vistrel-Pro";
constexpr const char* kDefaultExtension = "PNG";
}  // namespace

void TMainForm1::BuildLoadHistoryMenu() {
  popup_menu2_ = new QMenu(this);
  popup_menu2_->setObjectName("PopupMenu2");
  for (int i = 0; i < TLoadHistory::kSlots; ++i) {
    QAction* item = popup_menu2_->addAction(QString());
    item->setCheckable(true);
    item->setVisible(false);
    connect(item, &QAction::triggered, this, Guarded([this, i] { N8Click(i); }));
    history_items_[std::size_t(i)] = item;
  }
  history_separator_ = popup_menu2_->addSeparator();
  clear_history_item_ = popup_menu2_->addAction(kClearHistoryList);
  connect(clear_history_item_, &QAction::triggered, this, &TMainForm1::ClearList1Click);
  ShowLoadHistory();
}

void TMainForm1::ShowLoadHistory() {
  for (int i = 0; i < TLoadHistory::kSlots; ++i) {
    QAction* item = history_items_[std::size_t(i)];
    const bool used = i < load_history_.Used();
    // Shown as stored: an "&" in a path is no accelerator.
    item->setText(used ? QString::fromStdString(load_history_.Slot(i)).replace("&", "&&")
                       : QString());
    item->setVisible(used);
    item->setChecked(i == load_history_.Checked());
  }
  history_separator_->setVisible(!load_history_.Empty());
  clear_history_item_->setVisible(!load_history_.Empty());
  // Destruction writes the window's settings group, the history with it.
  options_.LoadHistory = load_history_.ToStored();
}

void TMainForm1::Action91Click() {
  TOpenPictureDialog dialog(this);
  dialog.setDirectory(QString::fromStdString(options_.LoadFolder));
  dialog.setDefaultSuffix(kDefaultExtension);
  if (dialog.exec() != QDialog::Accepted) return;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return;
  LoadPictureFromDialog(files.front().toStdString());
}

void TMainForm1::LoadPictureFromDialog(const std::string& path) {
  if (PictureView1->PaintLocked()) return;
  LoadIntoPicture(path);
  ApplyPictureOptions();
  options_.LoadFolder = FolderOfPath(path);
  load_history_.Record(path);
  ShowLoadHistory();
}

void TMainForm1::N8Click(int slot) {
  // Choosing an entry leaves every check mark as it was.
  ShowLoadHistory();
  if (slot < 0 || slot >= load_history_.Used() || PictureView1->PaintLocked()) return;
  const std::string path = load_history_.Slot(slot);
  if (!QFileInfo(QString::fromStdString(path)).isFile()) {
    QMessageBox box(QMessageBox::NoIcon, kBoxCaption, kPictureNotFound, QMessageBox::Ok, this);
    box.exec();
    return;
  }
  LoadIntoPicture(path);
  ApplyPictureOptions();
}

void TMainForm1::ClearList1Click() {
  load_history_.Clear();
  ShowLoadHistory();
}

void TMainForm1::LoadIntoPicture(const std::string& path) {
  {
    PictureView1->BeginPaintLock();
    // Every way out releases the lock, or no later load would run.
    struct PaintUnlock {
      TPictureView* view;
      ~PaintUnlock() { view->EndPaintLock(); }
    } unlock{PictureView1};
    PumpPendingEvents();
    document_.Load(path);
  }
  PictureView1->ImageChanged();
}

}  // namespace vistrel
