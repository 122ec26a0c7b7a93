#include "picture/TSolidColorDialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace vistrel {

namespace {

// Six rows of eight.
constexpr int kRows = 6;

// One basic colour: a framed patch, with a dark frame around it while it
// is the chosen one.
class TSwatch : public QAbstractButton {
 public:
  TSwatch(const QColor& color, QWidget* parent) : QAbstractButton(parent), color_(color) {
    setCheckable(true);
    setFixedSize(26, 22);
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect patch = rect().adjusted(4, 4, -4, -4);
    if (isChecked() || hasFocus()) {
      painter.setPen(QPen(palette().color(QPalette::WindowText), 1,
                          isChecked() ? Qt::SolidLine : Qt::DotLine));
      painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
    painter.fillRect(patch, color_);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(patch.adjusted(-1, -1, 0, 0));
  }

 private:
  QColor color_;
};

}  // namespace

QColor TSolidColorDialog::BasicColor(int index) {
  // Qt's standard colours are the basic colours of the classic colour box,
  // in its order.
  const QColor c = QColorDialog::standardColor(index);
  return QColor(c.red(), c.green(), c.blue());
}

TSolidColorDialog::TSolidColorDialog(const QColor& initial, QWidget* parent)
    : QDialog(parent), selected_(initial) {
  setObjectName("ColorDialog1");
  setWindowTitle("Color");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  auto* grid = new QGridLayout;
  grid->setSpacing(0);
  group_ = new QButtonGroup(this);
  group_->setExclusive(true);
  for (int i = 0; i < kColorCount; ++i) {
    const QColor color = BasicColor(i);
    auto* swatch = new TSwatch(color, this);
    swatch->setToolTip(color.name().toUpper());
    if (color.rgb() == initial.rgb()) {
      swatch->setChecked(true);
      swatch->setFocus();
    }
    group_->addButton(swatch, i);
    grid->addWidget(swatch, i % kRows, i / kRows);
    swatches_[std::size_t(i)] = swatch;
  }
  connect(group_, &QButtonGroup::idClicked, this, [this](int id) { selected_ = BasicColor(id); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<QColor> TSolidColorDialog::GetColor(const QColor& initial, QWidget* parent) {
  TSolidColorDialog dialog(initial, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.SelectedColor();
}

}  // namespace vistrel
