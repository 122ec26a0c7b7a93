// Menus, toolbar and right-click menu of the picture window. Shared commands
// are the command set's own QAction objects; items the program does not have
// yet are shown in their place, disabled.
#include <QActionGroup>
#include <QApplication>
#include <QLayout>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "commands/command_table.h"
#include "commands/error_guard.h"
#include "picture/picture_services.h"
#include "picture/MainFormIcons.h"
#include "picture/MainFormTexts.h"
#include "picture/TMainForm1.h"
#include "picture/editing_commands.h"
#include "picture/annotation/annotate_mode.h"
#include "platform/platform.h"

namespace vistrel {

namespace tx = main_form_texts;

namespace {

// Shared commands the window's own buttons and items stand for.

struct TToolButtonRow {
  TMainForm1::TToolButton button;
  const char* caption;
  const char* hint;
  const char* icon;
};

constexpr TToolButtonRow kToolButtons[] = {
    {TMainForm1::tbLoad, tx::kLoad, tx::kLoadHint, "document-open"},
    {TMainForm1::tbSave, tx::kSave, tx::kSaveHint, "document-save"},
    {TMainForm1::tbEMail, tx::kEMail, tx::kEMailHint, "mail-message-new"},
    {TMainForm1::tbPaste, tx::kPaste, tx::kPasteHint, "edit-paste"},
    {TMainForm1::tbCopy, tx::kCopy, tx::kCopyHint, "edit-copy"},
    {TMainForm1::tbCut, tx::kCut, tx::kCutHint, "edit-cut"},
    {TMainForm1::tbCrop, tx::kCrop, tx::kCropHint, "edit-select-all"},
    {TMainForm1::tbRect, tx::kRect, tx::kRectHint, "view-fullscreen"},
    {TMainForm1::tbObject, tx::kObject, tx::kObjectHint, "preferences-system-windows"},
    {TMainForm1::tbEdit, tx::kEdit, tx::kEditHint, "applications-graphics"},
    {TMainForm1::tbAutoSave, tx::kOff, tx::kAutoSaveHint, "appointment-new"},
    {TMainForm1::tbPage, tx::kPage, tx::kPageHint, "document-print-preview"},
    {TMainForm1::tbPrint, tx::kPrint, tx::kPrintHint, "document-print"},
};

void AddDropDown(QToolBar* bar, QAction* button, QMenu* menu) {
  if (auto* tool = qobject_cast<QToolButton*>(bar->widgetForAction(button))) {
    tool->setMenu(menu);
    tool->setPopupMode(QToolButton::MenuButtonPopup);
  }
}

}  // namespace

QAction* TMainForm1::SharedCommand(int number) const { return context_.commands.Action(number); }

QAction* TMainForm1::OwnItem(const char* caption, const char* shortcut, const char* icon) {
  auto* item = new QAction(QString::fromUtf8(caption), this);
  if (shortcut) item->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
  if (icon) item->setIcon(PictureIcon(icon));
  return item;
}

void TMainForm1::BuildToolBar() {
  tool_bar_ = addToolBar("ToolBar1");
  tool_bar_->setObjectName("ToolBar1");
  tool_bar_->setMovable(false);
  tool_bar_->setFloatable(false);
  tool_bar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  tool_bar_->setIconSize(QSize(24, 24));
  // Thirteen buttons side by side in the smallest window.
  tool_bar_->setContentsMargins(0, 0, 0, 0);
  tool_bar_->layout()->setSpacing(0);
  tool_bar_->setContextMenuPolicy(Qt::PreventContextMenu);
  for (const TToolButtonRow& row : kToolButtons) {
    QAction* button = tool_bar_->addAction(PictureIcon(row.icon), QString::fromUtf8(row.caption));
    button->setToolTip(QString::fromUtf8(row.hint));
    button->setObjectName(QString("ToolButton_%1").arg(QString::fromUtf8(row.caption)));
    tool_buttons_[row.button] = button;
  }
  if (context_.platform.windows->PicksInteractively())
    tool_buttons_[tbObject]->setToolTip(tx::kObjectPickHint);

  const TPictureServices& hooks = context_.services;
  // The page menu (print setup) fills its drop-down; until then the
  // button stays disabled.
  BuildLoadHistoryMenu();
  AddDropDown(tool_bar_, tool_buttons_[tbLoad], popup_menu2_);
  tool_buttons_[tbPaste]->setEnabled(false);
  tool_buttons_[tbCut]->setEnabled(false);
  tool_buttons_[tbCrop]->setEnabled(false);
  tool_buttons_[tbRect]->setEnabled(bool(hooks.SelectAreaIntoPicture));
  tool_buttons_[tbObject]->setEnabled(bool(hooks.PickObjectIntoPicture));
  tool_buttons_[tbPage]->setEnabled(bool(hooks.ShowPrintSetup));
  tool_buttons_[tbPrint]->setEnabled(bool(hooks.PrintPicture));

  popup_menu3_ = new QMenu(this);
  QAction* timer_setup = popup_menu3_->addAction(tx::kTimerSetup);
  timer_setup->setEnabled(bool(hooks.TimerSetup));
  connect(timer_setup, &QAction::triggered, this, Guarded([this] {
            if (context_.services.TimerSetup) context_.services.TimerSetup(*this);
          }));
  QAction* define = popup_menu3_->addAction(tx::kDefineCaptureRect);
  define->setEnabled(bool(hooks.DefineCaptureRectangle));
  connect(define, &QAction::triggered, this, &TMainForm1::DefineCaptureRectangle1Click);
  AddDropDown(tool_bar_, tool_buttons_[tbAutoSave], popup_menu3_);

  popup_menu4_ = new QMenu(this);
  popup_menu4_->setObjectName("PopupMenu4");
  if (hooks.BuildPageMenu) hooks.BuildPageMenu(*this, *popup_menu4_);
  AddDropDown(tool_bar_, tool_buttons_[tbPage], popup_menu4_);
  connect(tool_buttons_[tbPage], &QAction::triggered, this, [this] {
    if (context_.services.ShowPrintSetup) context_.services.ShowPrintSetup(*this);
  });

  connect(tool_buttons_[tbEMail], &QAction::triggered, SharedCommand(cmd::kSendEMail),
          &QAction::trigger);
  connect(tool_buttons_[tbPaste], &QAction::triggered, this,
          Guarded([this] { editing_->Paste(); }));
  connect(tool_buttons_[tbCopy], &QAction::triggered, this, &TMainForm1::CopyCommandExecute);
  connect(tool_buttons_[tbCut], &QAction::triggered, this, Guarded([this] {
    if (context_.commands.Checked(cmd::kAutomaticToClipboard)) Action5Execute();
    editing_->Cut();
  }));
  connect(tool_buttons_[tbCrop], &QAction::triggered, this,
          Guarded([this] { ToolButtonCropClick(); }));
  connect(tool_buttons_[tbRect], &QAction::triggered, this, &TMainForm1::ToolButton12Click);
  connect(tool_buttons_[tbObject], &QAction::triggered, this, &TMainForm1::ToolButton13Click);
  connect(tool_buttons_[tbEdit], &QAction::triggered, SharedCommand(cmd::kStandardEditing),
          &QAction::trigger);
  connect(tool_buttons_[tbAutoSave], &QAction::triggered, SharedCommand(cmd::kAutomaticSave),
          &QAction::trigger);
  connect(tool_buttons_[tbPrint], &QAction::triggered, this, &TMainForm1::ToolButton11Click);
  connect(tool_buttons_[tbSave], &QAction::triggered, this, Guarded([this] { Action101Click(); }));
  connect(tool_buttons_[tbLoad], &QAction::triggered, this, Guarded([this] { Action91Click(); }));
}

void TMainForm1::BuildMenus() {
  BuildFileMenu();
  BuildEditMenu();
  annotate_ = new TAnnotateMode(*this, *PictureView1, document_);
  menuBar()->addMenu(annotate_->Menu());
  addToolBarBreak();
  addToolBar(annotate_->ToolBar());
  BuildViewMenu();
  BuildOptionsMenu();
  BuildMonitorsMenu();
  BuildHelpMenus();
}

void TMainForm1::BuildFileMenu() {
  QMenu* menu = menuBar()->addMenu(tx::kFileMenu);
  menu->setObjectName("FileMenu");
  Close1 = OwnItem(tx::kClose, "Esc", "process-stop");
  connect(Close1, &QAction::triggered, this, &TMainForm1::Close1Click);
  menu->addAction(Close1);
  menu->setDefaultAction(Close1);
  menu->addSeparator();
  menu->addAction(SharedCommand(cmd::kSuspend));
  QAction* refresh = OwnItem(tx::kRefreshScreen, "F5", "view-refresh");
  refresh->setObjectName("RefreshScreen1");
  refresh->setEnabled(context_.platform.refresh != nullptr);
  connect(refresh, &QAction::triggered, this, &TMainForm1::RefreshScreen1Click);
  menu->addAction(refresh);
  menu->addSeparator();
  QAction* load_picture = OwnItem(tx::kLoadPicture, "Ctrl+L", "document-open");
  connect(load_picture, &QAction::triggered, this, Guarded([this] { Action91Click(); }));
  menu->addAction(load_picture);
  QAction* save_picture = OwnItem(tx::kSavePicture, "Ctrl+S", "document-save");
  connect(save_picture, &QAction::triggered, this, Guarded([this] { Action101Click(); }));
  menu->addAction(save_picture);
  menu->addAction(SharedCommand(cmd::kPrintPicture));
  QAction* print_preview = OwnItem(tx::kPrintPreview, "Ctrl+W", "document-print-preview");
  print_preview->setEnabled(bool(context_.services.ShowPrintSetup));
  connect(print_preview, &QAction::triggered, tool_buttons_[tbPage], &QAction::trigger);
  menu->addAction(print_preview);
  menu->addAction(SharedCommand(cmd::kSendEMail));
  QAction* get_picture = OwnItem(tx::kGetPictureOfVistrel, "Ctrl+G", "camera-photo");
  connect(get_picture, &QAction::triggered, this, &TMainForm1::GetPictureOfVistrelClick);
  menu->addAction(get_picture);
  menu->addSeparator();
  menu->addAction(SharedCommand(cmd::kAutomaticSave));
  menu->addSeparator();
  menu->addAction(SharedCommand(cmd::kResetAndExit));
  menu->addSeparator();
  menu->addAction(SharedCommand(cmd::kTerminate));
}

void TMainForm1::BuildEditMenu() {
  QMenu* menu = menuBar()->addMenu(tx::kEditMenu);
  menu->setObjectName("EditMenu");
  connect(menu, &QMenu::aboutToShow, this, &TMainForm1::EditMenuShow);
  menu->addAction(SharedCommand(cmd::kUndo));
  UndoSelection1 = OwnItem(tx::kUndoSelection, "Ctrl+U");
  menu->addAction(UndoSelection1);
  menu->addSeparator();
  for (int n : {cmd::kCopy, cmd::kPaste, cmd::kCut, cmd::kCrop}) menu->addAction(SharedCommand(n));
  menu->addSeparator();
  QMenu* functions = menu->addMenu(tx::kPictureFunctionsMenu);
  for (int n :
       {cmd::kGrayscaleColors, cmd::kInvertColors, cmd::kHorizontalMirror, cmd::kVerticalMirror,
        cmd::kSharpen, cmd::kRotate90, cmd::kBrightness, cmd::kContrast})
    functions->addAction(SharedCommand(n));
  functions->addSeparator();
  for (int n : {cmd::kResize640, cmd::kResize800, cmd::kResize1024, cmd::kResize1280,
                cmd::kResize768, cmd::kResize1152, cmd::kResize1600})
    functions->addAction(SharedCommand(n));
  menu->addSeparator();
  menu->addAction(SharedCommand(cmd::kStandardEditing));
  menu->addAction(SharedCommand(cmd::kAdvancedEditing));
}

void TMainForm1::BuildViewMenu() {
  QMenu* menu = menuBar()->addMenu(tx::kViewMenu);
  menu->setObjectName("ViewMenu");
  Toolbar1 = OwnItem(tx::kToolbar);
  Toolbar1->setCheckable(true);
  Toolbar1->setChecked(true);
  connect(Toolbar1, &QAction::toggled, tool_bar_, &QWidget::setVisible);
  menu->addAction(Toolbar1);
  Centered1 = OwnItem(tx::kCentered);
  Centered1->setCheckable(true);
  connect(Centered1, &QAction::triggered, PictureView1, &TPictureView::SetCenter);
  menu->addAction(Centered1);
  menu->addSeparator();
  QAction* normal = OwnItem(tx::kNormalView, "F1", "image-x-generic");
  connect(normal, &QAction::triggered, this, &TMainForm1::NormalView1Click);
  menu->addAction(normal);
  QAction* fit = OwnItem(tx::kFitView, "F2", "view-fullscreen");
  connect(fit, &QAction::triggered, this, &TMainForm1::FitView1Click);
  menu->addAction(fit);
  menu->addSeparator();
  QAction* restore = OwnItem(tx::kRestoreWindow, nullptr, "go-home");
  connect(restore, &QAction::triggered, this, &TMainForm1::RestoreWindowToDefault);
  menu->addAction(restore);
}

void TMainForm1::BuildOptionsMenu() {
  QMenu* menu = menuBar()->addMenu(tx::kOptionsMenu);
  menu->setObjectName("OptionsMenu");
  QMenu* quality = menu->addMenu(tx::kQualityFilterMenu);
  auto* filters = new QActionGroup(this);
  const char* names[] = {tx::kMitchell, tx::kBspline, tx::kLanczos3, tx::kBell};
  for (std::size_t i = 0; i < filter_items_.size(); ++i) {
    QAction* item = filters->addAction(names[i]);
    item->setCheckable(true);
    const TResampleFilter filter = *ResampleFilterFromStored(int(i) + 1);
    connect(item, &QAction::triggered, this, [this, filter] {
      context_.picture.ResampleFilter = filter;
      UpdateZoomFilter();
    });
    quality->addAction(item);
    filter_items_[i] = item;
  }
  filter_items_[0]->setChecked(true);
  for (int n : {cmd::kQualityRotate, cmd::kQualityZoom, cmd::kSound, cmd::kCloseAfterPrint,
                cmd::kShowInfoMessage, cmd::kAutoCrop, cmd::kAutomaticToClipboard,
                cmd::kClientAreaOnly, cmd::kIncludeCursor, cmd::kDirectPrinting})
    menu->addAction(SharedCommand(n));
  menu->addSeparator();
  menu->addAction(SharedCommand(cmd::kFooterText));
  menu->addAction(SharedCommand(cmd::kTypeDefaults));
  menu->addSeparator();
  QMenu* shortcuts = menu->addMenu(tx::kShortcutsMenu);
  const bool can_link = bool(context_.services.CreateRemoveShortcut);
  connect(shortcuts->addAction(tx::kShortcutDesktop), &QAction::triggered, this,
          &TMainForm1::CShortcut1Click);
  connect(shortcuts->addAction(tx::kShortcutStartMenu), &QAction::triggered, this,
          &TMainForm1::CShortcut2Click);
  connect(shortcuts->addAction(tx::kShortcutStartup), &QAction::triggered, this,
          &TMainForm1::CreateShortcutonStartupFolder1Click);
  for (QAction* item : shortcuts->actions()) item->setEnabled(can_link);
}

void TMainForm1::BuildMonitorsMenu() {
  monitors_menu_ = menuBar()->addMenu(tx::kMonitorsMenu);
  monitors_menu_->setObjectName("MonitorsMenu");
  // One radio group that can also be left without a check mark.
  auto* group = new QActionGroup(this);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (std::size_t i = 0; i < monitor_items_.size(); ++i) {
    QAction* item = group->addAction(i == 0 ? tx::kAllMonitors : tx::kMonitor[i - 1]);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, i] { MonitorClick(int(i)); });
    monitors_menu_->addAction(item);
    if (i == 0) monitors_menu_->addSeparator();
    monitor_items_[i] = item;
  }
}

