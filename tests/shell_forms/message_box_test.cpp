#include "commands/message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QTest>
#include <QTimer>

namespace vistrel {
namespace {

// Presses Ctrl+C in the next box, then answers it with `answer`.
void CopyThenAnswer(QMessageBox::StandardButton answer, QString& copied) {
  QTimer::singleShot(0, [answer, &copied] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    QApplication::clipboard()->clear();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box, Qt::Key_C,
                    Qt::ControlModifier);
    copied = QApplication::clipboard()->text();
    box->button(answer)->click();
  });
}

TEST(MessageBoxes, CtrlCCopiesCaptionTextAndButtons) {
  QString copied;
  CopyThenAnswer(QMessageBox::Ok, copied);
  ShowWarningBox(nullptr, "Modifier not allowed !!");
  EXPECT_EQ(copied,
            "---------------------------\nVistrel-Pro\n---------------------------\n"
            "Modifier not allowed !!\n---------------------------\nOK   \n"
            "---------------------------\n");
}

TEST(MessageBoxes, LineBreaksAndMarkupLikeTextsStayPlain) {
  QString copied;
  CopyThenAnswer(QMessageBox::Cancel, copied);
  const auto answer = AskQuestionYesNoCancel(nullptr, "The Shortcut \r\n\r\n/tmp/<b>x</b>  \r\n");
  EXPECT_EQ(answer, QMessageBox::Cancel);
  EXPECT_TRUE(copied.contains("\nThe Shortcut \n\n/tmp/<b>x</b>  \n")) << copied.toStdString();
  EXPECT_TRUE(copied.contains("Yes")) << copied.toStdString();
}

}  // namespace
}  // namespace vistrel
