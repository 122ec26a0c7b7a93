#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "output/TPageImage.h"
#include "commands/command_table.h"
#include "output/TPrintForm1.h"
#include "output/printing_hooks.h"
#include "picture/picture_services.h"
#include "picture_window/dialog_answers.h"
#include "picture_window/window_fixture.h"
#include "platform/fake/fake_printers.h"
#include "platform/print/cups_call.h"

namespace vistrel {
namespace {

class PrintFormTest : public testing::PictureWindowTest {
 protected:
  void SetUp() override {
    PictureWindowTest::SetUp();
    printers_owned = std::make_unique<TFakePrinters>();
    printers = printers_owned.get();
    LendPrinting(context_.services, *printers);
  }
  void TearDown() override {
    window.reset();
    PictureWindowTest::TearDown();
  }
  TPrintForm1& Open() {
    window = NewWindow();
    form = PrintForm(*window);
    form->show();
    EXPECT_TRUE(QTest::qWaitFor([this] { return form->PreviewShown(); }));
    return *form;
  }
  template <typename T>
  T* Child(const char* name) {
    return form->findChild<T*>(name);
  }
  void StorePrinterOption(const std::string& key, const std::string& value) {
    SettingsStore store;
    store.WriteString(kPrinterOptionsSection, key, value);
    store.Close();
  }
  std::string StoredPrinterOption(const std::string& key) {
    return SettingsStore().ReadString(kPrinterOptionsSection, key, "?");
  }
  QStringList Entries() {
    QStringList entries;
    auto* list = Child<QComboBox>("ComboBox1");
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
  }

