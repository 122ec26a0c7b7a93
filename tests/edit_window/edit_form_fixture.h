// The standard editing window beside a picture window on the fake desktop.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "commands/command_table.h"
#include "settings/picture_options.h"
#include "picture/picture_services.h"
#include "picture/TEditForm1.h"
#include "window_fixture.h"

namespace vistrel::testing {

// Closes the next modal message box as soon as it is shown.
class BoxCatcher {
 public:
  BoxCatcher() { Poll(); }
  bool seen = false;
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;

 private:
  void Poll() {
    QTimer::singleShot(5, qApp, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return Poll();
      seen = true;
      text = box->text();
      title = box->windowTitle();
      icon = box->icon();
      box->done(QMessageBox::Ok);
    });
  }
};

class EditFormTest : public PictureWindowTest {
 protected:
  void SetUp() override {
    PictureWindowTest::SetUp();
    form_ = std::make_unique<TEditForm1>();
    form_->LendServices(context_);
  }
  void TearDown() override {
    window_.reset();
    form_.reset();
    PictureWindowTest::TearDown();
  }

  TMainForm1& Window() {
    if (!window_) window_ = NewWindow();
    return *window_;
  }
  TPictureBitmap& Picture() { return Window().PictureView1->Picture(); }
  std::vector<std::string> UndoCaptions() {
    std::vector<std::string> out;
    for (int i = 0; i < Window().Document().Undo().UndoDepth(); ++i)
      out.push_back(Window().Document().Undo().Caption(i));
    return out;
  }
  void StoreRecipe(const TPictureRecipe& recipe) {
    SettingsStore store;
    PictureOptions::Save(store, recipe);
  }
  TPictureRecipe StoredRecipe() {
    SettingsStore store;
    return PictureOptions::Load(store);
  }
  // "Standard editing window" from the picture window.
  void OpenForm() {
    Window();
    commands_.Action(cmd::kStandardEditing)->trigger();
    QApplication::processEvents();
  }

  std::unique_ptr<TEditForm1> form_;
  std::unique_ptr<TMainForm1> window_;
};

}  // namespace vistrel::testing
