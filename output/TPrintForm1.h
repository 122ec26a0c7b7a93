// "Print Setup and page preview": every choice of the print layout and the
// page as it will print. The picture window creates it with itself and
// destroys it with itself, so its controls are the print settings even when
// it was never shown; the print pass reads them here.
//
// The printer list is filled when it is first needed (showing the dialog,
// opening the Page menu, a print pass), never while a window is created, so
// a capture never waits for the print system.
#pragma once

#include <QDialog>
#include <QPicture>
#include <array>
#include <functional>
#include <string>

#include "output/print_pass.h"
#include "output/printer_options.h"
#include "platform/print/printers.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;

namespace vistrel {

struct TAppContext;
class TPictureDocument;

// What the print dialog prints and what it changes beside the picture: the
// picture window's document, or a capture printed without a window.
struct TPrintedPicture {
  TAppContext& context;
  TPictureDocument& document;
  std::string& footer_text;  // the text of the "Footer Text" footer line
  // The picture was turned by "Rotate 90°"; empty: nobody shows it.
  std::function<void()> picture_changed;
  // "Close after Print" after an accepted print; empty: no window to close.
  std::function<void()> close_window;
};
class TPageImage;

class TPrintForm1 : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Print Setup and page preview";
  static constexpr int kMaxMenuPrinters = 15;
  static constexpr std::array<const char*, 9> kAlignments = {
      "Picture Centered",           "Picture Top Left Aligned",     "Picture Top Right Aligned",
      "Picture Top Centered Aligned", "Picture Bottom Left Aligned", "Picture Bottom Right Aligned",
      "Picture Bottom Center Aligned", "Picture Center Left Aligned", "Picture Center Right Aligned"};
  static constexpr std::array<const char*, 4> kFooterLines = {"Date & Time", "User", "System Info",
                                                              "Footer Text"};

  // Prints `target`; the dialog opens over `parent` (the picture window),
  // or over the screen without one.
  TPrintForm1(TPrintedPicture target, IPrinters& printers, QWidget* parent);
  ~TPrintForm1() override;

  // The picture window's "Page" button and "Print Preview": the dialog,
  // modal and centred over the window.
  void ToolButton9Click();
  // One pass: print mode, or preview mode (the page image). True when it
  // ended as asked: every copy accepted by the printer, or the page shown.
  bool ToolButton11Click(bool preview);
  void RefreshPreview();
  void Button1Click();        // "&Default"
  void SetupClick();          // "Setup"
  void Action33Execute();     // "Footer Text"
  void RotateClick();         // "Rotate 90°"
  // The Page drop-down: its items, refreshed when it opens.
  void BuildPageMenu(QMenu& menu);
  void PopupMenu4Popup();
  void p11Click(int entry);
  void PrinterSetup1Click();

  // Fills the printer list unless it was filled from an answering print
  // system already: the list is asked once for the dialog's life.
  // PrinterError when the print system does not answer (the stored
  // printer and "Default Printer" are listed then).
  void FillPrinterList();
  // The layout of the next pass; PrinterError when there is no printer.
  TPrintLayout Layout();
  const TPrinterOptions& Options() const { return options_; }
  // The last refresh ended with a page on the preview.
  bool PreviewShown() const { return preview_ok_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildControls();
  void LoadControls();
  void StoreControls();
  void ConnectControls();
  void SelectEntry(const QString& text);
  void PlacePaper(const TPreviewPaper& paper);
  void ShowOnPage(const TPrintPassResult& result);
  TPageSetup SelectedSetup();
  // A queue chosen in the printer set-up dialog becomes the selected entry.
  void TakePrinter(const std::string& before, const std::string& chosen);

  TPrintedPicture target_;
  TAppContext& context_;
  TPictureDocument& document_;
  IPrinters& printers_;
  TPrinterOptions options_;
  TPrinterList installed_;
  bool list_filled_ = false;
  bool preview_running_ = false;
  bool preview_ok_ = false;
  int alignment_ = 0;

  QComboBox* ComboBox1 = nullptr;   // printers
  QRadioButton* Portrait = nullptr;
  QRadioButton* Landscape = nullptr;
  QSpinBox* Copies = nullptr;
  QComboBox* ComboBox2 = nullptr;   // alignment
  QCheckBox* KeepProportions = nullptr;
  QRadioButton* PercentPicture = nullptr;
  QRadioButton* PercentPage = nullptr;
  QSpinBox* PercentPictureValue = nullptr;
  QSpinBox* PercentPageValue = nullptr;
  QButtonGroup* scaling_ = nullptr;
  QListWidget* CheckListBox1 = nullptr;
  std::array<QRadioButton*, 3> cpi_{};
  QButtonGroup* cpi_group_ = nullptr;
  QPushButton* PrintButton = nullptr;
  QCheckBox* Optimize = nullptr;
  QCheckBox* Grayscale = nullptr;
  QScrollArea* PreviewArea = nullptr;
  QFrame* Paper = nullptr;
  QFrame* Shadow = nullptr;
  TPageImage* PageImage = nullptr;
  QCheckBox* OriginalSize = nullptr;
  QLabel* StatusLine = nullptr;
  QMenu* page_menu_ = nullptr;
  std::array<QAction*, kMaxMenuPrinters> menu_printers_{};
};

// The printer list's entry for the queue a pass prints on: the entry
// itself, or for "Default Printer" the default queue's own name.
QString PrintedEntry(const QString& entry, const std::string& default_name);

}  // namespace vistrel
