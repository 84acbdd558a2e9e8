// What the program tells the runtime about itself: its name, desktop entry, icon and the fonts
// that stand in for the designs' Windows fonts where those are missing.
#pragma once

#include "ui/program.h"

namespace app {

const ui::ProgramInfo& programInfo();

}  // namespace app
