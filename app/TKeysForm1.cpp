#include "app/TKeysForm1.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "commands/message_boxes.h"
#include "app/hotkeys/hotkey_rules.h"
#include "app/hotkeys/hotkey_table.h"
#include "settings/settings_store.h"

namespace vistrel {

namespace tx = keys_form_texts;

namespace {

QLabel* Heading(const char* text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  font.setUnderline(true);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

QLabel* SunkenBox(const char* text, const char* hint, QWidget* parent) {
  auto* box = new QLabel(text, parent);
  box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  box->setToolTip(hint);
  return box;
}

template <std::size_t N>
QComboBox* DropDownList(const std::array<THotKeyChoice, N>& choices, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setEditable(false);
  for (const THotKeyChoice& choice : choices)
    list->addItem(QString::fromLatin1(choice.text.data(), qsizetype(choice.text.size())));
  return list;
}

void SetShown(QComboBox* list, int index) {
  if (list->currentIndex() == index) return;
  const QSignalBlocker quiet(list);
  list->setCurrentIndex(index);
}

}  // namespace

TKeysForm1::TKeysForm1(THotKeys& hotkeys, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      hotkeys_(hotkeys),
      lending_(hotkeys.Desktop().Lending()) {
  setObjectName("KeysForm1");
  setWindowTitle(tx::kCaption);
  auto* grid = new QGridLayout(this);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  grid->setContentsMargins(8, 6, 8, 8);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  grid->addWidget(Heading(tx::kFunctionHeading, this), 0, 0);
  grid->addWidget(Heading(tx::kKeyHeading, this), 0, 1);
  grid->addWidget(Heading(tx::kModifierHeading, this), 0, 2);

  QWidget* previous = nullptr;
  for (int row = 0; row < kRows; ++row) {
    QLabel* function = SunkenBox(tx::kFunctions[row], tx::kFunctionHints[row], this);
    function->setAutoFillBackground(true);
    QPalette white = function->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    function->setPalette(white);
    function->setMinimumWidth(180);
    QComboBox* key = DropDownList(kHotKeyKeys, this);
    key->setMaxVisibleItems(12);
    // Styles that drop a list down like a menu (Fusion among them) show
    // every entry that fits the screen; a plain list keeps to the twelve.
    key->setStyleSheet("QComboBox { combobox-popup: 0; }");
    key->setObjectName(QString("KeyList%1").arg(row + 1));
    QComboBox* modifier = DropDownList(kHotKeyModifiers, this);
    modifier->setObjectName(QString("ModifierList%1").arg(row + 1));
    grid->addWidget(function, row + 1, 0);
    grid->addWidget(key, row + 1, 1);
    grid->addWidget(modifier, row + 1, 2);
    key_lists_[std::size_t(row)] = key;
    modifier_lists_[std::size_t(row)] = modifier;
    connect(key, &QComboBox::activated, this, [this, row](int k) { KeyChosen(row, k); });
    connect(modifier, &QComboBox::activated, this, [this, row](int m) { ModifierChosen(row, m); });
    if (previous) setTabOrder(previous, key);
    setTabOrder(key, modifier);
    previous = modifier;
  }

  const bool grabs = lending_ == THotkeyLending::Grabs;
  QLabel* notice = grabs ? SunkenBox(tx::kNotice, tx::kNoticeHint, this)
                   : lending_ == THotkeyLending::Assigned
                       ? SunkenBox(tx::kAssignedNotice, tx::kAssignedHint, this)
                       : SunkenBox(tx::kNoKeysNotice, tx::kNoKeysHint, this);
  notice->setAlignment(Qt::AlignCenter);
  notice->setMargin(2);
  default_button_ = new QPushButton(tx::kDefault, this);
  default_button_->setAutoDefault(false);
  close_button_ = new QPushButton(tx::kClose, this);
  close_button_->setDefault(true);
  grid->setRowMinimumHeight(kRows + 1, 6);
  grid->addWidget(notice, kRows + 2, 0);
  grid->addWidget(default_button_, kRows + 2, 1);
  grid->addWidget(close_button_, kRows + 2, 2);
  setTabOrder(previous, default_button_);
  setTabOrder(default_button_, close_button_);
  connect(default_button_, &QPushButton::clicked, this, &TKeysForm1::DefaultClick);
  connect(close_button_, &QPushButton::clicked, this, &TKeysForm1::CloseClick);
  if (!grabs) AddDesktopColumn(grid);
  ShowTable();
}

TKeysForm1::~TKeysForm1() { hotkeys_.SetAssignedChanged(nullptr); }

void TKeysForm1::AddDesktopColumn(QGridLayout* grid) {
  const bool assigned = lending_ == THotkeyLending::Assigned;
  grid->addWidget(Heading(assigned ? tx::kAssignedHeading : tx::kCommandHeading, this), 0, 3);
  for (int row = 0; row < kRows; ++row) {
    if (assigned) {
      auto* key = new QLabel(this);
      key->setObjectName(QString("AssignedKey%1").arg(row + 1));
      key->setMinimumWidth(140);
      grid->addWidget(key, row + 1, 3);
      assigned_[std::size_t(row)] = key;
    } else {
      // Read-only but selectable, to be copied into the desktop's settings.
      auto* line = new QLineEdit(QString::fromStdString(HotKeyCommandLine(row)), this);
      line->setObjectName(QString("CommandLine%1").arg(row + 1));
      line->setReadOnly(true);
      line->setMinimumWidth(line->fontMetrics().horizontalAdvance(line->text()) + 16);
      grid->addWidget(line, row + 1, 3);
      command_lines_[std::size_t(row)] = line;
    }
  }
  auto* explanation = new QLabel(assigned ? tx::kAssignedHint : tx::kNoKeysHint, this);
  explanation->setObjectName("DesktopKeysNotice");
  explanation->setWordWrap(true);
  grid->addWidget(explanation, kRows + 3, 0, 1, 4);
  if (!assigned) return;
  configure_button_ = new QPushButton(tx::kConfigure, this);
  configure_button_->setObjectName("ConfigureButton");
  configure_button_->setAutoDefault(false);
  grid->addWidget(configure_button_, kRows + 2, 3);
  connect(configure_button_, &QPushButton::clicked, this,
          [this] { hotkeys_.Desktop().Configure(); });
  hotkeys_.SetAssignedChanged([this] { ShowAssigned(); });
  ShowAssigned();
}

void TKeysForm1::ShowAssigned() {
  for (int row = 0; row < kRows; ++row) {
    const std::string key = hotkeys_.Desktop().AssignedTrigger(kFirstHotKeyId + row);
    assigned_[std::size_t(row)]->setText(key.empty() ? QString(tx::kNotAssigned)
                                                     : QString::fromStdString(key));
  }
  // The page belongs to the keys bound last; there is none before that.
  configure_button_->setEnabled(hotkeys_.Desktop().CanConfigure());
}

void TKeysForm1::ShowTable() {
  for (int row = 0; row < kRows; ++row) {
    const THotKeySlot& slot = hotkeys_.Table().keys[std::size_t(row)];
    SetShown(key_lists_[std::size_t(row)], ShownKeyIndex(slot));
    SetShown(modifier_lists_[std::size_t(row)], ShownModifierIndex(slot));
  }
}

void TKeysForm1::paintEvent(QPaintEvent* event) {
  ShowTable();
  QDialog::paintEvent(event);
}

void TKeysForm1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  key_lists_[0]->setFocus(Qt::OtherFocusReason);
}

void TKeysForm1::KeyChosen(int row, int k) {
  THotKeySlot& slot = hotkeys_.Table().keys[std::size_t(row)];
  if (!ChooseKey(slot, k)) {
    SetShown(key_lists_[std::size_t(row)], ShownKeyIndex(slot));
    ShowWarningBox(this, tx::kKeyRefused);
  }
  update();
}

void TKeysForm1::ModifierChosen(int row, int m) {
  THotKeySlot& slot = hotkeys_.Table().keys[std::size_t(row)];
  if (!ChooseModifier(slot, m)) {
    SetShown(modifier_lists_[std::size_t(row)], ShownModifierIndex(slot));
    ShowWarningBox(this, tx::kModifierRefused);
  }
  update();
}

void TKeysForm1::DefaultClick() {
  // The table changes at once; it is stored and registered on closing.
  hotkeys_.Table().SetDefaultHotKeys();
  ShowTable();
  repaint();
}

void TKeysForm1::CloseClick() {
  if (HasDuplicateHotKey(hotkeys_.Table())) {
    ShowWarningBox(this, tx::kDuplicate);
    return;
  }
  {
    SettingsStore store;
    hotkeys_.Table().SaveHotKeys(store);
  }
  const std::vector<int> refused = hotkeys_.RegisterHotKeys();
  // Where the desktop lends no keys every key is refused, as the dialog says.
  if (!refused.empty() && lending_ != THotkeyLending::None)
    ShowWarningBox(this, QString::fromStdString(RefusedHotKeysText(hotkeys_.Table(), refused)));
  accept();
}

void TKeysForm1::reject() { CloseClick(); }

}  // namespace vistrel
