// The picture window: one per capture. Creating it reads its settings and
// puts the capture's picture (grabbed before) into its document, which its
// view shows; the caller then shows it (ShowModal) or uses it hidden, and
// destroys it, which writes the settings back. Menus, toolbar and the
// right-click menu reach every picture command; the shared commands are the
// QAction objects of the tray form's command set.
//
// The code is split by concern: TMainForm1.cpp (creation, destruction,
// frame events), TMainForm1Menus.cpp (menus and toolbar), TMainForm1Mouse.cpp
// (status bar, progress, mouse, clipboard), TMainForm1View.cpp (view modes,
// preset rectangles, Monitors menu, window placement, window captures).
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <array>
#include <optional>

#include "settings/other_options.h"
#include "picture/MainFormRules.h"
#include "picture/MainFormStatusTexts.h"
#include "picture/TPictureView.h"
#include "picture/load_history.h"
#include "picture/picture_document.h"

class QActionGroup;
class QEventLoop;
class QMenu;
class QToolBar;

namespace vistrel {

struct TAppContext;
class TMainFormStatusBar;
class TEditingCommands;
class TAnnotateMode;

class TMainForm1 : public QMainWindow {
  Q_OBJECT

  // Before the view, which shows its picture.
  TPictureDocument document_;

 public:
  // Toolbar buttons, left to right.
  enum TToolButton {
    tbLoad, tbSave, tbEMail, tbPaste, tbCopy, tbCut, tbCrop,
    tbRect, tbObject, tbEdit, tbAutoSave, tbPage, tbPrint, kToolButtonCount
  };

  // Runs the creation steps, ending with `picture` (the capture's grab)
  // in the view.
  TMainForm1(TAppContext& context, TPictureBitmap picture, QWidget* parent = nullptr);
  // Writes the window's settings unless the process writes none.
  ~TMainForm1() override;

  // Shows the window and returns when it has been closed.
  void ShowModal();

  // The picture the window shows, its undo list and file parameters.
  TPictureDocument& Document() { return document_; }
  const TPictureDocument& Document() const { return document_; }
  // The document's modified mark.
  bool PictureModified() const { return document_.Modified(); }
  void MarkPictureSaved() { document_.MarkSaved(); }
  // Whether the picture may close now: an unmodified one at once, a
  // modified one after "Save the changes..." was answered Save (and the
  // save succeeded) or Discard. Every way of closing asks here once.
  bool ConfirmClose();

  // "Copy to Clipboard": the selection if there is one, else the picture.
  void Action5Execute();
  // The Copy command itself: copies, then says so in the info popup.
  void CopyCommandExecute();
  // "Print": the print routine (the lent service PrintPicture); works on a
  // hidden window too. True when the printer accepted the picture. Without
  // printing in the program it does nothing and the Print button stays
  // disabled.
  bool ToolButton11Click();
  // "Rect.": an area of the frozen desktop replaces the picture
  // (the lent service SelectAreaIntoPicture).
  void ToolButton12Click();
  // "Object": a window or control of the desktop replaces the picture
  // (the lent service PickObjectIntoPicture).
  void ToolButton13Click();
  // The standard editing window's stored picture options on the picture
  // (the lent service ApplyPictureOptions); nothing while it is not there.
  void ApplyPictureOptions();
  // "Save Picture": the save dialog in SaveFolder with the next free name,
  // then the write under the paint lock. A failed write raises
  // PictureFileError after the lock is released.
  void Action101Click();
  // Hotkey > Setup (the lent service HotKeySetup); nothing while busy.
  void Setup2Click();
  // Options > Shortcuts: desktop, start menu, startup folder.
  void CShortcut1Click();
  void CShortcut2Click();
  void CreateShortcutonStartupFolder1Click();
  // Help > "Vistrel-Pro Help".
  void QuickHelp1Click();
  // "Load Picture": the load dialog in LoadFolder, then LoadPictureFromDialog.
  void Action91Click();
  // A file the load dialog confirmed: loaded under the paint lock with an
  // undo entry, the picture options applied, the folder and the history
  // updated. Ignored while the view is paint-locked. A file that cannot be
  // read raises PictureFileError and changes nothing.
  void LoadPictureFromDialog(const std::string& path);
  // A history entry of PopupMenu2 (slot 0..9).
  void N8Click(int slot);
  // "Clear History List".
  void ClearList1Click();
  const TLoadHistory& LoadHistory() const { return load_history_; }
  // Progress of every engine operation and of file input and output.
  void PictureProc1Progress(int percent);
  // Picture-changed notification of the view: status bar, Paste, busy flag.
  void PictureView1ImageChange();

  // Back from minimised: the restored-window rectangle, normal state, on top
  // (the tray and the hotkeys call it while a capture is open).
  void RestoreFromMinimised();
  // Remembered normal-position rectangle (OldWinLeft .. OldWinBottom).
  TScreenRect RestoredWindowRect() const { return restored_rect_; }

  TPictureView* const PictureView1;

