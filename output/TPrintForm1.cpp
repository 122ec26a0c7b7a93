#include "output/TPrintForm1.h"
#include "commands/command_table.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "commands/error_guard.h"
#include "commands/TInfoForm1.h"
#include "output/TPageImage.h"
#include "picture/picture_document.h"

namespace vistrel {

namespace {
constexpr int kCpiPoints[] = {8, 10, 12};
const QString kDefault = QString::fromLatin1(kDefaultPrinterEntry);

// While a pass runs and when it ends however: copies back to 1, the
// preview flag cleared.
class PassScope {
 public:
  PassScope(QSpinBox* copies, bool& running, bool preview)
      : copies_(copies), running_(running), preview_(preview) {
    if (preview_) running_ = true;
  }
  ~PassScope() {
    copies_->setValue(1);
    if (preview_) running_ = false;
  }

 private:
  QSpinBox* copies_;
  bool& running_;
  bool preview_;
};
}  // namespace

QString PrintedEntry(const QString& entry, const std::string& default_name) {
  return entry == kDefault ? QString::fromStdString(default_name) : entry;
}

TPrintForm1::TPrintForm1(TPrintedPicture target, IPrinters& printers, QWidget* parent)
    : QDialog(parent),
      target_(std::move(target)),
      context_(target_.context),
      document_(target_.document),
      printers_(printers) {
  setObjectName("PrintForm1");
  setWindowTitle(kCaption);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  BuildControls();
  {
    SettingsStore store;
    options_ = TPrinterOptions::Load(store);
  }
  LoadControls();
  ConnectControls();
  setFixedSize(sizeHint());
}

TPrintForm1::~TPrintForm1() {
  if (!context_.flags.WritesSettings()) return;
  StoreControls();
  SettingsStore store;
  options_.Save(store);
  store.Close();
}

void TPrintForm1::BuildControls() {
  auto* printer_group = new QGroupBox("Selected Printer and Paper Orientation");
  ComboBox1 = new QComboBox;
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setEditable(false);
  ComboBox1->setMinimumWidth(220);
  Portrait = new QRadioButton("Portrait");
  Portrait->setObjectName("Portrait");
  Landscape = new QRadioButton("Landscape");
  Landscape->setObjectName("Landscape");
  Copies = new QSpinBox;
  Copies->setObjectName("Copies");
  Copies->setRange(1, 99);
  {
    auto* grid = new QGridLayout(printer_group);
    grid->addWidget(ComboBox1, 0, 0, 1, 3);
    grid->addWidget(Portrait, 1, 0);
    grid->addWidget(Landscape, 1, 1);
    grid->addWidget(new QLabel("Number of copies"), 2, 0);
    grid->addWidget(Copies, 2, 1);
  }

  auto* picture_group = new QGroupBox("Picture on paper");
  ComboBox2 = new QComboBox;
  ComboBox2->setObjectName("ComboBox2");
  ComboBox2->setEditable(true);
  ComboBox2->setInsertPolicy(QComboBox::NoInsert);
  for (const char* entry : kAlignments) ComboBox2->addItem(entry);
  KeepProportions = new QCheckBox("Keep Proportions");
  KeepProportions->setObjectName("KeepProportions");
  PercentPicture = new QRadioButton("Picture Size in %");
  PercentPicture->setObjectName("PercentPicture");
  PercentPage = new QRadioButton("Size as % of Page");
  PercentPage->setObjectName("PercentPage");
  scaling_ = new QButtonGroup(this);
  scaling_->addButton(PercentPicture);
  scaling_->addButton(PercentPage);
  PercentPictureValue = new QSpinBox;
  PercentPictureValue->setObjectName("PercentPictureValue");
  PercentPictureValue->setRange(10, 400);
  PercentPageValue = new QSpinBox;
  PercentPageValue->setObjectName("PercentPageValue");
  PercentPageValue->setRange(10, 100);
  auto* rotate = new QPushButton(QString::fromUtf8("Rotate 90\u00b0"));
  rotate->setObjectName("RotateButton");
  connect(rotate, &QPushButton::clicked, this, Guarded([this] { RotateClick(); }));
  {
    auto* grid = new QGridLayout(picture_group);
    grid->addWidget(ComboBox2, 0, 0, 1, 2);
    grid->addWidget(KeepProportions, 1, 0);
    grid->addWidget(rotate, 1, 1);
    grid->addWidget(PercentPicture, 2, 0);
    grid->addWidget(PercentPictureValue, 2, 1);
    grid->addWidget(PercentPage, 3, 0);
    grid->addWidget(PercentPageValue, 3, 1);
  }

  auto* footer_group = new QGroupBox("Footer");
  CheckListBox1 = new QListWidget;
  CheckListBox1->setObjectName("CheckListBox1");
  for (const char* line : kFooterLines) {
    auto* item = new QListWidgetItem(line, CheckListBox1);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  CheckListBox1->setFixedHeight(CheckListBox1->sizeHintForRow(0) * 4 +
                                2 * CheckListBox1->frameWidth() + 2);
  cpi_group_ = new QButtonGroup(this);
  const char* cpi_captions[] = {"08 Cpi", "10 Cpi", "12 Cpi"};
  auto* cpi_column = new QVBoxLayout;
  for (std::size_t i = 0; i < cpi_.size(); ++i) {
    cpi_[i] = new QRadioButton(cpi_captions[i]);
    cpi_[i]->setObjectName(QString("Cpi%1").arg(kCpiPoints[i]));
    cpi_group_->addButton(cpi_[i], int(i));
    cpi_column->addWidget(cpi_[i]);
  }
  auto* footer_text = new QPushButton("Footer Text");
  footer_text->setObjectName("FooterTextButton");
  connect(footer_text, &QPushButton::clicked, this, Guarded([this] { Action33Execute(); }));
  cpi_column->addWidget(footer_text);
  {
    auto* row = new QHBoxLayout(footer_group);
    row->addWidget(CheckListBox1, 1);
    row->addLayout(cpi_column);
  }

  auto* default_button = new QPushButton("&Default");
  default_button->setObjectName("DefaultButton");
  connect(default_button, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
  auto* setup = new QPushButton("Setup");
  setup->setObjectName("SetupButton");
  setup->setToolTip("Printer Setup");
  connect(setup, &QPushButton::clicked, this, Guarded([this] { SetupClick(); }));
  auto* close = new QPushButton("Close");
  close->setObjectName("CloseButton");
  close->setToolTip("Close");
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  PrintButton = new QPushButton("Print");
  PrintButton->setObjectName("PrintButton");
  PrintButton->setToolTip("Print the Picture");
  PrintButton->setEnabled(false);
  connect(PrintButton, &QPushButton::clicked, this, Guarded([this] { ToolButton11Click(false); }));
  for (QPushButton* b : {default_button, setup, close, PrintButton}) b->setAutoDefault(false);

  TActionList1& commands = context_.commands;
  Optimize = new QCheckBox(commands.Action(cmd::kOptimizePrinting)->text());
  Optimize->setObjectName("Optimize");
  Optimize->setToolTip(commands.Action(cmd::kOptimizePrinting)->toolTip());
  Grayscale = new QCheckBox(commands.Action(cmd::kGrayscalePrinting)->text());
  Grayscale->setObjectName("Grayscale");

  auto* preview_label = new QLabel("Print Preview");
  PreviewArea = new QScrollArea;
  PreviewArea->setObjectName("PreviewArea");
  PreviewArea->setFixedSize(kPreviewAreaWidth + 2 * PreviewArea->frameWidth(),
                            kPreviewAreaHeight + 2 * PreviewArea->frameWidth());
  PreviewArea->setBackgroundRole(QPalette::Dark);
  auto* sheet = new QWidget;
  sheet->setObjectName("PreviewSheet");
  sheet->setAutoFillBackground(true);
  QPalette grey = sheet->palette();
  grey.setColor(QPalette::Window, QColor(128, 128, 128));
  sheet->setPalette(grey);
  Shadow = new QFrame(sheet);
  Shadow->setStyleSheet("background-color: rgb(64, 64, 64)");
  Paper = new QFrame(sheet);
  Paper->setObjectName("Paper");
  Paper->setAutoFillBackground(true);
  QPalette white = Paper->palette();
  white.setColor(QPalette::Window, Qt::white);
  Paper->setPalette(white);
  PageImage = new TPageImage(sheet);
  PageImage->setObjectName("PageImage");
  PageImage->setToolTip("Click on Paper to Zoom in/out");
  connect(PageImage, &TPageImage::Clicked, this, [this] { OriginalSize->click(); });
  PreviewArea->setWidget(sheet);
  OriginalSize = new QCheckBox("Original Size");
  OriginalSize->setObjectName("OriginalSize");
  StatusLine = new QLabel;
  StatusLine->setObjectName("StatusLine");
  StatusLine->setFrameShape(QFrame::StyledPanel);
  StatusLine->setFrameShadow(QFrame::Sunken);

  auto* left = new QVBoxLayout;
  left->addWidget(printer_group);
  left->addWidget(picture_group);
  left->addWidget(footer_group);
  auto* checks = new QHBoxLayout;
  checks->addWidget(Optimize);
  checks->addWidget(Grayscale);
  checks->addStretch();
  left->addLayout(checks);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {default_button, setup, close, PrintButton}) buttons->addWidget(b);
  left->addLayout(buttons);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(preview_label);
  right->addWidget(PreviewArea);
  right->addWidget(OriginalSize);
  right->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addLayout(right);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addWidget(StatusLine);
}

void TPrintForm1::LoadControls() {
  const TPrinterOptions& o = options_;
  for (int i = 0; i < CheckListBox1->count(); ++i)
    CheckListBox1->item(i)->setCheckState(o.RItem[std::size_t(i)] ? Qt::Checked : Qt::Unchecked);
  alignment_ = o.RAlignment >= 0 && o.RAlignment < int(kAlignments.size()) ? o.RAlignment : -1;
  if (alignment_ < 0) {
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->setEditText(QString());
  } else {
    ComboBox2->setCurrentIndex(alignment_);
  }
  (o.RPortrait || !o.RLandscape ? Portrait : Landscape)->setChecked(true);
  if (o.RPercentPicture)
    PercentPicture->setChecked(true);
  else if (o.RPercentPage)
    PercentPage->setChecked(true);
  const bool cpi[] = {o.R8Cpi, o.R10Cpi, o.R12Cpi};
  for (std::size_t i = 0; i < cpi_.size(); ++i)
    if (cpi[i]) {
      cpi_[i]->setChecked(true);
      break;
    }
  KeepProportions->setChecked(o.RProportional);
  Copies->setValue(o.RCopies);  // the controls clamp stored values to their ranges
  PercentPictureValue->setValue(o.RPercentPictureValue);
  PercentPageValue->setValue(o.RPercentPageValue);
  TActionList1& commands = context_.commands;
  commands.SetChecked(cmd::kOptimizePrinting, o.SmallSize);
  commands.SetChecked(cmd::kGrayscalePrinting, o.GrayScale);
  Optimize->setChecked(o.SmallSize);
  Grayscale->setChecked(o.GrayScale);
}

void TPrintForm1::StoreControls() {
  TPrinterOptions& o = options_;
  for (int i = 0; i < CheckListBox1->count(); ++i)
    o.RItem[std::size_t(i)] = CheckListBox1->item(i)->checkState() == Qt::Checked;
  o.RAlignment = alignment_;
  o.RPortrait = Portrait->isChecked();
  o.RLandscape = Landscape->isChecked();
  o.RPercentPicture = PercentPicture->isChecked();
  o.RPercentPage = PercentPage->isChecked();
  o.R8Cpi = cpi_[0]->isChecked();
  o.R10Cpi = cpi_[1]->isChecked();
  o.R12Cpi = cpi_[2]->isChecked();
  o.RProportional = KeepProportions->isChecked();
  o.RCopies = Copies->value();
  o.RPercentPictureValue = PercentPictureValue->value();
  o.RPercentPageValue = PercentPageValue->value();
  o.SmallSize = Optimize->isChecked();
  o.GrayScale = Grayscale->isChecked();
}

void TPrintForm1::ConnectControls() {
  auto refresh = [this] { RunGuarded([this] { RefreshPreview(); }); };
  connect(ComboBox1, &QComboBox::activated, this, [this, refresh](int) {
    options_.RPrinter = ComboBox1->currentText().toStdString();
    refresh();
  });
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
           Portrait, Landscape, KeepProportions, PercentPicture, PercentPage, OriginalSize})
    connect(b, &QAbstractButton::clicked, this, refresh);
  for (QRadioButton* b : cpi_) connect(b, &QAbstractButton::clicked, this, refresh);
  for (QSpinBox* s : {PercentPictureValue, PercentPageValue})
    connect(s, &QSpinBox::valueChanged, this, refresh);
  connect(CheckListBox1, &QListWidget::itemChanged, this, refresh);
  connect(ComboBox2, &QComboBox::editTextChanged, this, [this, refresh](const QString& text) {
    const int index = ComboBox2->findText(text, Qt::MatchExactly);
    if (index == alignment_) return;
    alignment_ = index;
    refresh();
  });

