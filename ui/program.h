// Program start, implemented by the backend the program is linked with: creates, loads and shows
// the start window, then runs until no window is left loaded, and returns the exit status.
#pragma once

#include "ui/design.h"
#include "ui/form.h"

namespace ui {

int runProgram(int argc, char** argv, const WindowClass& startWindow, const IconImage& icon);

}  // namespace ui
