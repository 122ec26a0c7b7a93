// The question before a modified picture is closed, and the rule that
// follows its answer.
#pragma once

#include <functional>

class QWidget;

namespace vistrel {

enum class TCloseAnswer { Save, Discard, Cancel };

// Whether the picture may go after `answer`. Save runs `save`, which says
// whether the picture is saved now: a cancelled or failed save keeps it.
bool ClosesAfterAnswer(TCloseAnswer answer, const std::function<bool()>& save);

// "Save the changes to the picture before closing?" with Save, Discard and
// Cancel; Esc and the close box answer Cancel.
TCloseAnswer AskSaveBeforeClosing(QWidget* parent);

}  // namespace vistrel
