#include "app/hint_hook.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>
#include <functional>

namespace vistrel {

QString WrapHint(const QString& hint, int max_width,
                 const std::function<int(const QString&)>& line_width) {
  const QStringList lines = hint.split(QRegularExpression("\r\n|\n|\r"));
  bool too_wide = false;
  for (const QString& line : lines) too_wide = too_wide || line_width(line) > max_width;
  if (!too_wide) return hint;
  return QString("<table width=\"%1\"><tr><td>%2</td></tr></table>")
      .arg(max_width)
      .arg(lines.join("\n").toHtmlEscaped().replace("\n", "<br>"));
}

bool HintHook::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->toolTip().isEmpty()) return false;
  const QFontMetrics metrics(QToolTip::font());
  const QString text = WrapHint(widget->toolTip(), kMaxWidth,
                                [&](const QString& line) { return metrics.horizontalAdvance(line); });
  QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, widget, QRect(),
                     kHidePauseMs);
  return true;
}

}  // namespace vistrel
