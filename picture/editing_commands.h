// The editing commands of the picture window: clipboard, cut, crop, undo,
// the selection commands, the picture functions, the resize presets,
// free-hand drawing, text insertion and the effects dialog. The window owns
// one; it connects the shared commands to it and hands it the mouse events
// of the one-shot drawing modes. They edit the window's document.
#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPoint>
#include <functional>

#include "picture/editing_rules.h"
#include "picture/text_rules.h"

namespace vistrel {

class TMainForm1;
class TPictureDocument;

class TEditingCommands : public QObject {
  Q_OBJECT

 public:
  // `document` is the one `window` shows.
  TEditingCommands(TMainForm1& window, TPictureDocument& document);

  void Paste();
  void Cut();
  // Only while the Crop button is enabled.
  void Crop();
  void Undo();
  void UndoSelection();
  // "Grayscale colors" ... "Contrast" by command number.
  void PictureFunction(int command);
  void Resize(const TResizePreset& preset);
  void SelectCircularArea();
  void FreeHandDraw();
  void InsertText();
  // The effects dialog over `owner` (the window it was opened from; the
  // picture window when none is given).
  void AdvancedEditing(QWidget* owner = nullptr);

  // The Undo command's caption and state from the undo stack.
  void UpdateUndoCommand();

  // Mouse handling of the window: the pen goes to the pressed point; a move
  // with the left button alone held draws while free-hand drawing is armed;
  // a release ends free-hand drawing.
  void MovePenTo(int client_x, int client_y);
  void FreeHandMove(int client_x, int client_y);
  void EndFreeHand();
  // A release while text placement is armed: the left button places the
  // text line buffer at the point; any button ends the mode.
  void PlaceText(bool left_button, int client_x, int client_y);

  // The drawing surface's pen and font, as the modes set them.
  QColor PenColor() const { return pen_color_; }
  int PenWidth() const { return pen_width_; }
  // Font (point size) and colour of the text placement.
  const QFont& TextFont() const { return font_; }
  QColor TextColor() const { return text_color_; }
  const TTextLines& TextLines() const { return text_lines_; }

 private:
  // Runs an engine operation unless another one is running, and announces
  // a change of the picture.
  void Engine(const std::function<bool()>& operation);
  bool Refused(int command) const;

  TMainForm1& w_;
  TPictureDocument& doc_;
  bool running_ = false;
  QColor pen_color_ = Qt::black;
  int pen_width_ = 1;
  QPoint pen_pos_;
  QFont font_;
  QColor text_color_ = Qt::black;
  TTextLines text_lines_{};
};

}  // namespace vistrel
