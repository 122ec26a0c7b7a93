// The text editor and the placement of its lines on the picture.
#include <QApplication>
#include <QClipboard>
#include <QFontDialog>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "settings/other_options.h"
#include "commands/command_table.h"
#include "picture/TSolidColorDialog.h"
#include "picture/TTextForm1.h"
#include "picture/editing_commands.h"
#include "picture/text_rules.h"
#include "dialog_answers.h"
#include "window_fixture.h"

namespace vistrel::testing {
namespace {

class TextInsertionTest : public PictureWindowTest {
 protected:
  void StoreText(const TextOptions& options) {
    SettingsStore store;
    options.Save(store);
    store.Close();
  }
  TextOptions StoredText() { return TextOptions::Load(SettingsStore()); }
};

TEST_F(TextInsertionTest, EditorHasItsControlsInPlaceAndSelectsTheSampleText) {
  TTextForm1 editor;
  EXPECT_EQ(editor.windowTitle(), "Text Editor");
  EXPECT_EQ(editor.size(), QSize(466, 196));
  const struct {
    QWidget* widget;
    const char* caption;
    QRect place;
  } controls[] = {{editor.BitBtn1, "Font", {0, 4, 69, 33}},
                  {editor.BitBtn3, "Insert Date + Time", {76, 4, 117, 33}},
                  {editor.BitBtn4, "from Clipboard", {200, 4, 109, 33}},
                  {editor.BitBtn5, "Clear", {316, 4, 65, 33}},
                  {editor.BitBtn2, "&Close", {388, 4, 77, 33}},
                  {editor.Memo1, "", {0, 44, 465, 149}}};
  QWidget* previous = nullptr;
  for (const auto& c : controls) {
    EXPECT_EQ(c.widget->geometry(), c.place) << c.caption;
    if (auto* button = qobject_cast<QPushButton*>(c.widget)) EXPECT_EQ(button->text(), c.caption);
    if (previous) EXPECT_EQ(previous->nextInFocusChain(), c.widget) << c.caption;
    previous = c.widget;
  }
  editor.show();
  QApplication::processEvents();
  EXPECT_EQ(editor.Memo1->textCursor().selectedText(), "Sample Text");
  EXPECT_EQ(editor.TextFont().family(), "Arial");
  EXPECT_EQ(editor.TextFont().pointSize(), 10);
  QTest::keyClick(editor.Memo1, Qt::Key_Escape);
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(editor.Lines()[0], "Sample Text");
}

TEST_F(TextInsertionTest, ClosingStoresFontAndDisplayedLinesWithCrLf) {
  StoreText({"DejaVu Sans", 12, 0x0000FF, 1, "one\r\ntwo\r\n"});
  {
    TTextForm1 editor;
    EXPECT_TRUE(editor.TextFont().bold());
    EXPECT_EQ(editor.TextColor(), QColor(255, 0, 0));
    EXPECT_EQ(editor.Memo1->toPlainText(), "one\ntwo");
    editor.Memo1->setPlainText(QString("x\n").repeated(40) + "last");
    editor.show();
    editor.BitBtn2->click();
    EXPECT_EQ(editor.Lines()[32], "x");
  }
  const TextOptions stored = StoredText();
  EXPECT_EQ(stored.FontName, "DejaVu Sans");
  EXPECT_EQ(stored.FontSize, 12);
  EXPECT_EQ(stored.FontStyle, 1);
  EXPECT_EQ(LinesOfUserText(stored.UserText).size(), 41u);
  EXPECT_EQ(stored.UserText.substr(0, 6), "x\r\nx\r\n");
}

TEST_F(TextInsertionTest, FontDialogOpensOnTheStoredStyleAndOkKeepsIt) {
  // DejaVu Sans calls its upright face "Book", not "Regular".
  const struct {
    int stored;
    bool bold, italic;
  } cases[] = {{0, false, false}, {1, true, false}, {2, false, true}, {5, true, true}};
  for (const auto& c : cases) {
    StoreText({"DejaVu Sans", 12, 0x0000FF, c.stored, "t"});
    TTextForm1 editor;
    QFont offered;
    QColor offered_colour;
    DialogAnswers answers({[&](QWidget* w) {
                             auto* dialog = qobject_cast<QFontDialog*>(w);
                             ASSERT_TRUE(dialog);
                             offered = dialog->currentFont();
                             dialog->accept();
                           },
                           [&](QWidget* w) {
                             // Solid colours only, opened on the text colour.
                             auto* dialog = qobject_cast<TSolidColorDialog*>(w);
                             ASSERT_TRUE(dialog);
                             offered_colour = dialog->SelectedColor();
                             dialog->accept();
                           }});
    editor.BitBtn1->click();
    ASSERT_TRUE(answers.AllAnswered()) << c.stored;
    EXPECT_EQ(offered.italic(), c.italic) << c.stored;
    EXPECT_EQ(offered.bold(), c.bold) << c.stored;
    EXPECT_EQ(offered_colour, QColor(255, 0, 0));
    EXPECT_EQ(editor.TextFont().family(), "DejaVu Sans");
    EXPECT_EQ(editor.TextFont().italic(), c.italic) << c.stored;
    EXPECT_EQ(editor.TextFont().bold(), c.bold) << c.stored;
    EXPECT_EQ(editor.TextFont().pointSize(), 12);
    EXPECT_EQ(editor.TextColor(), QColor(255, 0, 0));
    editor.reject();
    EXPECT_EQ(StoredText().FontStyle, c.stored);
  }
}

TEST_F(TextInsertionTest, ALongParagraphIsStoredAsTheLinesTheAreaShowed) {
  StoreText({"DejaVu Sans", 10, 0, 0,
             std::string(60, 'a') + " " + std::string(60, 'b') + " " + std::string(60, 'c')});
  TTextForm1 editor;
  editor.show();
  QApplication::processEvents();
  const auto lines = editor.DisplayedLines();
  ASSERT_GE(lines.size(), 2u);
  editor.close();
  EXPECT_EQ(LinesOfUserText(StoredText().UserText).size(), lines.size());
  EXPECT_EQ(editor.Lines()[1].substr(0, 1), lines[1].substr(0, 1));
}

TEST_F(TextInsertionTest, StylesOutsideTheSixAreUsedButNotStored) {
  StoreText({"DejaVu Sans", 10, 0, 4, "s"});
  TTextForm1 editor;
  QFont font = editor.TextFont();
  font.setStrikeOut(false);
  font.setBold(true);
  font.setUnderline(true);
  editor.SetTextFont(font, Qt::black);
  editor.close();
  EXPECT_EQ(StoredText().FontStyle, 4);
}

TEST_F(TextInsertionTest, BadStoredSizeAndUnknownFontStillGiveAUsableFont) {
  StoreText({"No Such Font Anywhere", 5000, 0, 9, "t"});
  TTextForm1 editor;
  EXPECT_EQ(editor.TextFont().pointSize(), 10);
  EXPECT_FALSE(QFontInfo(editor.TextFont()).family().isEmpty());
  EXPECT_FALSE(editor.TextFont().bold());  // style 9: unchanged
}

TEST_F(TextInsertionTest, DateAndTimeGoToTheVeryEnd) {
  TTextForm1 editor;
  editor.Memo1->moveCursor(QTextCursor::Start);
  editor.BitBtn3->click();
  const QString text = editor.Memo1->toPlainText();
  EXPECT_TRUE(text.startsWith("Sample Text "));
  EXPECT_TRUE(text.endsWith(" "));
  EXPECT_TRUE(text.contains(QRegularExpression(", \\d\\d\\d\\d  \\d\\d:\\d\\d:\\d\\d (AM|PM) $")));
}

TEST_F(TextInsertionTest, InsertTextArmsThePlacementAndTheLeftButtonDrawsIt) {
  SetDesktop({{TScreenRect{0, 0, 300, 200}, true, "ONE"}});
  StoreText({"DejaVu Sans", 10, 0x0000FF, 0, "XX\r\n\r\nXX\r\n"});
  auto window = NewWindow();
  window->show();
  QApplication::processEvents();
  TPictureView& view = *window->PictureView1;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) view.Picture().SetPixel(x, y, kWhite);
  bool copy_enabled_while_open = true;
  QTimer::singleShot(0, [&] {
    copy_enabled_while_open = commands_.Action(cmd::kCopy)->isEnabled();
    QApplication::activeModalWidget()->close();
  });
  commands_.Action(cmd::kInsertText)->trigger();
  EXPECT_FALSE(copy_enabled_while_open);
  EXPECT_TRUE(commands_.Action(cmd::kCopy)->isEnabled());
  EXPECT_EQ(window->Document().Undo().UndoDepth(), 1);
  EXPECT_EQ(view.Cursor(), int(crTextCross));
  EXPECT_EQ(view.Hint(), "Position Cursor and press Left mouse button");
  EXPECT_EQ(view.MouseInteract(), TPictureView::TMouseInteract());

