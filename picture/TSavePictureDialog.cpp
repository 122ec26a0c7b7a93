#include "picture/TSavePictureDialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "picture/PicturePreviewPanel.h"
#include "picture/TIOPreviewsForm.h"
#include "picture/save_dialog_rules.h"

namespace vistrel {
namespace {

QStringList SaveFilterList() {
  QStringList filters;
  for (const TSaveTypeEntry& entry : kSaveTypeEntries)
    filters << QString("%1 (%2)").arg(entry.text, entry.pattern);
  return filters;
}

}  // namespace

TSavePictureDialog::TSavePictureDialog(QWidget* parent) : QFileDialog(parent) {
  setObjectName("SavePictureDialog1");
  panel_ = PicturePreviewPanel::AttachTo(*this);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setWindowTitle("Save Picture as ...");
  setNameFilters(SaveFilterList());

  QVBoxLayout* column = panel_->Column();
  advanced_ = new QPushButton("Advanced ...", panel_);
  advanced_->setObjectName("AdvancedButton");
  advanced_->setEnabled(false);
  connect(advanced_, &QPushButton::clicked, this, &TSavePictureDialog::AdvancedClick);
  column->addWidget(advanced_);
  column->addStretch();

  types_ = findChild<QComboBox*>("fileTypeCombo");
  // The name box has its Alt key; the type list gets one too.
  if (auto* label = findChild<QLabel*>("fileTypeLabel"); label && types_) {
    label->setText("Files of &type:");
    label->setBuddy(types_);
  }
  if (types_) {
    // The dialog simplifies blanks in its filters; the list shows the type
    // texts exactly.
    for (int i = 0; i < types_->count() && i < kSaveTypeEntryCount; ++i)
      types_->setItemText(i, kSaveTypeEntries[std::size_t(i)].text);
    connect(types_, &QComboBox::currentIndexChanged, this, &TSavePictureDialog::TypeChanged);
  }
  if (auto* name_box = findChild<QLineEdit*>("fileNameEdit"))
    connect(name_box, &QLineEdit::textChanged, this, &TSavePictureDialog::UpdateAdvancedButton);
}

void TSavePictureDialog::SetParameters(TIOParams& params) {
  params_ = &params;
  params_copy_ = params;
  UpdateAdvancedButton();
}

std::string TSavePictureDialog::OptionsPage() const {
  const auto* name_box = findChild<QLineEdit*>("fileNameEdit");
  QString suffix = name_box ? QFileInfo(name_box->text()).suffix() : QString();
  if (suffix.isEmpty()) suffix = defaultSuffix();
  return SaveOptionsPage(suffix.toLower().toStdString());
}

void TSavePictureDialog::UpdateAdvancedButton() {
  advanced_->setEnabled(params_ && !OptionsPage().empty());
}

void TSavePictureDialog::AdvancedClick() {
  const std::string page = OptionsPage();
  if (!params_ || page.empty()) return;
  TIOPreviewsForm options(page, *params_, panel_->Picture(), this);
  options.exec();
}

void TSavePictureDialog::done(int result) {
  // Options edited in a cancelled dialog are lost.
  if (result == QDialog::Rejected && params_) *params_ = params_copy_;
  QFileDialog::done(result);
}

// The two BMP entries share a pattern, so the entry is the list position.
int TSavePictureDialog::FilterIndex() const { return types_ ? types_->currentIndex() + 1 : 5; }

void TSavePictureDialog::SetFilterIndex(int entry) {
  if (!types_ || entry < 1 || entry > kSaveTypeEntryCount) return;
  if (types_->currentIndex() == entry - 1)
    TypeChanged(entry - 1);
  else
    types_->setCurrentIndex(entry - 1);  // which calls TypeChanged
}

void TSavePictureDialog::SetFileName(const QString& name) { selectFile(name); }

QString TSavePictureDialog::FileName() const {
  const QStringList files = selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

void TSavePictureDialog::SetPreview(const TPictureBitmap& picture) {
  panel_->ShowPicture(picture);
}

void TSavePictureDialog::TypeChanged(int combo_index) {
  // The list shows the chosen type's files. The dialog filters by itself
  // only when the user picks an entry, not when the entry is set for him.
  if (auto* model = findChild<QFileSystemModel*>(); model && combo_index >= 0 &&
                                                     combo_index < kSaveTypeEntryCount)
    model->setNameFilters({kSaveTypeEntries[std::size_t(combo_index)].pattern});
  const std::string extension = SaveEntryExtension(combo_index + 1);
  // A name typed without an extension gets the chosen type's one.
  setDefaultSuffix(QString::fromStdString(extension));
  auto* name_box = findChild<QLineEdit*>("fileNameEdit");
  if (!name_box) return;
  const std::string name = name_box->text().toStdString();
  const std::string renamed = WithExtension(name, extension);
  if (renamed != name) name_box->setText(QString::fromStdString(renamed));
  UpdateAdvancedButton();
}

void TSavePictureDialog::accept() {
  const QString path = FileName();
  if (!path.isEmpty()) {
    const QFileInfo info(path);
    if (!info.isDir() && !QFileInfo(info.absolutePath()).isDir()) {
      QMessageBox::warning(this, windowTitle(),
                           QString("The folder %1 does not exist.").arg(info.absolutePath()));
      return;
    }
  }
  QFileDialog::accept();
}

}  // namespace vistrel