  TActionList1& commands = context_.commands;
  QAction* optimize = commands.Action(cmd::kOptimizePrinting);
  QAction* grayscale = commands.Action(cmd::kGrayscalePrinting);
  connect(Optimize, &QCheckBox::clicked, optimize, &QAction::setChecked);
  connect(Grayscale, &QCheckBox::clicked, grayscale, &QAction::setChecked);
  connect(optimize, &QAction::toggled, this, [this, refresh](bool on) {
    Optimize->setChecked(on);
    refresh();
  });
  connect(grayscale, &QAction::toggled, this, [this, refresh](bool on) {
    Grayscale->setChecked(on);
    refresh();
  });
  connect(commands.Action(cmd::kFooterText), &QAction::triggered, this,
          Guarded([this] { Action33Execute(); }));
}

void TPrintForm1::SelectEntry(const QString& text) {
  for (int i = 0; i < ComboBox1->count(); ++i)
    if (ComboBox1->itemText(i) == text) ComboBox1->setCurrentIndex(i);  // the last equal one wins
}

void TPrintForm1::FillPrinterList() {
  if (list_filled_) return;
  TPrinterList list;
  std::optional<PrinterError> fault;
  try {
    list = printers_.List();
  } catch (const PrinterError& e) {
    fault = e;
  }
  const QString stored = QString::fromStdString(options_.RPrinter);
  ComboBox1->clear();
  if (list.answered) {
    for (const std::string& name : list.names) ComboBox1->addItem(QString::fromStdString(name));
    installed_ = std::move(list);
    list_filled_ = true;
  } else if (stored != kDefault) {
    // The print system is away: the stored choice stays until it answers.
    ComboBox1->addItem(stored);
  }
  ComboBox1->addItem(kDefault);
  ComboBox1->setCurrentIndex(ComboBox1->count() - 1);
  SelectEntry(stored);
  options_.RPrinter = ComboBox1->currentText().toStdString();
  if (fault) throw *fault;
}

