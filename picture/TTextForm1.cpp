#include "picture/TTextForm1.h"

#include <QAbstractTextDocumentLayout>
#include <QDateTime>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include "settings/settings_store.h"
#include "picture/TSolidColorDialog.h"
#include "picture/stored_color.h"
#include "picture/text_rules.h"

namespace vistrel {

namespace {

constexpr int kClientWidth = 466, kClientHeight = 196;

TFontStyle StyleOf(const QFont& font) {
  return {font.bold(), font.italic(), font.underline(), font.strikeOut()};
}

void ApplyStyle(QFont& font, const TFontStyle& style) {
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setUnderline(style.underline);
  font.setStrikeOut(style.strikeout);
}

// The font with the name of the face that draws it. The font dialog selects
// a face by that name; without one it looks for "Normal" or "Regular", and
// where the family calls its upright face otherwise ("Book") it falls back
// to the first face listed, which may be an oblique one.
QFont WithFaceName(QFont font) {
  const QFontInfo face(font);
  if (face.family() == font.family()) font.setStyleName(face.styleName());
  return font;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect place) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  button->setGeometry(place);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TTextForm1::TTextForm1(QWidget* parent) : QDialog(parent) {
  setObjectName("TextForm1");
  setWindowTitle("Text Editor");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  setModal(true);

  // Controls in tab order.
  BitBtn1 = Button(this, "BitBtn1", "Font", {0, 4, 69, 33});
  BitBtn3 = Button(this, "BitBtn3", "Insert Date + Time", {76, 4, 117, 33});
  BitBtn4 = Button(this, "BitBtn4", "from Clipboard", {200, 4, 109, 33});
  BitBtn5 = Button(this, "BitBtn5", "Clear", {316, 4, 65, 33});
  BitBtn2 = Button(this, "BitBtn2", "&Close", {388, 4, 77, 33});
  Memo1 = new QTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setGeometry(0, 44, 465, 149);
  Memo1->setAcceptRichText(false);
  Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
  Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The selection stays visible when the area loses the focus.
  QPalette palette = Memo1->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  Memo1->setPalette(palette);

  connect(BitBtn1, &QPushButton::clicked, this, &TTextForm1::BitBtn1Click);
  connect(BitBtn3, &QPushButton::clicked, this, &TTextForm1::BitBtn3Click);
  connect(BitBtn4, &QPushButton::clicked, Memo1, [this] {
    Memo1->paste();
    Memo1->setFocus();
  });
  connect(BitBtn5, &QPushButton::clicked, Memo1, &QTextEdit::clear);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);

  // 1. The lines start empty. 2. The stored font. 3. The stored text.
  {
    SettingsStore store;
    options_ = TextOptions::Load(store);
  }
  QFont font(QString::fromStdString(options_.FontName));
  font.setPointSize(options_.FontSize);
  if (const auto style = FontStyleFromStored(options_.FontStyle)) ApplyStyle(font, *style);
  SetTextFont(font, QColorFromStored(TColor(options_.FontColor)));
  QStringList lines;
  for (const std::string& line : LinesOfUserText(options_.UserText))
    lines << QString::fromStdString(line);
  Memo1->setPlainText(lines.join('\n'));

  // Centred on the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }
}

void TTextForm1::SetTextFont(const QFont& font, const QColor& color) {
  font_ = font;
  color_ = color;
  Memo1->setFont(font);
  Memo1->document()->setDefaultFont(font);
  QPalette palette = Memo1->palette();
  palette.setColor(QPalette::Text, color);
  Memo1->setPalette(palette);
}

void TTextForm1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Memo1->selectAll();
  Memo1->setFocus();
}

void TTextForm1::BitBtn1Click() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, WithFaceName(font_), this, QString(),
                                         QFontDialog::DontUseNativeDialog);
  if (ok) {
    // The font dialog has no colour: the colour dialog follows it.
    const std::optional<QColor> color = TSolidColorDialog::GetColor(color_, this);
    SetTextFont(font, color.value_or(color_));
  }
  Memo1->setFocus();
}

void TTextForm1::BitBtn3Click() {
  const QDateTime now = QDateTime::currentDateTime();
  const std::time_t seconds = std::time_t(now.toSecsSinceEpoch());
  std::tm local{};
  localtime_r(&seconds, &local);
  const QLocale locale = QLocale::system();
  const std::string text =
      DateTimeText(local, locale.dayName(now.date().dayOfWeek()).toStdString(),
                   locale.monthName(now.date().month(), QLocale::ShortFormat).toStdString());
  QTextCursor cursor(Memo1->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(" " + QString::fromStdString(text) + " ");
  Memo1->setFocus();
}

std::vector<std::string> TTextForm1::DisplayedLines() const {
  // The layout of every block must be current before its lines are read.
  Memo1->document()->documentLayout()->documentSize();
  std::vector<std::string> lines;
  for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    const QString text = block.text();
    if (!layout || layout->lineCount() == 0) {
      lines.push_back(text.toStdString());
      continue;
    }
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      lines.push_back(text.mid(line.textStart(), line.textLength()).toStdString());
    }
  }
  // An empty text area displays no line.
  if (lines.size() == 1 && lines.front().empty()) lines.clear();
  return lines;
}

void TTextForm1::done(int result) {
  if (!closed_) {
    closed_ = true;
    const std::vector<std::string> lines = DisplayedLines();
    lines_ = TextBufferOfLines(lines);
    options_.FontName = font_.family().toStdString();
    options_.FontSize = font_.pointSize() > 0 ? font_.pointSize() : options_.FontSize;
    options_.FontColor = int(StoredFromQColor(color_));
    if (const auto style = StoredFontStyle(StyleOf(font_))) options_.FontStyle = *style;
    options_.UserText = UserTextOfLines(lines);
    SettingsStore store;
    options_.Save(store);
    store.Close();
  }
  QDialog::done(result);
}

}  // namespace vistrel
