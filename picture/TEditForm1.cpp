#include "picture/TEditForm1.h"
#include "commands/command_table.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <stdexcept>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "commands/error_guard.h"
#include "settings/picture_options.h"
#include "imaging/operations/convolution.h"
#include "picture/ColorBox.h"
#include "picture/EditFormTexts.h"
#include "picture/picture_services.h"
#include "picture/TMainForm1.h"
#include "picture/editing_commands.h"

namespace vistrel {

namespace tx = edit_form_texts;

namespace {

// Smallest side "Change" resizes to.
constexpr int kMinChangeSize = 16;
// Distance of the window from the screen's top and right edges.
constexpr int kScreenMargin = 2;
// How long the window waits for its frame: kFramePolls x kFramePollMs.
constexpr int kFramePolls = 25;
constexpr int kFramePollMs = 20;

TResampleFilter ZoomFilter(const TMainForm1& window) {
  return window.Context().commands.Checked(cmd::kQualityZoom) ? window.Context().picture.ResampleFilter
                                                              : TResampleFilter::rfNone;
}

// The value of a size field; an empty field is not a number.
int FieldValue(const QLineEdit* edit) {
  bool ok = false;
  const int v = edit->text().toInt(&ok);
  if (!ok) throw std::runtime_error(QString(tx::kNotANumber).arg(edit->text()).toStdString());
  return v;
}

int RoundedRatio(std::int64_t a, std::int64_t b, std::int64_t c) {
  if (c <= 0) return int(a);
  return int(RoundHalfEven(a * b, c));
}

// Marks the picture busy and holds the view for one run, and gives both
// back however the run ends.
class TPictureRun {
 public:
  TPictureRun(TMainForm1& window, bool& running, bool batch)
      : window_(window), running_(running), batch_(batch) {
    running_ = true;
    window_.Context().picture.PictureBusy = true;
    if (batch_) {
      window_.PictureView1->repaint();
      window_.PictureView1->BeginPaintLock();
      QApplication::setOverrideCursor(Qt::WaitCursor);
    }
  }
  ~TPictureRun() {
    if (batch_) {
      window_.PictureView1->EndPaintLock();
      QApplication::restoreOverrideCursor();
    }
    window_.Context().picture.PictureBusy = false;
    running_ = false;
    window_.PictureView1->ImageChanged();
  }

