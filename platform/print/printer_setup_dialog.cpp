#include "platform/print/printer_setup_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vistrel {

namespace {

constexpr const char* kQueueDefault = "Printer's default";

void Fill(QComboBox* box, const std::vector<std::pair<int, std::string>>& entries, int selected) {
  box->clear();
  box->addItem(kQueueDefault, 0);
  for (const auto& [code, name] : entries) box->addItem(QString::fromStdString(name), code);
  const int index = box->findData(selected);
  box->setCurrentIndex(index < 0 ? 0 : index);
}

class TPrinterSetupDialog : public QDialog {
 public:
  TPrinterSetupDialog(const TPageSetup& setup, const std::vector<std::string>& queues,
                      const TChoicesOf& choices, QWidget* parent)
      : QDialog(parent), choices_(choices) {
    setObjectName("PrinterSetupDialog");
    setWindowTitle("Print Setup");
    auto* printer = new QGroupBox("Printer");
    queue_ = new QComboBox;
    queue_->setObjectName("PrinterName");
    for (const std::string& name : queues) queue_->addItem(QString::fromStdString(name));
    if (queue_->findText(QString::fromStdString(setup.printer)) < 0)
      queue_->addItem(QString::fromStdString(setup.printer));
    queue_->setCurrentText(QString::fromStdString(setup.printer));
    status_ = new QLabel;
    status_->setObjectName("PrinterStatus");
    status_->setWordWrap(true);
    status_->hide();  // shown with a fault of the print system
    auto* printer_form = new QFormLayout(printer);
    printer_form->addRow("&Name:", queue_);
    printer_form->addRow(status_);

    auto* paper = new QGroupBox("Paper");
    size_ = new QComboBox;
    size_->setObjectName("PaperSize");
    source_ = new QComboBox;
    source_->setObjectName("PaperSource");
    auto* paper_form = new QFormLayout(paper);
    paper_form->addRow("Si&ze:", size_);
    paper_form->addRow("&Source:", source_);

    auto* orientation = new QGroupBox("Orientation");
    portrait_ = new QRadioButton("P&ortrait");
    portrait_->setObjectName("SetupPortrait");
    landscape_ = new QRadioButton("L&andscape");
    landscape_->setObjectName("SetupLandscape");
    (setup.orientation == TPageOrientation::Landscape ? landscape_ : portrait_)->setChecked(true);
    auto* orientation_column = new QVBoxLayout(orientation);
    orientation_column->addWidget(portrait_);
    orientation_column->addWidget(landscape_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paper, 1);
    lower->addWidget(orientation);
    auto* all = new QVBoxLayout(this);
    all->addWidget(printer);
    all->addLayout(lower);
    all->addWidget(buttons);

    const TQueueChoices offered = choices_(setup.printer);  // a fault here ends the dialog
    Fill(size_, offered.sizes, setup.paper_size);
    Fill(source_, offered.sources, setup.paper_source);
    connect(queue_, &QComboBox::currentTextChanged, this, &TPrinterSetupDialog::QueueChanged);
  }

  void Take(TPageSetup& setup) const {
    setup.printer = queue_->currentText().toStdString();
    setup.orientation =
        landscape_->isChecked() ? TPageOrientation::Landscape : TPageOrientation::Portrait;
    setup.paper_size = size_->currentData().toInt();
    setup.paper_source = source_->currentData().toInt();
  }

 private:
  // Another queue: its own sizes and sources, keeping the chosen ones where
  // it has them.
  void QueueChanged(const QString& queue) {
    const int size = size_->currentData().toInt(), source = source_->currentData().toInt();
    TQueueChoices offered;
    status_->hide();
    try {
      offered = choices_(queue.toStdString());
    } catch (const PrinterError& e) {
      status_->setText(QString::fromUtf8(e.what()));
      status_->show();
    }
    Fill(size_, offered.sizes, size);
    Fill(source_, offered.sources, source);
  }

  TChoicesOf choices_;
  QComboBox* queue_ = nullptr;
  QLabel* status_ = nullptr;
  QComboBox* size_ = nullptr;
  QComboBox* source_ = nullptr;
  QRadioButton* portrait_ = nullptr;
  QRadioButton* landscape_ = nullptr;
};

}  // namespace

bool RunPrinterSetupDialog(TPageSetup& setup, const std::vector<std::string>& queues,
                           const TChoicesOf& choices, QWidget* parent) {
  TPrinterSetupDialog dialog(setup, queues, choices, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.Take(setup);
  return true;
}

}  // namespace vistrel
