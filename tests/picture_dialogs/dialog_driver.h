// Runs a step on the save dialog once its modal loop is running, so that a
// command which opens it can be driven like a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>

#include "picture/TSavePictureDialog.h"

namespace vistrel::testing {

inline void WhenSaveDialogOpens(std::function<void(TSavePictureDialog&)> step) {
  QTimer::singleShot(0, [step] {
    auto* dialog = qobject_cast<TSavePictureDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    step(*dialog);
  });
}

}  // namespace vistrel::testing
