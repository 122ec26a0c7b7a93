#include "picture/TMainForm1.h"
#include "commands/command_table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "commands/option_defaults.h"
#include "settings/settings_store.h"
#include "platform/capture_bounds.h"
#include "settings/file_naming.h"
#include "settings/picture_type_defaults.h"
#include "platform/qt/system_colors.h"
#include "platform/platform.h"
#include "picture/picture_services.h"
#include "picture/MainFormIcons.h"
#include "picture/MainFormStatusBar.h"
#include "picture/MainFormTexts.h"
#include "picture/TSavePictureDialog.h"
#include "picture/close_question.h"
#include "commands/error_guard.h"
#include "picture/save_dialog_rules.h"
#include "picture/event_pump.h"
#include "picture/annotation/annotate_mode.h"

namespace vistrel {

namespace tx = main_form_texts;

namespace {
constexpr TColor kRed = MakeColor(255, 0, 0);
}  // namespace

TMainForm1::TMainForm1(TAppContext& context, TPictureBitmap picture, QWidget* parent)
    : QMainWindow(parent),
      PictureView1(new TPictureView(document_.Picture(), this)),
      context_(context) {
  setObjectName("MainForm1");
  setWindowIcon(ProgramIcon());
  // A window of its own (parent none): it gets its own taskbar entry.
  setMinimumSize(kMinWindowWidth, kMinWindowHeight);
  setCentralWidget(PictureView1);

  // 1. The print setup dialog lives as long as the window.
  if (context_.services.CreatePrintSetup) context_.services.CreatePrintSetup(*this);

  // 2. Caption, menus (Close with Esc), toolbar with its hints.
  setWindowTitle(tx::kCaption);
  ApplyCommandIcons(context_.commands);
  BuildToolBar();
  BuildMenus();
  BuildPopupMenu();
  ConnectCommands();

  // 3. The status bar, whose first panel draws the progress bar.
  status_bar_ = new TMainFormStatusBar(this);
  setStatusBar(status_bar_);
  const QString widest[3] = {tx::kIdlePanel,
                             QString::fromStdString(PictureInfoText(9999, 9999, 999999)),
                             QString::fromStdString(ColorText(MakeColor(191, 191, 191)))};
  status_bar_->FitFontTo(widest);
  SetStatusText(0, tx::kIdlePanel);

  SetUpView();

  // 4. Capture bounds: the whole virtual desktop until the Monitors choice.
  SetCaptureBounds(context_.capture.CaptureBounds, *context_.platform.screen, kAllMonitors);
  PumpPendingEvents();

  // 5. The settings of the picture-window group.
  LoadSettings();

  UpdateZoomFilter();

  // 6. The custom preset rectangle.
  custom_rect_item_->setText(QString("%1 x %2").arg(options_.CustomW).arg(options_.CustomH));

  // 7. The toolbar ("Toolbar" is checked in every new window).
  tool_bar_->setVisible(Toolbar1->isChecked());

  // 8. Monitors menu, then the capture bounds from its check marks.
  EnableMonitorsMenu();
  TMonitorsChoice choice;
  for (std::size_t i = 0; i < choice.size(); ++i) choice[i] = options_.Monitor[i];
  ApplyMonitorsChoice(context_.capture.CaptureBounds, *context_.platform.screen, choice);

  // 9. Selection outline and grips.
  PictureView1->SetSelectionColors(kRed, kWhite);
  PictureView1->SetSelectionGrips(kBlack, kWhite, Qt::SolidPattern, 3, true);
  PumpPendingEvents();

  // 10. Picture-type defaults of the writer and the save dialog.
  document_.Params().Reset();
  ApplyPictureTypeDefaults(options_, document_.Params(), PaletteSystemColor);
  save_entry_ = SaveEntryForExtension(context_.tray.AutoExtention, save_entry_);

  // 11. The window fits into the capture bounds.
  const TWindowRect screen = PrimaryScreenRect();
  ApplyWindowRect(FitWindowIntoBounds(CurrentWindowRect(), context_.capture.CaptureBounds,
                                      screen.width, screen.height));
  PumpPendingEvents();

  // 12. Small pictures centred as "Centered" says.
  PictureView1->SetCenter(Centered1->isChecked());

  // 13. The capture's picture.
  document_.Picture() = std::move(picture);
  PictureView1->UpdateView();
}

TMainForm1::~TMainForm1() {
  if (context_.services.CloseStandardEditingWindow) context_.services.CloseStandardEditingWindow();
  document_.Undo().ClearUndoStack();
  if (context_.flags.WritesSettings()) WriteSettings();
  context_.picture.PictureBusy = false;
  context_.picture.FirstPaintPending = true;
  if (progress_cursor_) QApplication::restoreOverrideCursor();
  // Children go after the members: the view must not outlive the picture it
  // shows.
  delete PictureView1;
}

void TMainForm1::SetUpView() {
  PictureView1->setObjectName("PictureView1");
  PictureView1->SetBackground(kWhite);
  PictureView1->SetMouseInteract(TPictureView::miSelect);
  PictureView1->SetSelectionOptions(TPictureView::soAnimated | TPictureView::soSizeable |
                                    TPictureView::soMoveable | TPictureView::soCutBorders);
  PictureView1->SetHint(tx::kDragRectangleHint);
  PictureView1->SetCursor(crSelect);
  document_.Proc().SetBackground(kWhite);
  document_.Proc().SetProgressHandler([this](int percent) { PictureProc1Progress(percent); });

  connect(PictureView1, &TPictureView::OnImageChange, this, &TMainForm1::PictureView1ImageChange);
  connect(PictureView1, &TPictureView::OnSelectionChanging, this,
          &TMainForm1::PictureView1SelectionChanging);
  connect(PictureView1, &TPictureView::OnSelectionChange, this,
          &TMainForm1::PictureView1SelectionChange);
  connect(PictureView1, &TPictureView::OnMouseDown, this, &TMainForm1::PictureView1MouseDown);
  connect(PictureView1, &TPictureView::OnMouseMove, this, &TMainForm1::PictureView1MouseMove);
  connect(PictureView1, &TPictureView::OnMouseUp, this, &TMainForm1::PictureView1MouseUp);
  connect(PictureView1, &TPictureView::OnMouseWheel, this,
          [this](int delta, Qt::KeyboardModifiers, int, int) { PictureView1MouseWheel(delta); });
}

void TMainForm1::LoadSettings() {
  {
    SettingsStore store;
    options_ = PictureWindowOptions::Load(store, CurrentOptionDefaults());
  }
  context_.commands.LoadChecks(options_);
  UpdateAutoSaveCaption();
  for (std::size_t i = 0; i < monitor_items_.size(); ++i)
    monitor_items_[i]->setChecked(options_.Monitor[i]);
  Centered1->setChecked(options_.CenteredView);
  if (const auto filter = ResampleFilterFromStored(options_.ResampleFilter)) {
    context_.picture.ResampleFilter = *filter;
    filter_items_[std::size_t(options_.ResampleFilter - 1)]->setChecked(true);
  }
  context_.capture.CustomCaptureRect = {options_.CustomLeft, options_.CustomTop,
                                      options_.CustomRight, options_.CustomBottom};
  restored_rect_ = {options_.OldWinLeft, options_.OldWinTop, options_.OldWinRight,
                    options_.OldWinBottom};
  load_history_ = TLoadHistory::FromStored(options_.LoadHistory);
  ShowLoadHistory();
  ApplyWindowRect({options_.MainFormLeft, options_.MainFormTop, options_.MainFormWidth,
                   options_.MainFormHeight});
  if (WindowShowFromStored(options_.MainFormState) == TWindowShow::Maximised)
    setWindowState(Qt::WindowMaximized);
}

void TMainForm1::WriteSettings() {
  FollowNormalPlacement();  // the frame has settled by now
  for (std::size_t i = 0; i < monitor_items_.size(); ++i)
    options_.Monitor[i] = monitor_items_[i]->isChecked();
  context_.commands.StoreChecks(options_);
  options_.CenteredView = Centered1->isChecked();
  for (std::size_t i = 0; i < filter_items_.size(); ++i)
    if (filter_items_[i]->isChecked()) options_.ResampleFilter = int(i) + 1;
  const TScreenRect& custom = context_.capture.CustomCaptureRect;
  options_.CustomLeft = custom.left;
  options_.CustomTop = custom.top;
  options_.CustomRight = custom.right;
  options_.CustomBottom = custom.bottom;
  options_.OldWinLeft = restored_rect_.left;
  options_.OldWinTop = restored_rect_.top;
  options_.OldWinRight = restored_rect_.right;
  options_.OldWinBottom = restored_rect_.bottom;
  const Qt::WindowStates state = windowState();
  const TWindowShow show = state & Qt::WindowMinimized   ? TWindowShow::Minimised
                           : state & Qt::WindowMaximized ? TWindowShow::Maximised
                                                         : TWindowShow::Normal;
  options_.MainFormState = StoredWindowShow(show);
  // A maximised window keeps the normal position it was opened with.
  if (show != TWindowShow::Maximised) {
    options_.MainFormLeft = normal_rect_.left;
    options_.MainFormTop = normal_rect_.top;
    options_.MainFormWidth = normal_rect_.width;
    options_.MainFormHeight = normal_rect_.height;
  }
  SettingsStore store;
  options_.Save(store);
  context_.tray.SaveSharedKeys(store);
  annotate_->SaveOptions(store);
  store.Close();
}

void TMainForm1::ShowModal() {
  show();
  if (!isVisible()) return;
  // Not a Qt modal window: the tray icon and the standard editing window
  // must stay usable while it is open. The nested loop ends when it closes.
  QEventLoop loop;
  modal_loop_ = &loop;
  loop.exec();
  modal_loop_ = nullptr;
}

bool TMainForm1::ConfirmClose() {
  // Marks still being edited are part of the picture that may be saved.
  annotate_->Leave();
  if (!PictureModified()) return true;
  // A second way of closing while the question is open (a close request
  // during Esc's question) keeps the picture; the open question decides.
  if (asking_) return false;
  asking_ = true;
  struct Asked {
    bool& flag;
    ~Asked() { flag = false; }
  } asked{asking_};
  return ClosesAfterAnswer(AskSaveBeforeClosing(this), [this] {
    RunGuarded([this] { Action101Click(); });
    return !PictureModified();
  });
}

void TMainForm1::closeEvent(QCloseEvent* event) {
  if (!ConfirmClose()) {
    event->ignore();
    return;
  }
  FollowNormalPlacement();  // still shown, and its frame has settled by now
  QMainWindow::closeEvent(event);
  if (event->isAccepted() && modal_loop_) modal_loop_->quit();
}

void TMainForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (event->spontaneous()) return;  // back from minimised: not a new show
  raise();
  activateWindow();
  PictureView1ImageChange();
  if (context_.picture.FirstPaintPending)
    QTimer::singleShot(0, this, &TMainForm1::FirstPaint);
}

void TMainForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  const Qt::WindowStates old_state = static_cast<QWindowStateChangeEvent*>(event)->oldState();
  const Qt::WindowStates state = windowState();
  // A window opened maximised keeps the stored rectangle: only a shown
  // window that gets maximised remembers where it was.
  if ((state & Qt::WindowMaximized) && !(old_state & Qt::WindowMaximized) && isVisible()) {
    restored_rect_ = {normal_rect_.left, normal_rect_.top, normal_rect_.left + normal_rect_.width,
                      normal_rect_.top + normal_rect_.height};
    restored_client_ = normal_client_;
  } else if (state == Qt::WindowNoState &&
             (old_state & (Qt::WindowMaximized | Qt::WindowMinimized))) {
    // Restored: back to the remembered rectangle, after the window manager
    // has applied its own geometry. The client rectangle it had is exact;
    // a frame position would be converted with the frame of the maximised
    // window, which differs (no borders).
    QTimer::singleShot(0, this, [this] {
      if (windowState() != Qt::WindowNoState) return;
      const TScreenRect r = restored_rect_;
      if (restored_client_.isValid() && restored_client_.width() == r.Width() &&
          restored_client_.height() == r.Height())
        setGeometry(restored_client_);
      else
        ApplyWindowRect({r.left, r.top, r.Width(), r.Height()});
    });
  }
}

