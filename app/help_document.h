// Help > "Vistrel-Pro Help": the user's guide Vistrel_Pro.html beside the
// program, opened by the desktop's opener (xdg-open).
#pragma once

#include <QString>

class QWidget;

namespace vistrel {

inline constexpr const char* kHelpFileName = "Vistrel_Pro.html";

// The program's folder followed by the help document's name.
QString HelpDocumentPath();

// A missing document or no program to open it is reported with the path.
void OpenHelpDocument(QWidget* parent, const QString& path = HelpDocumentPath());

}  // namespace vistrel
