// Help > "Vistrel-Pro Help": the user's guide Vistrel_Pro.html, beside the
// program in the build tree or in the installed documentation folder,
// opened by the desktop's opener (xdg-open).
#pragma once

#include <QString>

class QWidget;

namespace vistrel {

inline constexpr const char* kHelpFileName = "Vistrel_Pro.html";

// Beside the program, else share/doc/vistrel-pro of the installed layout.
QString HelpDocumentPath();

// A missing document or no program to open it is reported with the path.
void OpenHelpDocument(QWidget* parent, const QString& path = HelpDocumentPath());

}  // namespace vistrel