void TMainForm1::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  FollowNormalPlacement();
}

void TMainForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FollowNormalPlacement();
}

void TMainForm1::FollowNormalPlacement() {
  if (!isVisible() || windowState() != Qt::WindowNoState) return;
  normal_rect_ = CurrentWindowRect();
  normal_client_ = geometry();
}

TWindowRect TMainForm1::CurrentWindowRect() const {
  // The frame's position from the window system's current frame margins:
  // the widget's own copy of them may still be those of another state.
  if (const QWindow* handle = windowHandle(); handle && isVisible()) {
    const QMargins frame = handle->frameMargins();
    return {geometry().x() - frame.left(), geometry().y() - frame.top(), width(), height()};
  }
  return {x(), y(), width(), height()};
}

void TMainForm1::ApplyWindowRect(const TWindowRect& rect) {
  if (QWindow* handle = windowHandle(); handle && isVisible()) {
    // The window manager places the frame itself: right also while the
    // frame margins known here are still those of another state.
    resize(rect.width, rect.height);
    handle->setFramePosition(QPoint(rect.left, rect.top));
  } else {
    move(rect.left, rect.top);
    resize(rect.width, rect.height);
  }
  normal_rect_ = {rect.left, rect.top, width(), height()};
}

TWindowRect TMainForm1::PrimaryScreenRect() const {
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return {0, 0, 1024, 768};
  const QRect r = primary->geometry();
  return {r.left(), r.top(), r.width(), r.height()};
}