 private:
  TMainForm1& window_;
  bool& running_;
  bool batch_;
};

}  // namespace

TEditForm1::TEditForm1(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName("EditForm1");
  setWindowTitle(tx::kCaption);
  setModal(false);

  auto* group = new QGroupBox(tx::kGroup, this);
  auto* grid = new QGridLayout(group);
  grid->addWidget(BuildEffects(), 0, 0);
  grid->addWidget(BuildSliders(), 0, 1);
  grid->addWidget(BuildColors(), 1, 0, 1, 2);
  grid->addWidget(BuildSize(), 2, 0, 1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(BuildButtons());
  layout->setSizeConstraint(QLayout::SetFixedSize);

  ConnectControls();
  ReadStoredOptions();
}

TEditForm1::~TEditForm1() {
  if (!context_) return;
  TPictureServices& hooks = context_->services;
  hooks.ApplyPictureOptions = nullptr;
  hooks.CloseStandardEditingWindow = nullptr;
  hooks.ShowStandardEditingWindow = nullptr;
}

bool TEditForm1::PictureBusy() const { return context_ && context_->picture.PictureBusy; }

void TEditForm1::LendServices(TAppContext& context) {
  context_ = &context;
  TPictureServices& hooks = context.services;
  // Called from the first paint and the capture pipeline too: an error is
  // reported here and never reaches the event loop.
  hooks.ApplyPictureOptions = [this](TMainForm1& window) {
    RunGuarded([this, &window] { ApplyPictureOptions(window); });
  };
  hooks.CloseStandardEditingWindow = [this] {
    if (isVisible()) close();
    window_ = nullptr;
  };
  hooks.ShowStandardEditingWindow = [this](TMainForm1& window) {
    RunGuarded([this, &window] { Action3Execute(window); });
  };
}

void TEditForm1::ConnectControls() {
  connect(CheckListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    RunGuarded([this, item] { ToggleEffect(CheckListBox1->row(item), true); });
  });
  connect(ColorDepthBox, &QComboBox::activated, this,
          [this](int index) { RunGuarded([this, index] { ColorDepthChanged(index); }); });
  connect(SizeBox, &QComboBox::activated, this,
          [this](int index) { RunGuarded([this, index] { SizeChanged(index); }); });
  for (int i = 0; i < kSliderCount; ++i) {
    QSlider* slider = Sliders[std::size_t(i)];
    connect(slider, &QSlider::valueChanged, this,
            [this, i](int value) { RunGuarded([this, i, value] { SliderMoved(i, value); }); });
    connect(slider, &QSlider::sliderReleased, this, Guarded([this] { RunBatch(); }));
  }
  for (TColorBox* box : ColorBoxes)
    connect(box, &TColorBox::ColorChosen, this, Guarded([this] { RunBatch(); }));
  connect(FrameSize, &QSpinBox::valueChanged, this, [this] {
    // Arrow keys; a mouse click runs the batch when the button is released.
    if (!loading_ && QApplication::mouseButtons() == Qt::NoButton)
      RunGuarded([this] { RunBatch(); });
  });
  connect(SubstituteColors, &QCheckBox::clicked, this, Guarded([this] {
    RunOperation([this] {
      window_->Document().Proc().CastColorRange(ColorBoxes[bxSubstitute1]->Color(),
                                           ColorBoxes[bxSubstitute1]->Color(),
                                           ColorBoxes[bxSubstitute2]->Color());
    });
  }));
  connect(SwapColors, &QCheckBox::clicked, this, Guarded([this] {
    RunOperation([this] {
      window_->Document().Proc().SwapColors(ColorBoxes[bxSwap1]->Color(),
                                            ColorBoxes[bxSwap2]->Color());
    });
  }));
  connect(SharpenMore, &QPushButton::clicked, this, Guarded([this] {
    RunOperation(
        [this] { window_->Document().Proc().ApplyFilter(kSharpenKernel, kSharpenDivisor); });
  }));
  connect(BlurMore, &QPushButton::clicked, this, Guarded([this] {
    RunOperation([this] { window_->Document().Proc().ApplyFilter(kBlurKernel, kBlurDivisor); });
  }));
  // The effects dialog ("Advanced editing window") on the same picture.
  connect(AdvancedEditor, &QPushButton::clicked, this, Guarded([this] {
    if (window_ && !PictureBusy()) window_->Editing()->AdvancedEditing(this);
  }));
  connect(WidthEdit, &QLineEdit::textEdited, this, [this] { width_edited_ = true; });
  connect(HeightEdit, &QLineEdit::textEdited, this, [this] { height_edited_ = true; });
  connect(WidthEdit, &QLineEdit::editingFinished, this, Guarded([this] { WidthEdited(); }));
  connect(HeightEdit, &QLineEdit::editingFinished, this, Guarded([this] { HeightEdited(); }));
  connect(Proportional, &QCheckBox::clicked, this,
          [this](bool checked) { RunGuarded([this, checked] { ProportionalClicked(checked); }); });
  connect(ChangeButton, &QPushButton::clicked, this, Guarded([this] { ChangeClick(); }));
  connect(SaveAsDefault, &QPushButton::clicked, this, Guarded([this] { SaveAsDefaultClick(); }));
  connect(ResetButton, &QPushButton::clicked, this, Guarded([this] { ResetClick(); }));
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

// ---- the recipe and the controls -----------------------------------------

TPictureRecipe TEditForm1::Recipe() const {
  TPictureRecipe r;
  for (int i = 0; i < kEffectCount; ++i)
    r.CheckBoxItem[std::size_t(i)] = CheckListBox1->item(i)->checkState() == Qt::Checked;
  r.ColorDepth = ColorDepthBox->currentIndex();
  r.PictureSize = SizeBox->currentIndex();
  r.RBrightness = Sliders[slBrightness]->value();
  r.RContrast = Sliders[slContrast]->value();
  r.RSaturation = Sliders[slSaturation]->value();
  r.RRed = Sliders[slRed]->value();
  r.RGreen = Sliders[slGreen]->value();
  r.RBlue = Sliders[slBlue]->value();
  r.RZoom = Sliders[slZoom]->value();
  r.RRotation = Sliders[slRotation]->value();
  r.RSubsituteColors = SubstituteColors->isChecked();
  r.RSubstituteColor1 = ColorBoxes[bxSubstitute1]->Color();
  r.RSubstituteColor2 = ColorBoxes[bxSubstitute2]->Color();
  r.RSwapColors = SwapColors->isChecked();
  r.RSwapColor1 = ColorBoxes[bxSwap1]->Color();
  r.RSwapColor2 = ColorBoxes[bxSwap2]->Color();
  r.RFrameColor = ColorBoxes[bxFrame]->Color();
  r.RFrameSize = FrameSize->value();
  return r;
}

void TEditForm1::SetRecipe(const TPictureRecipe& recipe) {
  TPictureRecipe r = recipe;
  r.Clamp();
  loading_ = true;
  for (int i = 0; i < kEffectCount; ++i)
    CheckListBox1->item(i)->setCheckState(r.CheckBoxItem[std::size_t(i)] ? Qt::Checked
                                                                         : Qt::Unchecked);
  ColorDepthBox->setCurrentIndex(r.ColorDepth);
  SizeBox->setCurrentIndex(r.PictureSize);
  const int values[kSliderCount] = {r.RBrightness, r.RContrast, r.RSaturation, r.RRed,
                                    r.RGreen,      r.RBlue,     r.RZoom,       r.RRotation};
  for (int i = 0; i < kSliderCount; ++i) {
    Sliders[std::size_t(i)]->setValue(values[i]);
    SliderValues[std::size_t(i)]->setNum(Sliders[std::size_t(i)]->value());
  }
  SubstituteColors->setChecked(r.RSubsituteColors);
  ColorBoxes[bxSubstitute1]->SetColor(r.RSubstituteColor1);
  ColorBoxes[bxSubstitute2]->SetColor(r.RSubstituteColor2);
  SwapColors->setChecked(r.RSwapColors);
  ColorBoxes[bxSwap1]->SetColor(r.RSwapColor1);
  ColorBoxes[bxSwap2]->SetColor(r.RSwapColor2);
  ColorBoxes[bxFrame]->SetColor(r.RFrameColor);
  FrameSize->setValue(r.RFrameSize);
  loading_ = false;
  ApplyTurn90ToRotation();
}

void TEditForm1::ReadStoredOptions() {
  SettingsStore store;
  SetRecipe(PictureOptions::Load(store));
}

void TEditForm1::ApplyTurn90ToRotation() {
  const bool turn = CheckListBox1->item(efTurn90)->checkState() == Qt::Checked;
  QSlider* rotation = Sliders[slRotation];
  if (turn) {
    loading_ = true;
    rotation->setValue(90);
    SliderValues[slRotation]->setNum(90);
    loading_ = false;
  }
  rotation->setEnabled(!turn);
}

// ---- showing, closing, the picture window --------------------------------

void TEditForm1::AttachTo(TMainForm1& window) {
  if (window_ == &window) return;
  window_ = &window;
  connect(window.PictureView1, &TPictureView::OnDragDrop, this, &TEditForm1::PictureViewDragDrop,
          Qt::UniqueConnection);
  connect(window.PictureView1, &TPictureView::OnImageChange, this, &TEditForm1::ShowPictureSize,
          Qt::UniqueConnection);
}

void TEditForm1::Action3Execute(TMainForm1& window) {
  if (PictureBusy()) return;
  AttachTo(window);
  ShowPictureSize();
  show();
  PlaceTopRight(kFramePolls);
  raise();
  activateWindow();
  CheckListBox1->setFocus();
  ApplyPictureOptions(window);
  CheckListBox1->setFocus();
  CheckListBox1->setCurrentRow(efGrayscale);
}

void TEditForm1::PlaceTopRight(int polls) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int screen_width = screen ? screen->geometry().width() : 1024;
  // The client area is placed, inside the frame's margins.
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  setGeometry(screen_width - kScreenMargin - (frame.right() - client.right()) - client.width(),
              kScreenMargin + (client.top() - frame.top()), client.width(), client.height());
  // The frame's width is known only once the window manager has framed the
  // window (not at all without one): placed again when it is.
  if (polls > 0 && isVisible() && frameGeometry().width() == width())
    QTimer::singleShot(kFramePollMs, this, [this, polls] { PlaceTopRight(polls - 1); });
}

void TEditForm1::done(int result) {
  // Unsaved changes leave the recipe; the picture keeps what was applied.
  ReadStoredOptions();
  width_edited_ = height_edited_ = false;
  QDialog::done(result);
}

void TEditForm1::ApplyPictureOptions(TMainForm1& window) {
  AttachTo(window);
  RunBatch();
}

void TEditForm1::RunBatch() {
  if (!window_ || PictureBusy() || running_) return;
  TMainForm1& window = *window_;
  ApplyTurn90ToRotation();
  // The window may not be active yet: ask for its focus child.
  const bool list_focused = focusWidget() == CheckListBox1;
  CheckListBox1->setEnabled(false);
  {
    // Enabled again when the batch ends (focus kept), also after an error.
    struct ListBack {
      QListWidget* list;
      bool focused;
      ~ListBack() {
        list->setEnabled(true);
        if (focused) list->setFocus();
      }
    } list_back{CheckListBox1, list_focused};
    TPictureRun run(window, running_, true);
    const TBatchQuality quality{window.Context().commands.Checked(cmd::kQualityRotate),
                                ZoomFilter(window)};
    ApplyPictureRecipe(Recipe(), quality, window.Document().Picture(), window.Document().Proc());
  }
  ShowPictureSize();
}

void TEditForm1::RunOperation(const std::function<void()>& operation) {
  if (!window_ || PictureBusy() || running_) return;
  {
    TPictureRun run(*window_, running_, false);
    operation();
  }
  ShowPictureSize();
}

void TEditForm1::ShowPictureSize() {
  if (!window_) return;
  const TPictureBitmap& picture = window_->Document().Picture();
  WidthEdit->setText(QString::number(picture.Width()));
  HeightEdit->setText(QString::number(picture.Height()));
  width_edited_ = height_edited_ = false;
}

void TEditForm1::PictureViewDragDrop(QDropEvent* event) {
  const std::optional<int> box = TColorBox::DroppedBox(event->mimeData());
  if (!box || *box < 0 || *box >= kBoxCount || !window_) {
    event->ignore();
    return;
  }
  TPictureView* view = window_->PictureView1;
  const QPoint at = event->position().toPoint();
  const TPictureBitmap& picture = view->Picture();
  const int x = view->ScreenToPictureX(at.x());
  const int y = view->ScreenToPictureY(at.y());
  if (!picture.Contains(x, y)) {
    event->ignore();
    return;
  }
  ColorBoxes[std::size_t(*box)]->SetColor(picture.Pixel(x, y));
  event->acceptProposedAction();
}

// ---- controls -------------------------------------------------------------

bool TEditForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CheckListBox1 && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
    RunGuarded([this] { ToggleEffect(CheckListBox1->currentRow(), false); });
    return true;
  }
  // A right click enables the list, also while it is disabled.
  if (watched == CheckListBox1->viewport() && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    CheckListBox1->setEnabled(true);
    return false;
  }
  if (watched == FrameSize && event->type() == QEvent::MouseButtonRelease && !loading_)
    RunGuarded([this] { RunBatch(); });
  return QDialog::eventFilter(watched, event);
}

