// Program start, implemented by the backend the program is linked with: creates, loads and shows
// the start window, then runs until no window is left loaded, and returns the exit status.
#pragma once

#include "ui/design.h"
#include "ui/form.h"
#include "ui/paint.h"
#include "ui/runtime.h"

namespace ui {

// What the program tells the runtime and the backends about itself.
struct ProgramInfo {
  const char* name;       // one word: run-time error messages, the application and window class
  const char* desktopId;  // the desktop entry the program is installed with, on Linux
  const IconImage* icon;  // shown by every window
  FontStandIns fontStandIns;
};

// Hands the program's facts to the runtime.
void setUp(const ProgramInfo& info);

// The start and the end of every backend's runProgram. startProgram hands over the program's
// facts, puts the backend in place and shows the start window; it tells whether the program is
// still running, that is whether the backend's event loop is to be entered. endProgram, once the
// loop is over or was never entered, gives the status the program ended with and leaves the
// runtime as it was before the start.
bool startProgram(Platform& platform, const WindowClass& startWindow, const ProgramInfo& info);
int endProgram(int loopStatus);

int runProgram(int argc, char** argv, const WindowClass& startWindow, const ProgramInfo& info);

}  // namespace ui