  std::unique_ptr<TFakePrinters> printers_owned;
  TFakePrinters* printers = nullptr;
  std::unique_ptr<TMainForm1> window;
  TPrintForm1* form = nullptr;
};

TEST_F(PrintFormTest, CreatingTheWindowAsksThePrintSystemNothing) {
  window = NewWindow();
  ASSERT_NE(PrintForm(*window), nullptr);
  EXPECT_EQ(printers->list_calls, 0);
  EXPECT_TRUE(window->ToolButton(TMainForm1::tbPage)->isEnabled());
  EXPECT_TRUE(window->ToolButton(TMainForm1::tbPrint)->isEnabled());
}

TEST_F(PrintFormTest, ShowingListsThePrintersAndPreviewsThePage) {
  Open();
  EXPECT_EQ(form->windowTitle(), "Print Setup and page preview");
  EXPECT_EQ(Entries(), QStringList({"Laser", "Inkjet", "Default Printer"}));
  EXPECT_EQ(Child<QComboBox>("ComboBox1")->currentText(), "Default Printer");
  EXPECT_EQ(Child<QFrame>("Paper")->geometry(), QRect(48, 20, 226, 310));
  EXPECT_EQ(Child<TPageImage>("PageImage")->geometry(), QRect(52, 24, 218, 302));
  EXPECT_TRUE(Child<TPageImage>("PageImage")->HasPage());
  EXPECT_TRUE(Child<QPushButton>("PrintButton")->isEnabled());
  // The fake desktop grab: 1024 x 768 at three bytes a pixel.
  EXPECT_EQ(Child<QLabel>("StatusLine")->text(), " Picture Size in KBytes = 2304");
}

TEST_F(PrintFormTest, ARefreshSetsTheCopiesBackToOne) {
  Open();
  Child<QSpinBox>("Copies")->setValue(5);
  QTest::mouseClick(Child<QRadioButton>("Landscape"), Qt::LeftButton);
  EXPECT_EQ(Child<QSpinBox>("Copies")->value(), 1);
  EXPECT_EQ(Child<QFrame>("Paper")->geometry(), QRect(6, 57, 310, 236));
}

TEST_F(PrintFormTest, AStoredPrinterThatIsGoneFallsBackToTheDefault) {
  StorePrinterOption("RPrinter", "Plotter");
  Open();
  EXPECT_EQ(Child<QComboBox>("ComboBox1")->currentText(), "Default Printer");
  window.reset();
  EXPECT_EQ(StoredPrinterOption("RPrinter"), "Default Printer");
}

TEST_F(PrintFormTest, AStoredPrinterStaysWhileThePrintSystemIsDown) {
  StorePrinterOption("RPrinter", "Inkjet");
  printers->list.answered = false;
  window = NewWindow();
  form = PrintForm(*window);
  form->FillPrinterList();
  EXPECT_EQ(Entries(), QStringList({"Inkjet", "Default Printer"}));
  EXPECT_EQ(Child<QComboBox>("ComboBox1")->currentText(), "Inkjet");
  try {
    form->ToolButton11Click(false);
    FAIL() << "printed without a print system";
  } catch (const PrinterError& e) {
    EXPECT_NE(std::string(e.what()).find("\"Inkjet\""), std::string::npos) << e.what();
  }
  EXPECT_TRUE(printers->jobs.empty());
  window.reset();
  EXPECT_EQ(StoredPrinterOption("RPrinter"), "Inkjet");
}

TEST_F(PrintFormTest, APrintSystemThatDoesNotAnswerIsReportedAndTheListIsAskedOnceItAnswers) {
  StorePrinterOption("RPrinter", "Inkjet");
  printers->list_fault = kCupsNotAnswering;
  window = NewWindow();
  form = PrintForm(*window);
  QMenu* menu = window->PopupMenu4();
  EXPECT_THROW(form->PopupMenu4Popup(), PrinterError);
  EXPECT_TRUE(testing::FindItem(menu, "Inkjet")->isChecked());
  try {
    form->ToolButton11Click(false);
    FAIL() << "printed without an answer";
  } catch (const PrinterError& e) {
    EXPECT_STREQ(e.what(), kCupsNotAnswering);
  }
  EXPECT_TRUE(printers->jobs.empty());

  printers->list_fault.clear();
  commands_.SetChecked(cmd::kShowInfoMessage, false);
  EXPECT_TRUE(form->ToolButton11Click(false));
  form->show();
  ASSERT_TRUE(QTest::qWaitFor([this] { return form->PreviewShown(); }));
  QTest::mouseClick(Child<QRadioButton>("Landscape"), Qt::LeftButton);
  emit menu->aboutToShow();
  EXPECT_EQ(printers->list_calls, 3);  // twice unanswered, then once for the dialog's life
  ASSERT_EQ(printers->jobs.size(), 1u);
  EXPECT_EQ(printers->jobs[0].setup.printer, "Inkjet");
}

TEST_F(PrintFormTest, StoredValuesOutOfRangeAreClampedToTheirControls) {
  {
    SettingsStore store;
    store.WriteInteger(kPrinterOptionsSection, "RCopies", 500);
    store.WriteInteger(kPrinterOptionsSection, "RPercentPictureValue", 5);
    store.WriteInteger(kPrinterOptionsSection, "RPercentPageValue", 250);
    store.WriteInteger(kPrinterOptionsSection, "RAlignment", 12);
    store.Close();
  }
  window = NewWindow();
  form = PrintForm(*window);
  EXPECT_EQ(Child<QSpinBox>("Copies")->value(), 99);
  EXPECT_EQ(Child<QSpinBox>("PercentPictureValue")->value(), 10);
  EXPECT_EQ(Child<QSpinBox>("PercentPageValue")->value(), 100);
  EXPECT_EQ(Child<QComboBox>("ComboBox2")->currentText(), "");
  EXPECT_EQ(form->Layout().alignment, -1);
}

TEST_F(PrintFormTest, DefaultRestoresTheLayout) {
  Open();
  Child<QRadioButton>("Landscape")->setChecked(true);
  Child<QComboBox>("ComboBox2")->setCurrentIndex(4);
  Child<QCheckBox>("KeepProportions")->setChecked(false);
  Child<QRadioButton>("PercentPage")->setChecked(true);
  Child<QSpinBox>("PercentPictureValue")->setValue(250);
  Child<QRadioButton>("Cpi12")->setChecked(true);
  Child<QListWidget>("CheckListBox1")->item(2)->setCheckState(Qt::Checked);
  QTest::mouseClick(Child<QPushButton>("DefaultButton"), Qt::LeftButton);
  const TPrintLayout layout = form->Layout();
  EXPECT_EQ(layout.orientation, TPageOrientation::Portrait);
  EXPECT_EQ(layout.alignment, 0);
  EXPECT_TRUE(layout.keep_proportions);
  EXPECT_EQ(layout.scaling, TPrintScaling::PicturePercent);
  EXPECT_EQ(layout.picture_percent, 100);
  EXPECT_EQ(layout.footer_points, 8);
  EXPECT_EQ(layout.footer, (std::array<bool, 4>{}));
  EXPECT_EQ(layout.copies, 1);
  EXPECT_EQ(Child<QComboBox>("ComboBox2")->currentText(), "Picture Centered");
}

TEST_F(PrintFormTest, SetupTakesOrientationAndPaperFromThePlatformDialog) {
  Open();
  printers->setup_dialog = [](TPageSetup& setup) {
    EXPECT_EQ(setup.printer, "Laser");
    setup.orientation = TPageOrientation::Landscape;
    setup.paper_size = 8;  // A3
    setup.paper_source = 4;
    return true;
  };
  QTest::mouseClick(Child<QPushButton>("SetupButton"), Qt::LeftButton);
  const TPrintLayout layout = form->Layout();
  EXPECT_EQ(layout.orientation, TPageOrientation::Landscape);
  EXPECT_EQ(layout.paper_size, 8);
  EXPECT_EQ(layout.paper_source, 4);
  EXPECT_EQ(Child<QFrame>("Paper")->height(), 236);
}

TEST_F(PrintFormTest, SetupOpensThePrinterSetupAndAPrinterChosenThereIsTheProgramsPrinter) {
  Open();
  QStringList buttons, offered;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Print Setup");
    for (auto* b : dialog->findChildren<QAbstractButton*>()) buttons << b->text();
    auto* name = dialog->findChild<QComboBox*>("PrinterName");
    EXPECT_EQ(name->currentText(), "Laser");  // the default queue
    name->setCurrentText("Inkjet");
    auto* size = dialog->findChild<QComboBox*>("PaperSize");
    for (int i = 0; i < size->count(); ++i) offered << size->itemText(i);
    size->setCurrentIndex(size->findData(1));  // Letter
    auto* source = dialog->findChild<QComboBox*>("PaperSource");
    source->setCurrentIndex(source->findData(4));
    dialog->findChild<QRadioButton*>("SetupLandscape")->setChecked(true);
    dialog->accept();
  });
  QTest::mouseClick(Child<QPushButton>("SetupButton"), Qt::LeftButton);
  // A set-up dialog, not a second print dialog.
  EXPECT_FALSE(buttons.filter("Print", Qt::CaseInsensitive).size()) << buttons.join(",").toStdString();
  EXPECT_EQ(offered, QStringList({"Printer's default", "A4", "Letter"}));
  EXPECT_EQ(Child<QComboBox>("ComboBox1")->currentText(), "Inkjet");
  const TPrintLayout layout = form->Layout();
  EXPECT_EQ(layout.queue, "Inkjet");
  EXPECT_EQ(layout.orientation, TPageOrientation::Landscape);
  EXPECT_EQ(layout.paper_size, 1);
  EXPECT_EQ(layout.paper_source, 4);
  window.reset();
  EXPECT_EQ(StoredPrinterOption("RPrinter"), "Inkjet");
}