void TEditForm1::ToggleEffect(int row, bool by_mouse) {
  QListWidgetItem* item = CheckListBox1->item(row);
  if (!item) return;
  const bool checked = item->checkState() != Qt::Checked;
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  if (row == efTurn90 && !checked && by_mouse) {
    loading_ = true;
    Sliders[slRotation]->setValue(0);
    SliderValues[slRotation]->setNum(0);
    loading_ = false;
  }
  RunBatch();
}

void TEditForm1::SliderMoved(int slider, int value) {
  SliderValues[std::size_t(slider)]->setNum(value);
  if (loading_) return;
  if (slider >= slRed && slider <= slBlue && Locks[std::size_t(slider - slRed)]->isChecked()) {
    loading_ = true;
    for (int other = slRed; other <= slBlue; ++other) {
      if (other == slider || !Locks[std::size_t(other - slRed)]->isChecked()) continue;
      Sliders[std::size_t(other)]->setValue(value);
      SliderValues[std::size_t(other)]->setNum(value);
    }
    loading_ = false;
  }
  // A drag runs the batch when the thumb is released.
  if (!Sliders[std::size_t(slider)]->isSliderDown()) RunBatch();
}

void TEditForm1::ColorDepthChanged(int index) {
  if (PictureBusy() || !window_) return;
  ColorDepthBox->setEnabled(false);
  struct Enable {
    QComboBox* box;
    // Back on the window's next paint.
    ~Enable() { QTimer::singleShot(0, box, [b = box] { b->setEnabled(true); }); }
  } enable{ColorDepthBox};
  RunOperation([this, index] { ApplyColorDepth(index, window_->Document().Proc()); });
  RunBatch();
}

