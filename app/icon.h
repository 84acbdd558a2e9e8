// The program icon: a near-white rounded tile with a black disc on two opposite corners, joined
// by a thick black bar.
#pragma once

#include "ui/design.h"

namespace app {

const ui::IconImage& programIcon();

}  // namespace app