void TMainForm1::BuildHelpMenus() {
  QMenu* hotkey = menuBar()->addMenu(tx::kHotkeyMenu);
  hotkey->setObjectName("HotkeyMenu");
  QAction* setup =
      hotkey->addAction(PictureIcon("preferences-desktop-keyboard-shortcuts"), tx::kHotkeySetup);
  setup->setEnabled(bool(context_.services.HotKeySetup));
  connect(setup, &QAction::triggered, this, &TMainForm1::Setup2Click);
  QMenu* help = menuBar()->addMenu(tx::kHelpMenu);
  help->setObjectName("HelpMenu");
  help->addAction(SharedCommand(cmd::kAbout));
  QAction* quick_help = help->addAction(PictureIcon("help-browser"), tx::kHelp);
  quick_help->setEnabled(bool(context_.services.OpenHelp));
  connect(quick_help, &QAction::triggered, this, &TMainForm1::QuickHelp1Click);
}

void TMainForm1::BuildPopupMenu() {
  popup_menu1_ = new QMenu(this);
  popup_menu1_->setObjectName("PopupMenu1");
  QMenu* rectangles = popup_menu1_->addMenu(tx::kRectanglesMenu);
  const struct {
    const char* caption;
    int size;
  } presets[] = {{tx::kRect16, 16}, {tx::kRect32, 32}, {tx::kRect64, 64}, {tx::kRect128, 128}};
  for (const auto& preset : presets) {
    const int size = preset.size;
    connect(rectangles->addAction(preset.caption), &QAction::triggered, this,
            [this, size] { RectanglePresetClick(size, size); });
  }
  rectangles->addSeparator();
  custom_rect_item_ = rectangles->addAction(QString());
  connect(custom_rect_item_, &QAction::triggered, this,
          [this] { RectanglePresetClick(options_.CustomW, options_.CustomH); });
  rectangles->addSeparator();
  QAction* define = rectangles->addAction(tx::kDefineRect);
  define->setEnabled(bool(context_.services.DefineRectangleSize));
  connect(define, &QAction::triggered, this, Guarded([this] {
            if (context_.picture.PictureBusy || !context_.services.DefineRectangleSize) return;
            context_.services.DefineRectangleSize(*this);
            custom_rect_item_->setText(
                QString("%1 x %2").arg(options_.CustomW).arg(options_.CustomH));
          }));
  for (int n : {cmd::kSelectCircular, cmd::kInsertText, cmd::kFreeHandDraw})
    popup_menu1_->addAction(SharedCommand(n));
  popup_menu1_->addSeparator();
  popup_menu1_->addAction(SharedCommand(cmd::kStandardEditing));
  popup_menu1_->addAction(SharedCommand(cmd::kAdvancedEditing));
}

