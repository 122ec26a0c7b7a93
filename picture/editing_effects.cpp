// "Advanced editing window": the effects dialog on the selection's box or
// the whole picture, its result written back with one undo entry.
#include <QApplication>
#include <new>
#include <stdexcept>

#include "imaging/operations/effect_result.h"
#include "imaging/operations/picture_area.h"
#include "picture/EditingTexts.h"
#include "picture/TEffectsForm.h"
#include "picture/TMainForm1.h"
#include "picture/picture_document.h"
#include "picture/event_pump.h"
#include "picture/editing_commands.h"
#include "picture/effect_pages.h"

namespace vistrel {

void TEditingCommands::AdvancedEditing(QWidget* owner) {
  PumpPendingEvents();
  if (Refused(22)) return;
  TPictureView* view = w_.PictureView1;
  TPictureBitmap& picture = doc_.Picture();
  if (!EffectsAccept(picture)) return;
  const bool selected = view->HasSelection();
  const TPictureMask mask = selected ? view->Selection().BuildMask() : TPictureMask();
  TEffectsForm form(selected && !mask.Empty() ? CopyArea(picture, mask.BoundingBox()) : picture,
                    owner ? owner : &w_);
  if (form.exec() != QDialog::Accepted) return;

  Engine([&] {
    // The result first: a failure leaves picture and undo stack as they were.
    TPictureBitmap result = form.Result();
    doc_.PushUndo(form.Caption());
    WriteEffectResult(picture, mask.Empty() ? nullptr : &mask, std::move(result));
    return true;
  });
}

}  // namespace vistrel
