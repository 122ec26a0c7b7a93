// Annotating in the picture window: the "Annotate" menu and toolbar, the
// tool keys, and the moment the marks are drawn into the picture.
//
// With no tool chosen nothing here takes an event, so the window behaves
// exactly as without it. With a tool chosen the overlay takes the mouse;
// the marks stay editable until they are committed: when the tool is left
// (Esc, the tool's key or button again, "Finish Annotating"), and before
// anything else the window or the tray does with the picture (a menu, a
// toolbar button, a shortcut, saving, copying, printing, closing). A
// commit draws every mark at picture resolution as one undo entry.
#pragma once

#include <QObject>
#include <array>

#include "picture/annotation/annotate_overlay.h"

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QSpinBox;
class QFontComboBox;
class QToolBar;
class QToolButton;

namespace vistrel {

class TPictureDocument;
class SettingsStore;

class TAnnotateMode : public QObject {
  Q_OBJECT

 public:
  // Reads the last choices from the settings.
  TAnnotateMode(QMainWindow& window, TPictureView& view, TPictureDocument& document);

  QMenu* Menu() const { return menu_; }
  QToolBar* ToolBar() const { return tool_bar_; }
  TAnnotateOverlay& Overlay() const { return *overlay_; }
  QAction* ToolAction(TAnnotationTool tool) const;

  TAnnotationTool Tool() const { return overlay_->Tool(); }
  // Choosing None leaves the tool and commits.
  void SetTool(TAnnotationTool tool);
  void Leave() { SetTool(TAnnotationTool::None); }
  // Draws the marks into the picture as one undo entry "Annotate". False
  // when there was nothing to draw.
  bool Commit();

  // The colour, width and font shown in the toolbar, as the next mark
  // takes them; changing one applies it to the selected mark too.
  void ChooseColor(TColor color);
  void ChooseWidth(int width);
  void ChooseFont(const std::string& family, int size);

  void SaveOptions(SettingsStore& store) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildActions();
  void BuildMenu();
  void BuildToolBar();
  void ShowChoices();
  void LayerChanged();
  // Whether `widget` belongs to the annotation controls or the view, whose
  // clicks do not commit.
  bool OwnWidget(QWidget* widget) const;
  bool OwnAction(QObject* object) const;

  QMainWindow& window_;
  TPictureView& view_;
  TPictureDocument& document_;
  TAnnotateOverlay* overlay_;

  std::array<QAction*, 10> tool_actions_{};
  QActionGroup* tools_ = nullptr;
  QAction* delete_mark_ = nullptr;
  QAction* finish_ = nullptr;
  QAction* show_toolbar_ = nullptr;
  QMenu* menu_ = nullptr;
  QMenu* palette_ = nullptr;
  QToolBar* tool_bar_ = nullptr;
  QToolButton* color_button_ = nullptr;
  QSpinBox* width_box_ = nullptr;
  QFontComboBox* font_box_ = nullptr;
  QSpinBox* font_size_box_ = nullptr;
  bool filtering_ = false;
};

}  // namespace vistrel
