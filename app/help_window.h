// The program's own help window: the user's guide in a text browser, used
// when the desktop has no program to open it. Links inside the guide and to
// files beside it are followed here; web links go to the desktop.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;

namespace vistrel {

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  // `parent` keeps the window usable while a modal picture window runs.
  THelpWindow(const QString& path, QWidget* parent);

  QTextBrowser* Browser() const { return browser_; }
  QToolButton* BackButton() const { return back_; }
  QLineEdit* FindField() const { return find_field_; }
  QLabel* FindStatus() const { return find_status_; }

  void ShowFindBar();
  // The next match after the cursor, wrapping once to the top.
  bool FindNext();

 private:
  QTextBrowser* browser_;
  QToolButton* back_;
  QWidget* find_bar_;
  QLineEdit* find_field_;
  QLabel* find_status_;
};

}  // namespace vistrel