TPageSetup TPrintForm1::SelectedSetup() {
  FillPrinterList();
  TPageSetup setup;
  const QString entry = ComboBox1->currentText();
  if (entry == kDefault) {
    if (!installed_.answered)
      throw PrinterError("Default Printer: the print system (CUPS) is not running");
    if (installed_.default_name.empty())
      throw PrinterError("There is no default printer currently selected");
    setup.printer = installed_.default_name;
  } else {
    setup.printer = entry.toStdString();
  }
  setup.orientation =
      Landscape->isChecked() ? TPageOrientation::Landscape : TPageOrientation::Portrait;
  setup.paper_size = options_.RPapersize;
  setup.paper_source = options_.RDefaultsource;
  return setup;
}

TPrintLayout TPrintForm1::Layout() {
  const TPageSetup setup = SelectedSetup();
  TPrintLayout layout;
  layout.queue = setup.printer;
  layout.entry = PrintedEntry(ComboBox1->currentText(), installed_.default_name);
  layout.orientation = setup.orientation;
  layout.paper_size = setup.paper_size;
  layout.paper_source = setup.paper_source;
  layout.copies = Copies->value();
  layout.scaling = PercentPicture->isChecked() ? TPrintScaling::PicturePercent
                   : PercentPage->isChecked()  ? TPrintScaling::PagePercent
                                               : TPrintScaling::None;
  layout.picture_percent = PercentPictureValue->value();
  layout.page_percent = PercentPageValue->value();
  layout.keep_proportions = KeepProportions->isChecked();
  layout.alignment = alignment_;
  for (int i = 0; i < CheckListBox1->count(); ++i)
    layout.footer[std::size_t(i)] = CheckListBox1->item(i)->checkState() == Qt::Checked;
  const int cpi = cpi_group_->checkedId();
  layout.footer_points = cpi >= 0 ? kCpiPoints[cpi] : 0;
  layout.optimize = Optimize->isChecked();
  layout.grayscale = Grayscale->isChecked();
  return layout;
}