void TEditForm1::SizeChanged(int index) {
  if (index < 1 || index >= kPictureSizeCount) return;
  const TRecipeSize size = kPictureSizes[index];
  RunOperation([this, size] {
    window_->Document().Proc().Resample(size.width, size.height, ZoomFilter(*window_));
  });
}

void TEditForm1::WidthEdited() {
  if (!width_edited_ || !Proportional->isChecked() || !window_) return;
  const int picture_width = window_->Document().Picture().Width();
  bool ok_w = false, ok_h = false;
  const int w = WidthEdit->text().toInt(&ok_w);
  const int h = HeightEdit->text().toInt(&ok_h);
  if (!ok_w || !ok_h || picture_width <= 0) return;
  HeightEdit->setText(QString::number(RoundedRatio(h, w, picture_width)));
}

void TEditForm1::HeightEdited() {
  if (!height_edited_ || !Proportional->isChecked() || !window_) return;
  const int picture_height = window_->Document().Picture().Height();
  bool ok_w = false, ok_h = false;
  const int w = WidthEdit->text().toInt(&ok_w);
  const int h = HeightEdit->text().toInt(&ok_h);
  if (!ok_w || !ok_h || picture_height <= 0) return;
  WidthEdit->setText(QString::number(RoundedRatio(w, h, picture_height)));
}

