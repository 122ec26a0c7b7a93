// Text insertion: the editor, arming the placement, and the placement at
// the next button release over the picture.
#include <QPainter>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "picture/EditingTexts.h"
#include "picture/MainFormTexts.h"
#include "picture/TMainForm1.h"
#include "picture/picture_document.h"
#include "picture/TTextForm1.h"
#include "picture/editing_commands.h"
#include "picture/text_rules.h"

namespace vistrel {

namespace {

// The font as it is drawn on the picture: its points at the screen's 96
// dots per inch, whatever the picture's own resolution.
QFont PictureFont(QFont font) {
  if (font.pointSize() > 0) font.setPixelSize(ScreenPixelsOfPoints(font.pointSize()));
  return font;
}

}  // namespace

void TEditingCommands::InsertText() {
  if (running_) return;
  TActionList1& commands = w_.Context().commands;
  commands.DisableClipboardCommands();
  TTextForm1 editor(&w_);
  editor.exec();
  commands.EnableClipboardCommands();

  TPictureView* view = w_.PictureView1;
  view->BeginPaintLock();
  doc_.PushUndo(std::string());
  font_ = editor.TextFont();
  text_lines_ = editor.Lines();
  text_color_ = editor.TextColor();
  view->SetMouseInteract({});
  view->SetCursor(crTextCross);
  view->ClearSelection();
  view->SetHint(editing_texts::kPlaceTextHint);
  view->EndPaintLock();
  view->UpdateView();
  UpdateUndoCommand();
}

void TEditingCommands::PlaceText(bool left_button, int client_x, int client_y) {
  TPictureView* view = w_.PictureView1;
  view->BeginPaintLock();
  if (left_button) {
    const QFont font = PictureFont(font_);
    QImage canvas = view->PictureCanvas();
    QPainter painter(&canvas);
    if (painter.isActive()) {
      painter.setFont(font);
      painter.setPen(text_color_);
      painter.setBrush(Qt::NoBrush);
      const QFontMetrics metrics = painter.fontMetrics();
      // Every line, empty ones too, moves down by the height of "X".
      const int line_height = metrics.height();
      const int x = view->ScreenToPictureX(client_x);
      int y = view->ScreenToPictureY(client_y);
      for (const std::string& line : text_lines_) {
        if (!line.empty())
          painter.drawText(QPoint(x, y + metrics.ascent()), QString::fromStdString(line));
        y += line_height;
      }
    }
  }
  view->SetMouseInteract(TPictureView::miSelect);
  view->SetHint(main_form_texts::kDragRectangleHint);
  view->EndPaintLock();
  view->UpdateView();
}

}  // namespace vistrel