  const int cx = view.PictureToScreenX(100), cy = view.PictureToScreenY(50);
  emit view.OnMouseDown(Qt::LeftButton, Qt::NoModifier, cx, cy);
  emit view.OnMouseUp(Qt::LeftButton, Qt::NoModifier, cx, cy);
  // Red text at the click, in 13-pixel type (10 points at 96 dpi): the
  // third line two line heights further down, nothing left of the click.
  int top = 200, bottom = 0, left = 300;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      const TColor c = view.Picture().Pixel(x, y);
      if (c == kWhite) continue;
      EXPECT_GT(RedOf(c), BlueOf(c)) << x << "," << y;
      top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x);
    }
  EXPECT_GE(left, 100);
  EXPECT_LE(left, 102);
  EXPECT_GE(top, 50);
  EXPECT_LE(top, 54);
  EXPECT_GT(bottom - top, 2 * 13);
  EXPECT_LT(bottom - top, 3 * 18);
  EXPECT_EQ(view.Cursor(), int(crSelect));
  EXPECT_EQ(view.MouseInteract(), TPictureView::TMouseInteract(TPictureView::miSelect));
  EXPECT_EQ(view.Hint(), "Drag a Rectangle or Right click for advanced Options");
}

TEST_F(TextInsertionTest, AnotherButtonPlacesNothingAndOneUndoRestores) {
  SetDesktop({{TScreenRect{0, 0, 120, 90}, true, "ONE"}});
  auto window = NewWindow();
  const TPictureBitmap before = window->PictureView1->Picture();
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  commands_.Action(cmd::kInsertText)->trigger();
  TPictureView& view = *window->PictureView1;
  emit view.OnMouseUp(Qt::RightButton, Qt::NoModifier, 5, 5);
  window->PopupMenu1()->hide();
  EXPECT_TRUE(view.Picture() == before);
  EXPECT_EQ(view.Cursor(), int(crSelect));
  commands_.Action(cmd::kUndo)->trigger();
  EXPECT_TRUE(view.Picture() == before);
  EXPECT_EQ(window->Document().Undo().UndoDepth(), 0);
}

}  // namespace
}  // namespace vistrel::testing