  // For the program's other parts and for tests.
  QAction* ToolButton(TToolButton button) const { return tool_buttons_[button]; }
  QMenu* PopupMenu1() const { return popup_menu1_; }
  QMenu* PopupMenu2() const { return popup_menu2_; }
  QMenu* PopupMenu3() const { return popup_menu3_; }
  QMenu* PopupMenu4() const { return popup_menu4_; }
  QToolBar* ToolBar1() const { return tool_bar_; }
  TMainFormStatusBar* StatusBar1() const { return status_bar_; }
  QString StatusText(int panel) const;
  const PictureWindowOptions& Options() const { return options_; }
  // For the dialogs that edit the window's settings group.
  PictureWindowOptions& Options() { return options_; }
  TAppContext& Context() const { return context_; }
  // The editing commands working on this window's picture.
  TEditingCommands* Editing() const { return editing_; }
  // The annotation tools, their menu and toolbar.
  TAnnotateMode* Annotate() const { return annotate_; }
  // The save dialog's type entry (1 .. 10); it stays for the window's life.
  int SavePictureEntry() const { return save_entry_; }
  // After "Save and Picture Type Defaults" has closed: the writer takes the
  // stored choices again; when they were stored ("&Close"), the save
  // dialog's type follows the new one too.
  void PictureTypeDefaultsClosed(bool stored);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Creation, in order.
  void SetUpView();
  void LoadSettings();
  void ApplyStoredWindowState();
  void WriteSettings();

  // Menus and toolbar (TMainForm1Menus.cpp).
  void BuildToolBar();
  void BuildMenus();
  void BuildFileMenu();
  void BuildEditMenu();
  void BuildViewMenu();
  void BuildOptionsMenu();
  void BuildMonitorsMenu();
  void BuildHelpMenus();
  void BuildPopupMenu();
  void ConnectCommands();
  QAction* OwnItem(const char* caption, const char* shortcut = nullptr, const char* icon = nullptr);
  QAction* SharedCommand(int number) const;
  void UpdateAutoSaveCaption();
  void EditMenuShow();
  void ToolButtonCropClick();

  // Loading and the load history (TMainForm1Load.cpp).
  void BuildLoadHistoryMenu();
  void ShowLoadHistory();
  void LoadIntoPicture(const std::string& path);

  // Status bar and mouse (TMainForm1Mouse.cpp).
  void SetStatusText(int panel, const std::string& text);
  void EndProgress();
  void SetProgressCursor(TProgressCursor cursor);
  void SetPasteEnabled(bool on);
  void SetCutCropEnabled(bool on);
  bool ClipboardHoldsPicture() const;
  void FirstPaint();
  void PictureView1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void PictureView1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x,
                             int y);
  void PictureView1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void PictureView1MouseWheel(int delta);
  void PictureView1SelectionChanging();
  void PictureView1SelectionChange();
  std::string PointerText(int x, int y) const;

  // View, placement, captures (TMainForm1View.cpp).
  void Close1Click();
  void NormalView1Click();
  void UpdateZoomFilter();
  void FitView1Click();
  void ScrollSelectionIntoCorner();
  void RectanglePresetClick(int width, int height);
  TVisibleArea VisiblePictureArea() const;
  void MonitorClick(int item);
  void EnableMonitorsMenu();
  void RestoreWindowToDefault();
  void RefreshScreen1Click();
  void GetPictureOfVistrelClick();
  void DefineCaptureRectangle1Click();
  TWindowRect CurrentWindowRect() const;
  void FollowNormalPlacement();
  void ApplyWindowRect(const TWindowRect& rect);
  TWindowRect PrimaryScreenRect() const;

  friend class TEditingCommands;

  TAppContext& context_;
  PictureWindowOptions options_;
  TEditingCommands* editing_ = nullptr;
  TAnnotateMode* annotate_ = nullptr;
  QAction* UndoSelection1 = nullptr;

  QToolBar* tool_bar_ = nullptr;
  std::array<QAction*, kToolButtonCount> tool_buttons_{};
  TMainFormStatusBar* status_bar_ = nullptr;
  QMenu* popup_menu1_ = nullptr;   // right-click menu of the picture
  QMenu* popup_menu2_ = nullptr;   // Load drop-down: the load history
  QMenu* popup_menu3_ = nullptr;   // Automatic Save drop-down
  QMenu* popup_menu4_ = nullptr;   // Page drop-down

  QAction* Close1 = nullptr;
  QAction* Toolbar1 = nullptr;
  QAction* Centered1 = nullptr;
  std::array<QAction*, 4> filter_items_{};   // Mitchell, Bspline, Lanczos3, Bell
  QMenu* monitors_menu_ = nullptr;
  std::array<QAction*, 5> monitor_items_{};  // All Monitors, Monitor 1 .. 4
  QAction* custom_rect_item_ = nullptr;
  TLoadHistory load_history_;
  std::array<QAction*, TLoadHistory::kSlots> history_items_{};
  QAction* history_separator_ = nullptr;
  QAction* clear_history_item_ = nullptr;

  // Normal-position rectangle: restored_rect_ is remembered on maximise
  // (OldWin*), normal_rect_ follows every move and resize of the normal
  // window and is what the settings keep.
  TScreenRect restored_rect_;
  TWindowRect normal_rect_;
  // The same two as client rectangles, which need no frame margins: the
  // window goes back exactly where it was when it is un-maximised.
  QRect restored_client_;
  QRect normal_client_;
  int save_entry_ = 5;
  bool progress_cursor_ = false;
  // Pointer of the last move with the left button alone held, for the
  // selection text once the view has moved the selection.
  std::optional<QPoint> drag_pointer_;
  QEventLoop* modal_loop_ = nullptr;
  bool asking_ = false;  // "Save the changes..." is open
};

}  // namespace vistrel
