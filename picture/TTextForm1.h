// The text editor of text insertion: up to 33 lines in a chosen font,
// colour and style. Creating it empties the text line buffer and reads
// "Setup\TextOptions"; closing it (there is no cancel) fills the buffer
// with the lines as the text area displays them and writes the section.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <string>
#include <vector>

#include "settings/other_options.h"
#include "picture/text_rules.h"

class QPushButton;
class QTextEdit;

namespace vistrel {

class TTextForm1 : public QDialog {
  Q_OBJECT

 public:
  explicit TTextForm1(QWidget* parent = nullptr);

  // The font as the text area shows it (point size) and its colour.
  QFont TextFont() const { return font_; }
  QColor TextColor() const { return color_; }
  void SetTextFont(const QFont& font, const QColor& color);

  // Lines as the text area displays them: wrapped lines count singly.
  std::vector<std::string> DisplayedLines() const;
  // The lines to place, taken when the form closes; empty before.
  const TTextLines& Lines() const { return lines_; }

  QPushButton* BitBtn1 = nullptr;  // "Font"
  QPushButton* BitBtn3 = nullptr;  // "Insert Date + Time"
  QPushButton* BitBtn4 = nullptr;  // "from Clipboard"
  QPushButton* BitBtn5 = nullptr;  // "Clear"
  QPushButton* BitBtn2 = nullptr;  // "&Close"
  QTextEdit* Memo1 = nullptr;

  void BitBtn1Click();
  void BitBtn3Click();

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TextOptions options_;
  TTextLines lines_{};
  QFont font_;
  QColor color_;
  bool closed_ = false;
};

}  // namespace vistrel