void TEditForm1::ProportionalClicked(bool checked) {
  if (!checked || !window_) return;
  const TPictureBitmap& picture = window_->Document().Picture();
  const int pw = picture.Width();
  const int ph = picture.Height();
  if (pw == ph || pw <= 0 || ph <= 0) return;
  bool ok = false;
  const int w = WidthEdit->text().toInt(&ok);
  if (!ok) return;
  const int h = RoundedRatio(w, ph, pw);
  HeightEdit->setText(QString::number(h));
  WidthEdit->setText(QString::number(RoundedRatio(h, pw, ph)));
}

void TEditForm1::ChangeClick() {
  if (PictureBusy() || !window_ || !(width_edited_ || height_edited_)) return;
  const int w = std::max(FieldValue(WidthEdit), kMinChangeSize);
  const int h = std::max(FieldValue(HeightEdit), kMinChangeSize);
  RunOperation([this, w, h] { window_->Document().Proc().Resample(w, h, ZoomFilter(*window_)); });
  width_edited_ = height_edited_ = false;
}

void TEditForm1::SaveAsDefaultClick() {
  if (context_ && !context_->flags.WritesSettings()) return;
  SettingsStore store;
  PictureOptions::Save(store, Recipe());
}

void TEditForm1::ResetClick() {
  ReadStoredOptions();
  RunBatch();
}

}  // namespace vistrel
