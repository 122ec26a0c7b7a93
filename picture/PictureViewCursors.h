// The view's cursor set. The identifiers are fixed: the picture window tells
// its mouse modes apart by comparing the view's cursor with them.
#pragma once

#include <QCursor>

namespace vistrel {

enum TViewCursorId : int {
  crSelect = 1780,      // thin cross-hair: selecting (CROCE)
  crPen = 1783,         // free-hand drawing (PENNA)
  crTextCross = 1784,   // text placement (CROCE1)
  crCross = 1785,       // plain cross-hair
  crSizeNWSE = 1786,    // top-left and bottom-right grips
  crSizeNS = 1787,      // top and bottom grips
  crSizeNESW = 1788,    // top-right and bottom-left grips
  crSizeWE = 1789,      // left and right grips
  crMove = 1790,        // inside the selection
};

// The Qt cursor for an identifier; unknown identifiers give the arrow.
QCursor CursorForId(int id);

}  // namespace vistrel