bool TPrintForm1::ToolButton11Click(bool preview) {
  if (preview && preview_running_) return false;
  TAppContext& context = context_;
  bool close_window = false;
  bool done = false;
  {
    PassScope scope(Copies, preview_running_, preview);
    const TPrintLayout layout = Layout();
    TPrintPassHooks hooks;
    const bool show_info = context.commands.Checked(cmd::kShowInfoMessage);
    hooks.sent = [show_info](const QString& text) {
      const QPoint at = QCursor::pos() + QPoint(4, 4);
      ShowInfoPopup(at.x(), at.y(), text, show_info);
    };
    hooks.pump = [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    const TPrintPassResult result =
        RunPrintPass(document_.Picture(), layout,
                     FooterTexts(target_.footer_text), preview, printers_, hooks);
    if (preview) ShowOnPage(result);
    done = preview || (layout.copies >= 1 && int(result.accepted.size()) == layout.copies);
    close_window = done && !preview && context.commands.Checked(cmd::kCloseAfterPrint);
  }
  if (close_window) {
    // Only closed: whoever owns the window destroys it.
    if (isVisible()) reject();
    if (target_.close_window) target_.close_window();
  }
  return done;
}

void TPrintForm1::ShowOnPage(const TPrintPassResult& result) {
  if (result.preview) PageImage->SetPage(*result.preview, result.page_size);
  StatusLine->setText(" Picture Size in KBytes = " + QString::number(result.picture_bytes / 1024));
}

void TPrintForm1::PlacePaper(const TPreviewPaper& paper) {
  QWidget* sheet = PreviewArea->widget();
  sheet->resize(std::max(kPreviewAreaWidth, paper.left + paper.width + 6),
                std::max(kPreviewAreaHeight, paper.top + paper.height + 6));
  PreviewArea->ensureVisible(0, 0);
  Shadow->setGeometry(paper.left + 6, paper.top + 6, paper.width, paper.height);
  Paper->setGeometry(paper.left, paper.top, paper.width, paper.height);
  PageImage->setGeometry(paper.left + 4, paper.top + 4, std::max(0, paper.width - 8),
                         std::max(0, paper.height - 8));
  Paper->raise();
  PageImage->raise();
}

void TPrintForm1::RefreshPreview() {
  if (preview_running_ || !isVisible()) return;
  PrintButton->setEnabled(false);
  PageImage->Clear();
  preview_ok_ = false;
  const TPageSetup setup = SelectedSetup();
  const TPageMetrics page = printers_.Metrics(setup);
  PlacePaper(PreviewPaper(page.width, page.height, setup.orientation == TPageOrientation::Landscape,
                          OriginalSize->isChecked()));
  ToolButton11Click(true);
  PrintButton->setEnabled(true);
  preview_ok_ = true;
}

void TPrintForm1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Once the dialog runs its own loop: the pass lets messages run, and a
  // close request among them must find the loop to end.
  QTimer::singleShot(0, this, [this] { RunGuarded([this] { RefreshPreview(); }); });
}

