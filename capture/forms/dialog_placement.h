// Dialogs opened from the picture window sit centred over it.
#pragma once

class QWidget;

namespace vistrel {

// top = window top + (window height - dialog height) div 2, left likewise.
void CentreOver(QWidget& dialog, const QWidget& window);

}  // namespace vistrel
