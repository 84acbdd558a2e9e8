// The six picture windows frmBild1 ... frmBild6.
#pragma once

#include "board/picture_window.h"
#include "ui/form.h"

namespace board {

extern const ui::WindowClass frmBild1, frmBild2, frmBild3, frmBild4, frmBild5, frmBild6;

// The window class of picture `number` (1 to 6).
const ui::WindowClass& frmBild(int number);

// The game values of picture window `number` (1 to 6).
const Variation& variation(int number);

}  // namespace board