void TPrintForm1::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  PageImage->Clear();
}

void TPrintForm1::ToolButton9Click() {
  if (context_.picture.PictureBusy) return;
  TActionList1& commands = context_.commands;
  commands.DisableClipboardCommands();
  adjustSize();
  const QRect w = parentWidget() ? parentWidget()->frameGeometry()
                                 : QGuiApplication::primaryScreen()->geometry();
  move(w.left() + (w.width() - width()) / 2, w.top() + (w.height() - height()) / 2);
  exec();
  commands.EnableClipboardCommands();
}

void TPrintForm1::Button1Click() {
  Portrait->setChecked(true);
  Copies->setValue(1);
  alignment_ = 0;
  ComboBox2->setCurrentIndex(0);
  KeepProportions->setChecked(true);
  PercentPicture->setChecked(true);
  {
    const QSignalBlocker a(PercentPictureValue), b(PercentPageValue);
    PercentPictureValue->setValue(100);
    PercentPageValue->setValue(100);
  }
  cpi_[0]->setChecked(true);
  options_.RPapersize = 0;
  options_.RDefaultsource = 0;
  {
    const QSignalBlocker block(CheckListBox1);
    for (int i = 0; i < CheckListBox1->count(); ++i)
      CheckListBox1->item(i)->setCheckState(Qt::Unchecked);
  }
  RefreshPreview();
}

