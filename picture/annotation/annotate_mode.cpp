#include "picture/annotation/annotate_mode.h"

#include <algorithm>

#include <QActionGroup>
#include <QApplication>
#include <QColorDialog>
#include <QFontComboBox>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcutEvent>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include "imaging/operations/black_white.h"
#include "imaging/operations/progress.h"
#include "picture/TPictureView.h"
#include "picture/annotation/annotate_icons.h"
#include "picture/annotation/annotation_painter.h"
#include "picture/picture_document.h"
#include "picture/stored_color.h"

namespace vistrel {

namespace {

struct TToolRow {
  TAnnotationTool tool;
  const char* caption;
  char key;
  const char* hint;  // after the caption and key
};

constexpr TToolRow kTools[] = {
    {TAnnotationTool::Arrow, "Arrow", 'A', "Shift: steps of 45\u00b0"},
    {TAnnotationTool::Line, "Line", 'L', "Shift: steps of 45\u00b0"},
    {TAnnotationTool::Rectangle, "Rectangle", 'R', "Shift: square, Ctrl at the start: filled"},
    {TAnnotationTool::Ellipse, "Ellipse", 'E', "Shift: circle, Ctrl at the start: filled"},
    {TAnnotationTool::Pen, "Pen", 'P', nullptr},
    {TAnnotationTool::Highlighter, "Highlighter", 'H', nullptr},
    {TAnnotationTool::Marker, "Numbered Marker", 'N', "1, 2, 3 \u2026 with each click"},
    {TAnnotationTool::Text, "Text", 'T', "click, then type"},
    {TAnnotationTool::Pixelate, "Pixelate", 'X', "blocks of the width, at least 8 pixels"},
    {TAnnotationTool::Blur, "Blur", 'B', "radius of the width"},
};

// The palette: the common marking colours, black and white.
struct TPaletteEntry {
  TColor color;
  const char* name;
};
constexpr TPaletteEntry kPalette[] = {
    {MakeColor(255, 0, 0), "Red"},      {MakeColor(255, 128, 0), "Orange"},
    {MakeColor(255, 255, 0), "Yellow"}, {MakeColor(0, 170, 0), "Green"},
    {MakeColor(0, 90, 255), "Blue"},    {MakeColor(170, 0, 255), "Violet"},
    {MakeColor(0, 0, 0), "Black"},      {MakeColor(255, 255, 255), "White"},
};

bool Modified(const QKeyEvent& key) {
  return key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

bool Within(QWidget* widget, const QWidget* root) {
  for (QWidget* w = widget; w; w = w->parentWidget())
    if (w == root) return true;
  return false;
}

}  // namespace

TAnnotateMode::TAnnotateMode(QMainWindow& window, TPictureView& view, TPictureDocument& document)
    : QObject(&window),
      window_(window),
      view_(view),
      document_(document),
      overlay_(new TAnnotateOverlay(view)) {
  {
    SettingsStore store;
    overlay_->SetStyle(AnnotateOptions::Load(store));
  }
  BuildActions();
  BuildMenu();
  BuildToolBar();
  if (overlay_->Style().Font.empty()) {
    // Texts take the family the font box shows, not whatever an empty
    // family falls back to.
    AnnotateOptions style = overlay_->Style();
    style.Font = font_box_->currentFont().family().toStdString();
    overlay_->SetStyle(style);
  }
  ShowChoices();
  connect(overlay_, &TAnnotateOverlay::LayerChanged, this, &TAnnotateMode::LayerChanged);
  // Tool keys and typing reach the view while it has the focus.
  view_.installEventFilter(this);
  LayerChanged();
}

QAction* TAnnotateMode::ToolAction(TAnnotationTool tool) const {
  for (std::size_t i = 0; i < std::size(kTools); ++i)
    if (kTools[i].tool == tool) return tool_actions_[i];
  return nullptr;
}

void TAnnotateMode::BuildActions() {
  tools_ = new QActionGroup(this);
  tools_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (std::size_t i = 0; i < std::size(kTools); ++i) {
    const TToolRow& row = kTools[i];
    const QString key(QChar::fromLatin1(row.key));
    auto* action = new QAction(AnnotationToolIcon(row.tool),
                               QString::fromUtf8(row.caption) + "\t" + key, this);
    action->setObjectName(QStringLiteral("Annotate_%1").arg(QString::fromUtf8(row.caption)));
    action->setCheckable(true);
    QString tip = QStringLiteral("%1 (%2)").arg(QString::fromUtf8(row.caption), key);
    if (row.hint) tip += QStringLiteral(" \u2013 ") + QString::fromUtf8(row.hint);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    tools_->addAction(action);
    const TAnnotationTool tool = row.tool;
    connect(action, &QAction::triggered, this,
            [this, tool](bool checked) { SetTool(checked ? tool : TAnnotationTool::None); });
    tool_actions_[i] = action;
  }
  delete_mark_ = new QAction(QStringLiteral("Delete Mark"), this);
  delete_mark_->setShortcut(QKeySequence(Qt::Key_Delete));
  delete_mark_->setShortcutContext(Qt::WindowShortcut);
  connect(delete_mark_, &QAction::triggered, overlay_, &TAnnotateOverlay::RemoveSelected);
  window_.addAction(delete_mark_);
  finish_ = new QAction(QStringLiteral("Finish Annotating\tEsc"), this);
  connect(finish_, &QAction::triggered, this, &TAnnotateMode::Leave);
}

void TAnnotateMode::BuildMenu() {
  menu_ = new QMenu(QStringLiteral("&Annotate"), &window_);
  menu_->setObjectName("AnnotateMenu");
  for (QAction* action : tool_actions_) menu_->addAction(action);
  menu_->addSeparator();
  menu_->addAction(delete_mark_);
  QAction* remove_last = menu_->addAction(QStringLiteral("Remove Last Mark\tCtrl+Z"));
  remove_last->setObjectName("RemoveLastMark");
  connect(remove_last, &QAction::triggered, overlay_, &TAnnotateOverlay::RemoveLast);
  connect(menu_, &QMenu::aboutToShow, this, [this, remove_last] {
    remove_last->setEnabled(!overlay_->Layer().empty());
  });
  menu_->addAction(finish_);
  menu_->addSeparator();
  show_toolbar_ = menu_->addAction(QStringLiteral("Annotate Toolbar"));
  show_toolbar_->setCheckable(true);
}

void TAnnotateMode::BuildToolBar() {
  tool_bar_ = new QToolBar(QStringLiteral("Annotate"), &window_);
  tool_bar_->setObjectName("AnnotateToolBar");
  tool_bar_->setMovable(false);
  tool_bar_->setFloatable(false);
  tool_bar_->setIconSize(QSize(20, 20));
  tool_bar_->setContextMenuPolicy(Qt::PreventContextMenu);
  for (QAction* action : tool_actions_) tool_bar_->addAction(action);
  tool_bar_->addSeparator();

  palette_ = new QMenu(tool_bar_);
  palette_->setObjectName("AnnotatePalette");
  for (const TPaletteEntry& entry : kPalette) {
    const TColor colour = entry.color;
    QAction* swatch = palette_->addAction(ColorSwatchIcon(colour), QString::fromUtf8(entry.name));
    connect(swatch, &QAction::triggered, this, [this, colour] { ChooseColor(colour); });
  }
  palette_->addSeparator();
  connect(palette_->addAction(QStringLiteral("More \u2026")), &QAction::triggered, this, [this] {
    const QColor chosen = QColorDialog::getColor(QColorFromStored(overlay_->ToolColor()), tool_bar_);
    if (chosen.isValid()) ChooseColor(StoredFromQColor(chosen));
  });
  color_button_ = new QToolButton(tool_bar_);
  color_button_->setObjectName("AnnotateColor");
  color_button_->setToolTip(QStringLiteral("Colour"));
  color_button_->setMenu(palette_);
  color_button_->setPopupMode(QToolButton::InstantPopup);
  tool_bar_->addWidget(color_button_);

  width_box_ = new QSpinBox(tool_bar_);
  width_box_->setObjectName("AnnotateWidth");
  width_box_->setRange(AnnotateOptions::kMinWidth, AnnotateOptions::kMaxWidth);
  width_box_->setSuffix(QStringLiteral(" px"));
  width_box_->setToolTip(QStringLiteral("Line width"));
  connect(width_box_, &QSpinBox::valueChanged, this, [this](int width) {
    if (width != overlay_->Style().Width) ChooseWidth(width);
  });
  tool_bar_->addWidget(width_box_);

  font_box_ = new QFontComboBox(tool_bar_);
  font_box_->setObjectName("AnnotateFont");
  font_box_->setToolTip(QStringLiteral("Text font"));
  font_box_->setMaximumWidth(130);
  font_size_box_ = new QSpinBox(tool_bar_);
  font_size_box_->setObjectName("AnnotateFontSize");
  font_size_box_->setRange(AnnotateOptions::kMinFontSize, AnnotateOptions::kMaxFontSize);
  font_size_box_->setSuffix(QStringLiteral(" px"));
  font_size_box_->setToolTip(QStringLiteral("Text size"));
  const auto font_chosen = [this] {
    ChooseFont(font_box_->currentFont().family().toStdString(), font_size_box_->value());
  };
  connect(font_box_, &QFontComboBox::currentFontChanged, this, font_chosen);
  connect(font_size_box_, &QSpinBox::valueChanged, this, font_chosen);
  tool_bar_->addWidget(font_box_);
  tool_bar_->addWidget(font_size_box_);

  connect(show_toolbar_, &QAction::toggled, tool_bar_, &QToolBar::setVisible);
}

void TAnnotateMode::ShowChoices() {
  const AnnotateOptions& style = overlay_->Style();
  const QSignalBlocker width_quiet(width_box_), font_quiet(font_box_), size_quiet(font_size_box_);
  color_button_->setIcon(ColorSwatchIcon(overlay_->ToolColor()));
  width_box_->setValue(style.Width);
  if (!style.Font.empty()) font_box_->setCurrentFont(QFont(QString::fromStdString(style.Font)));
  font_size_box_->setValue(style.FontSize);
  show_toolbar_->setChecked(style.ShowToolbar);
  tool_bar_->setVisible(style.ShowToolbar);
}

void TAnnotateMode::ChooseColor(TColor color) {
  overlay_->ApplyColor(color);
  color_button_->setIcon(ColorSwatchIcon(color));
}

void TAnnotateMode::ChooseWidth(int width) {
  overlay_->ApplyWidth(width);
  const QSignalBlocker quiet(width_box_);
  width_box_->setValue(width);
}

void TAnnotateMode::ChooseFont(const std::string& family, int size) {
  overlay_->ApplyFont(family, size);
}

void TAnnotateMode::SaveOptions(SettingsStore& store) const {
  AnnotateOptions options = overlay_->Style();
  options.ShowToolbar = show_toolbar_->isChecked();
  options.Save(store);
}

void TAnnotateMode::SetTool(TAnnotationTool tool) {
  if (tool == TAnnotationTool::None) Commit();
  overlay_->SetTool(tool);
  if (QAction* action = ToolAction(tool)) {
    action->setChecked(true);
  } else if (QAction* checked = tools_->checkedAction()) {
    checked->setChecked(false);
  }
  color_button_->setIcon(ColorSwatchIcon(overlay_->ToolColor()));
  // While a tool is chosen every click and shortcut of the program passes
  // here first, to commit the marks before it acts.
  const bool active = tool != TAnnotationTool::None;
  if (active != filtering_) {
    filtering_ = active;
    if (active)
      qApp->installEventFilter(this);
    else
      qApp->removeEventFilter(this);
  }
  finish_->setEnabled(active);
  if (active) view_.setFocus();
}

bool TAnnotateMode::Commit() {
  overlay_->EndTyping();
  if (overlay_->Layer().empty()) return false;
  const std::vector<TAnnotation> marks = overlay_->TakeLayer();
  document_.PushUndo("Annotate");
  TPictureBitmap& picture = document_.Picture();
  if (picture.IsMono()) {
    TProgress progress;
    picture = MonoTo24Bit(picture, progress);
  }
  DrawAnnotationsInto(picture, marks);
  overlay_->ContinueMarkersAfter(NextMarkerNumber(marks) - 1);
  view_.ImageChanged();
  return true;
}

void TAnnotateMode::LayerChanged() {
  delete_mark_->setEnabled(overlay_->Selected().has_value());
  color_button_->setIcon(ColorSwatchIcon(overlay_->ToolColor()));
}

bool TAnnotateMode::OwnWidget(QWidget* widget) const {
  return Within(widget, &view_) || Within(widget, tool_bar_) || Within(widget, menu_);
}

bool TAnnotateMode::OwnAction(QObject* object) const {
  return object == delete_mark_ || object == finish_ || object == show_toolbar_ ||
         std::find(tool_actions_.begin(), tool_actions_.end(), object) != tool_actions_.end();
}

bool TAnnotateMode::eventFilter(QObject* watched, QEvent* event) {
  const bool at_view = watched == &view_;
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      // While a text is typed into, its keys are not shortcuts.
      auto* key = static_cast<QKeyEvent*>(event);
      if (at_view && overlay_->Typing() && !Modified(*key)) key->accept();
      return false;
    }
    case QEvent::KeyPress: {
      if (!at_view) return false;
      auto* key = static_cast<QKeyEvent*>(event);
      // Ctrl+Z reaches the view as a key while the window's Undo is off.
      if (key->matches(QKeySequence::Undo) && overlay_->RemoveLast()) return true;
      if (overlay_->Typing()) {
        if (Modified(*key)) return false;
        overlay_->TypeKey(*key);
        return true;
      }
      if (Modified(*key) || (key->modifiers() & Qt::ShiftModifier)) return false;
      const QString text = key->text();
      const TAnnotationTool tool =
          text.size() == 1 ? ToolForKey(text.at(0).toLatin1()) : TAnnotationTool::None;
      if (tool == TAnnotationTool::None) return false;
      SetTool(tool == Tool() ? TAnnotationTool::None : tool);
      return true;
    }
    case QEvent::Shortcut: {
      const QKeySequence key = static_cast<QShortcutEvent*>(event)->key();
      if (key == QKeySequence(Qt::Key_Escape)) {
        Leave();
        return true;
      }
      if (QKeySequence::keyBindings(QKeySequence::Undo).contains(key) && overlay_->RemoveLast())
        return true;
      if (!OwnAction(watched)) Commit();
      return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* widget = qobject_cast<QWidget*>(watched);
      // A menu bar click only opens a menu; the menu's showing decides.
      if (widget && !qobject_cast<QMenuBar*>(widget) && !OwnWidget(widget)) Commit();
      return false;
    }
    case QEvent::Show:
      if (auto* menu = qobject_cast<QMenu*>(watched); menu && !OwnWidget(menu)) Commit();
      return false;
    default:
      return false;
  }
}

}  // namespace vistrel
