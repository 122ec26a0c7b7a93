// Help > "Vistrel-Pro Help": the user's guide Vistrel_Pro.html, beside the
// program in the build tree or in the installed documentation folder,
// opened by the desktop's opener (xdg-open), else in the program's own
// help window.
#pragma once

#include <QString>

class QWidget;

namespace vistrel {

inline constexpr const char* kHelpFileName = "Vistrel_Pro.html";

// Beside the program, else share/doc/vistrel-pro of the installed layout.
QString HelpDocumentPath();

// A missing document is reported with the path. Returns at once; when
// xdg-open is missing or fails, the help window opens later.
void OpenHelpDocument(QWidget* parent, const QString& path = HelpDocumentPath());

// The guide in the program's help window; an unreadable file is reported
// with its path.
void ShowHelpWindow(QWidget* parent, const QString& path);

}  // namespace vistrel