TEST_F(PrintFormTest, ARefusedPrintIsReportedAndCloseAfterPrintKeepsTheWindow) {
  Open();
  form->reject();
  commands_.SetChecked(cmd::kCloseAfterPrint, true);
  commands_.SetChecked(cmd::kShowInfoMessage, false);
  window->show();
  printers->refuse_jobs = true;
  QString reported;
  testing::DialogAnswers answers({[&](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    ASSERT_NE(box, nullptr);
    reported = box->text();
    box->accept();
  }});
  EXPECT_FALSE(context_.services.PrintPicture(*window));
  EXPECT_TRUE(answers.AllAnswered());
  EXPECT_EQ(reported, "Printer \"Laser\" refused the print job");
  EXPECT_TRUE(window->isVisible());
  printers->refuse_jobs = false;
  EXPECT_TRUE(context_.services.PrintPicture(*window));
  EXPECT_FALSE(window->isVisible());
}

TEST_F(PrintFormTest, RotateTurnsThePictureItself) {
  Open();
  QTest::mouseClick(Child<QPushButton>("RotateButton"), Qt::LeftButton);
  EXPECT_EQ(window->PictureView1->Picture().Width(), 768);
  EXPECT_EQ(window->PictureView1->Picture().Height(), 1024);
}

TEST_F(PrintFormTest, EscapeClosesAndTheSettingsAreWrittenWithTheWindow) {
  Open();
  Child<QListWidget>("CheckListBox1")->item(1)->setCheckState(Qt::Checked);
  QTest::mouseClick(Child<QRadioButton>("Cpi10"), Qt::LeftButton);
  QTest::keyClick(form, Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(Child<TPageImage>("PageImage")->HasPage());
  window.reset();
  const TPrinterOptions stored = TPrinterOptions::Load(SettingsStore());
  EXPECT_TRUE(stored.RItem[1]);
  EXPECT_TRUE(stored.R10Cpi);
  EXPECT_FALSE(stored.R8Cpi);
}

TEST_F(PrintFormTest, PrintSendsAJobAndCloseAfterPrintOnlyClosesTheWindow) {
  Open();
  commands_.SetChecked(cmd::kCloseAfterPrint, true);
  commands_.SetChecked(cmd::kShowInfoMessage, false);
  window->show();
  QTest::mouseClick(Child<QPushButton>("PrintButton"), Qt::LeftButton);
  ASSERT_EQ(printers->jobs.size(), 1u);
  EXPECT_EQ(printers->jobs[0].setup.printer, "Laser");  // the default queue
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(window->isVisible());
  EXPECT_NE(PrintForm(*window), nullptr);  // still there for its owner to destroy
}

TEST_F(PrintFormTest, ThePageMenuListsAndSelectsPrinters) {
  window = NewWindow();
  form = PrintForm(*window);
  QMenu* menu = window->PopupMenu4();
  emit menu->aboutToShow();
  QStringList shown;
  for (QAction* a : menu->actions())
    if (a->isVisible()) shown << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(shown, QStringList({"Printer Setup", "-", "Optimize Printing", "Grayscale", "-",
                                "Laser", "Inkjet", "Default Printer"}));
  EXPECT_TRUE(testing::FindItem(menu, "Default Printer")->isChecked());
  testing::FindItem(menu, "Inkjet")->trigger();
  EXPECT_EQ(form->Layout().queue, "Inkjet");
  EXPECT_TRUE(testing::FindItem(menu, "Inkjet")->isChecked());
  EXPECT_FALSE(testing::FindItem(menu, "Default Printer")->isChecked());
}

TEST_F(PrintFormTest, ThePageMenuShowsAtMostFifteenEntries) {
  printers->list.names.clear();
  for (int i = 0; i < 20; ++i) printers->list.names.push_back("Queue" + std::to_string(i));
  window = NewWindow();
  form = PrintForm(*window);
  QMenu* menu = window->PopupMenu4();
  emit menu->aboutToShow();
  int shown = 0;
  for (QAction* a : menu->actions()) shown += a->isVisible() && a->text().startsWith("Queue");
  EXPECT_EQ(shown, TPrintForm1::kMaxMenuPrinters);
  testing::FindItem(menu, "Queue14")->trigger();
  EXPECT_EQ(form->Layout().queue, "Queue14");
}

TEST_F(PrintFormTest, OptimizeAndGrayscaleFollowTheirCommands) {
  Open();
  commands_.Action(cmd::kOptimizePrinting)->trigger();
  EXPECT_TRUE(Child<QCheckBox>("Optimize")->isChecked());
  // 1024 wide at one byte a pixel.
  EXPECT_EQ(Child<QLabel>("StatusLine")->text(), " Picture Size in KBytes = 768");
  QTest::mouseClick(Child<QCheckBox>("Grayscale"), Qt::LeftButton);
  EXPECT_TRUE(commands_.Checked(cmd::kGrayscalePrinting));
  EXPECT_TRUE(form->Layout().grayscale && form->Layout().optimize);
}

TEST_F(PrintFormTest, FooterTextPromptsWithClipboardCommandsOff) {
  window = NewWindow();
  form = PrintForm(*window);
  bool copy_enabled = true;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Footer Text");
    EXPECT_EQ(box->labelText(), "Enter Text");
    EXPECT_EQ(box->textValue(), "Vistrel-Pro");
    copy_enabled = commands_.Action(cmd::kCopy)->isEnabled();
    box->setTextValue("Made on the 3rd floor");
    box->accept();
  });
  commands_.Action(cmd::kFooterText)->trigger();
  EXPECT_FALSE(copy_enabled);
  EXPECT_TRUE(commands_.Action(cmd::kCopy)->isEnabled());
  EXPECT_EQ(window->Options().FooterText, "Made on the 3rd floor");
}

TEST_F(PrintFormTest, ThePageButtonOpensTheDialogWithClipboardCommandsOff) {
  window = NewWindow();
  form = PrintForm(*window);
  bool copy_enabled = true, shown = false;
  QTimer::singleShot(0, [&] {
    shown = form->isVisible();
    copy_enabled = commands_.Action(cmd::kCopy)->isEnabled();
    form->reject();
  });
  window->ToolButton(TMainForm1::tbPage)->trigger();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(copy_enabled);
  EXPECT_TRUE(commands_.Action(cmd::kCopy)->isEnabled());
}

}  // namespace
}  // namespace vistrel
