// "About Vistrel-Pro": product name and version, the home-page link and the
// credits. Fixed size, no frame buttons, above other windows, centred on the
// screen.
#pragma once

#include <QDialog>

#include "program_info.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vistrel {

class TActionList1;
struct TPictureState;

namespace about_form_texts {
inline constexpr const char* kCaption = "About Vistrel-Pro";
inline constexpr const char* kProduct = "Vistrel-Pro";
inline constexpr const char* kVersion = "V" VISTREL_VERSION;
inline constexpr const char* kCaptionLine = "Screen capture for the Linux desktop";
inline constexpr const char* kHomePage = "https://vistrel-pro.org/";
inline constexpr const char* kCreditsTitle = "Credits";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kNoHomePage = "Could not find home-page";
inline constexpr const char* kCredits =
    "Vistrel-Pro " VISTREL_VERSION ", screen capture for the Linux desktop.\n"
    "Copyright (C) 2026 the Vistrel-Pro developers.\n"
    "\n"
    "Built with Qt 6, (C) The Qt Company Ltd., used under the GNU Lesser General "
    "Public License version 3.\n"
    "Picture files: zlib (C) Jean-loup Gailly and Mark Adler; libpng (C) the PNG "
    "Reference Library Authors; libjpeg-turbo, based in part on the work of the "
    "Independent JPEG Group; libtiff (C) Sam Leffler and Silicon Graphics, Inc.; "
    "giflib (C) Eric S. Raymond; OpenJPEG (C) the OpenJPEG authors; libwmf, "
    "libemf2svg and librsvg, used under their licences.\n"
    "Desktop: XCB (C) Bart Massey and Jamey Sharp; ALSA library (C) the ALSA "
    "developers.\n"
    "Icons: the Tango Icon Library of the Tango Desktop Project, released into the "
    "public domain.\n";
}  // namespace about_form_texts

class TAboutForm1 : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 398;
  static constexpr int kClientHeight = 312;

  explicit TAboutForm1(QWidget* parent = nullptr);

  QLabel* Link() const { return link_; }
  QPushButton* OkButton() const { return ok_button_; }
  // Opens the home page; "Could not find home-page" when no opener starts.
  void LinkClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void SetLinkHot(bool hot);

  QLabel* link_ = nullptr;
  QPushButton* ok_button_ = nullptr;
};

// The "About ..." command: nothing while the picture window is busy; the
// clipboard commands are off while the box is open.
void Action1Execute(TActionList1& commands, const TPictureState& picture);

}  // namespace vistrel
