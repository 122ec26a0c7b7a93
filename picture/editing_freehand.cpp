// Free-hand drawing: the pen settings, arming, and the stroke that the
// window's mouse handling draws.
#include <QInputDialog>
#include <QPainter>

#include "commands/message_boxes.h"
#include "settings/other_options.h"
#include "settings/settings_store.h"
#include "picture/EditingTexts.h"
#include "picture/MainFormTexts.h"
#include "picture/TMainForm1.h"
#include "picture/picture_document.h"
#include "picture/TSolidColorDialog.h"
#include "picture/editing_commands.h"
#include "picture/stored_color.h"

namespace vistrel {

namespace tx = editing_texts;

namespace {

// Asks until the answer is a whole number; cancelling gives the pre-filled
// width.
int AskPenWidth(QWidget* parent, int stored) {
  const QString prefilled = QString::number(stored);
  for (;;) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, tx::kPenWidthCaption, tx::kPenWidthPrompt,
                                                 QLineEdit::Normal, prefilled, &ok);
    if (const auto width = PenWidthFromAnswer((ok ? answer : prefilled).toStdString()))
      return *width;
  }
}

}  // namespace

void TEditingCommands::FreeHandDraw() {
  if (Refused(26)) return;
  PenOptions pen;
  {
    SettingsStore store;
    pen = PenOptions::Load(store);
  }
  if (!AskQuestionYesNo(&w_, tx::kLastUsedQuestion)) {
    const std::optional<QColor> chosen =
        TSolidColorDialog::GetColor(QColorFromStored(TColor(pen.PenColor)), &w_);
    if (chosen) pen.PenColor = int(StoredFromQColor(*chosen));
    pen.PenSize = AskPenWidth(&w_, pen.PenSize);
  }
  TPictureView* view = w_.PictureView1;
  doc_.PushUndo(std::string());
  view->SetCursor(crPen);
  view->ClearSelection();
  view->SetHint(tx::kDrawHint);
  view->SetMouseInteract({});
  pen_color_ = QColorFromStored(TColor(pen.PenColor));
  pen_width_ = pen.PenSize;
  UpdateUndoCommand();
  SettingsStore store;
  pen.Save(store);
  store.Close();
}

void TEditingCommands::MovePenTo(int client_x, int client_y) {
  pen_pos_ = {w_.PictureView1->ScreenToPictureX(client_x),
              w_.PictureView1->ScreenToPictureY(client_y)};
}

void TEditingCommands::FreeHandMove(int client_x, int client_y) {
  TPictureView* view = w_.PictureView1;
  const QPoint p(view->ScreenToPictureX(client_x) - 2, view->ScreenToPictureY(client_y) - 2);
  // Near the edges of the shown part the view follows the pen a pixel at a time.
  if (p.x() < view->ViewOriginX()) view->SetViewOriginX(view->ViewOriginX() - 1);
  if (p.x() > view->ViewOriginX() + view->VisibleExtentX())
    view->SetViewOriginX(view->ViewOriginX() + 1);
  if (p.y() < view->ViewOriginY()) view->SetViewOriginY(view->ViewOriginY() - 1);
  if (p.y() > view->ViewOriginY() + view->VisibleExtentY())
    view->SetViewOriginY(view->ViewOriginY() + 1);
  {
    QImage canvas = view->PictureCanvas();
    QPainter painter(&canvas);
    if (painter.isActive()) {
      painter.setPen(QPen(pen_color_, pen_width_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      painter.drawLine(pen_pos_, p);
    }
  }
  pen_pos_ = p;
  view->UpdateView();
}

void TEditingCommands::EndFreeHand() {
  w_.PictureView1->SetMouseInteract(TPictureView::miSelect);
  w_.PictureView1->SetHint(main_form_texts::kDragRectangleHint);
}

}  // namespace vistrel