void TMainForm1::RestoreFromMinimised() {
  showNormal();
  const TScreenRect r = restored_rect_;
  ApplyWindowRect({r.left, r.top, r.Width(), r.Height()});
  raise();
  activateWindow();
}

void TMainForm1::Action101Click() {
  annotate_->Commit();
  TSavePictureDialog dialog(this);
  dialog.setDirectory(QString::fromStdString(options_.SaveFolder));
  dialog.SetFilterIndex(save_entry_);
  // The type of this window's previous save dialog becomes the shared one.
  TrayOptions& tray = context_.tray;
  tray.AutoExtention = SaveEntryExtension(save_entry_);
  const std::string folder =
      options_.SaveFolder.empty() ? std::string() : WithTrailingSeparator(options_.SaveFolder);
  const TPictureFileName next =
      NextPictureFileName(folder, {tray.AutoFileName, tray.AutoNumbering, tray.AutoExtention});
  dialog.SetFileName(QString::fromStdString(next.path.substr(folder.size())));
  dialog.SetPreview(document_.Picture());
  dialog.SetParameters(document_.Params());

  const bool accepted = dialog.exec() == QDialog::Accepted;
  save_entry_ = dialog.FilterIndex();
  if (!accepted || PictureView1->PaintLocked()) return;
  const std::string path = dialog.FileName().toStdString();

  PictureView1->BeginPaintLock();
  // A failed write must not leave the lock set, nor the progress shown:
  // every later save would stop.
  struct SaveEnd {
    TMainForm1* window;
    ~SaveEnd() {
      window->PictureView1->EndPaintLock();
      window->PictureProc1Progress(100);
    }
  } end{this};
  // The writer reports no steps of its own: the bar and the busy cursor
  // stand from the start of the write to its end.
  PictureProc1Progress(0);
  document_.Save(path);
  options_.SaveFolder = FolderOfPath(path);
}

void TMainForm1::PictureTypeDefaultsClosed(bool stored) {
  // However the dialog closed, the stored choices replace what the save
  // dialog's options button changed in the meantime.
  ApplyPictureTypeDefaults(options_, document_.Params(), PaletteSystemColor);
  if (stored) save_entry_ = SaveEntryForExtension(context_.tray.AutoExtention, save_entry_, true);
}

}  // namespace vistrel