void TPrintForm1::TakePrinter(const std::string& before, const std::string& chosen) {
  // The entry that prints on the chosen queue already stays ("Default
  // Printer" too).
  if (chosen == before) return;
  SelectEntry(QString::fromStdString(chosen));
  options_.RPrinter = ComboBox1->currentText().toStdString();
}

void TPrintForm1::SetupClick() {
  TPageSetup setup = SelectedSetup();
  const std::string before = setup.printer;
  if (printers_.SetupDialog(setup, installed_.names, this)) {
    TakePrinter(before, setup.printer);
    (setup.orientation == TPageOrientation::Landscape ? Landscape : Portrait)->setChecked(true);
    options_.RPapersize = setup.paper_size;
    options_.RDefaultsource = setup.paper_source;
  }
  RefreshPreview();
}

void TPrintForm1::PrinterSetup1Click() {
  TPageSetup setup = SelectedSetup();
  const std::string before = setup.printer;
  QWidget* over = parentWidget() ? parentWidget() : this;
  if (printers_.SetupDialog(setup, installed_.names, over)) TakePrinter(before, setup.printer);
}

void TPrintForm1::Action33Execute() {
  TActionList1& commands = context_.commands;
  std::string& footer = target_.footer_text;
  commands.DisableClipboardCommands();
  bool ok = false;
  QWidget* parent = isVisible() || !parentWidget() ? static_cast<QWidget*>(this) : parentWidget();
  const QString text = QInputDialog::getText(parent, "Footer Text", "Enter Text", QLineEdit::Normal,
                                             QString::fromStdString(footer), &ok);
  commands.EnableClipboardCommands();
  if (ok) footer = text.toStdString();
  RefreshPreview();
}

void TPrintForm1::RotateClick() {
  if (!context_.picture.PictureBusy) {
    document_.Proc().Rotate(90.0, context_.commands.Checked(cmd::kQualityRotate));
    if (target_.picture_changed) target_.picture_changed();
  }
  RefreshPreview();
}

void TPrintForm1::BuildPageMenu(QMenu& menu) {
  page_menu_ = &menu;
  TActionList1& commands = context_.commands;
  QAction* setup = menu.addAction("Printer Setup");
  connect(setup, &QAction::triggered, this, Guarded([this] { PrinterSetup1Click(); }));
  menu.addSeparator();
  menu.addAction(commands.Action(cmd::kOptimizePrinting));
  menu.addAction(commands.Action(cmd::kGrayscalePrinting));
  menu.addSeparator();
  for (int i = 0; i < kMaxMenuPrinters; ++i) {
    QAction* entry = menu.addAction(QString());
    entry->setCheckable(true);
    entry->setVisible(false);
    connect(entry, &QAction::triggered, this, [this, i] { p11Click(i); });
    menu_printers_[std::size_t(i)] = entry;
  }
  connect(&menu, &QMenu::aboutToShow, this, Guarded([this] { PopupMenu4Popup(); }));
}

void TPrintForm1::PopupMenu4Popup() {
  for (QAction* entry : menu_printers_) {
    entry->setVisible(false);
    entry->setChecked(false);
  }
  // A print system that does not answer is reported once the entries it
  // left (the stored printer, "Default Printer") are in the menu.
  std::optional<PrinterError> fault;
  try {
    FillPrinterList();
  } catch (const PrinterError& e) {
    fault = e;
  }
  const int shown = std::min(ComboBox1->count(), kMaxMenuPrinters);
  for (int i = 0; i < shown; ++i) {
    QAction* entry = menu_printers_[std::size_t(i)];
    entry->setText(ComboBox1->itemText(i));
    entry->setVisible(true);
    entry->setChecked(i == ComboBox1->currentIndex());
  }
  if (fault) throw *fault;
}

void TPrintForm1::p11Click(int entry) {
  for (QAction* item : menu_printers_) item->setChecked(false);
  if (entry < 0 || entry >= ComboBox1->count()) return;
  ComboBox1->setCurrentIndex(entry);
  options_.RPrinter = ComboBox1->currentText().toStdString();
  menu_printers_[std::size_t(entry)]->setChecked(true);
}

}  // namespace vistrel
