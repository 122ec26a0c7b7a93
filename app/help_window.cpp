#include "app/help_window.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace vistrel {

THelpWindow::THelpWindow(const QString& path, QWidget* parent)
    : QWidget(parent, Qt::Window),
      browser_(new QTextBrowser(this)),
      back_(new QToolButton(this)),
      find_bar_(new QWidget(this)),
      find_field_(new QLineEdit(find_bar_)),
      find_status_(new QLabel(find_bar_)) {
  setObjectName("HelpWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Vistrel-Pro Help");
  const QSize room = (parent ? parent->screen() : screen())->availableGeometry().size() * 9 / 10;
  resize(QSize(760, 600).boundedTo(room));

  back_->setText("Back");
  back_->setEnabled(false);
  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);

  // Web links leave the window; anchors and files beside the guide stay.
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl::fromLocalFile(path));

  auto* find_layout = new QHBoxLayout(find_bar_);
  find_layout->setContentsMargins(0, 0, 0, 0);
  find_layout->addWidget(new QLabel("Find:", find_bar_));
  find_layout->addWidget(find_field_, 1);
  find_layout->addWidget(find_status_);
  find_bar_->hide();
  connect(find_field_, &QLineEdit::returnPressed, this, &THelpWindow::FindNext);
  connect(find_field_, &QLineEdit::textEdited, find_status_, &QLabel::clear);
  auto* close_bar = new QShortcut(QKeySequence(Qt::Key_Escape), find_bar_);
  close_bar->setContext(Qt::WidgetWithChildrenShortcut);
  connect(close_bar, &QShortcut::activated, this, [this] {
    find_bar_->hide();
    browser_->setFocus();
  });
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
          &THelpWindow::ShowFindBar);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(back_, 0, Qt::AlignLeft);
  layout->addWidget(browser_, 1);
  layout->addWidget(find_bar_);
}

void THelpWindow::ShowFindBar() {
  find_bar_->show();
  find_field_->setFocus();
  find_field_->selectAll();
}

bool THelpWindow::FindNext() {
  const QString text = find_field_->text();
  if (text.isEmpty()) return false;
  bool found = browser_->find(text);
  if (!found) {
    const QTextCursor kept = browser_->textCursor();
    browser_->moveCursor(QTextCursor::Start);
    found = browser_->find(text);
    if (!found) browser_->setTextCursor(kept);
  }
  find_status_->setText(found ? QString() : "Not found: " + text);
  return found;
}

}  // namespace vistrel
