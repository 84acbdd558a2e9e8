// Program start, implemented by the backend the program is linked with: creates, loads and shows
// the start window, then runs until no window is left loaded, and returns the exit status.
#pragma once

#include "ui/design.h"
#include "ui/form.h"
#include "ui/paint.h"

namespace ui {

// What the program tells the runtime and the backends about itself.
struct ProgramInfo {
  const char* name;       // one word: run-time error messages, the application and window class
  const char* desktopId;  // the desktop entry the program is installed with, on Linux
  const IconImage* icon;  // shown by every window
  FontStandIns fontStandIns;
};

// Hands the program's facts to the runtime (the backends' runProgram starts with it).
void setUp(const ProgramInfo& info);

int runProgram(int argc, char** argv, const WindowClass& startWindow, const ProgramInfo& info);

}  // namespace ui