void TMainForm1::ConnectCommands() {
  editing_ = new TEditingCommands(*this, document_);
  connect(UndoSelection1, &QAction::triggered, editing_, &TEditingCommands::UndoSelection);
  connect(SharedCommand(cmd::kCopy), &QAction::triggered, this, &TMainForm1::CopyCommandExecute);
  connect(SharedCommand(cmd::kQualityZoom), &QAction::toggled, this, &TMainForm1::UpdateZoomFilter);
  connect(SharedCommand(cmd::kStandardEditing), &QAction::triggered, this, [this] {
    if (context_.services.ShowStandardEditingWindow) context_.services.ShowStandardEditingWindow(*this);
  });
  connect(SharedCommand(cmd::kPrintPicture), &QAction::triggered, this, [this] {
    if (!context_.picture.PictureBusy) ToolButton11Click();
  });
  // Switched on by the user, the check mark is set before the tray form's
  // handler asks its question (and unsets it on No). That handler was
  // connected first, so "triggered" reaches the caption after the answer.
  // Switching off needs no question and shows at once; switched on by the
  // program, the caption follows when the event loop runs and no question
  // is open.
  connect(SharedCommand(cmd::kAutomaticSave), &QAction::triggered, this,
          &TMainForm1::UpdateAutoSaveCaption);
  connect(SharedCommand(cmd::kAutomaticSave), &QAction::toggled, this, [this](bool on) {
    if (!on) return UpdateAutoSaveCaption();
    QTimer::singleShot(0, this, [this] {
      if (!QApplication::activeModalWidget()) UpdateAutoSaveCaption();
    });
  });
  // Enter anywhere in the window prints, as the "Print" button.
  for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
    auto* enter = new QShortcut(QKeySequence(key), this);
    connect(enter, &QShortcut::activated, this, &TMainForm1::ToolButton11Click);
  }
}

void TMainForm1::UpdateAutoSaveCaption() {
  tool_buttons_[tbAutoSave]->setText(context_.commands.Checked(cmd::kAutomaticSave) ? tx::kOn
                                                                                    : tx::kOff);
}

void TMainForm1::EditMenuShow() {
  const bool selection = PictureView1->HasSelection();
  SetCutCropEnabled(selection);
  SetPasteEnabled(ClipboardHoldsPicture());
  editing_->UpdateUndoCommand();
}

void TMainForm1::ToolButtonCropClick() {
  // Crop runs only while its button is enabled, whatever the command says.
  if (!tool_buttons_[tbCrop]->isEnabled()) return;
  if (context_.commands.Checked(cmd::kAutomaticToClipboard)) Action5Execute();
  editing_->Crop();
}

}  // namespace vistrel
