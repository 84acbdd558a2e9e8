// The designs of the six picture windows: dots, number labels, lines, the hidden finished
// picture and the menu, as the windows look right after loading.
#pragma once

#include "ui/design.h"

namespace pictures {

inline constexpr int kPictureCount = 6;

// The design of picture window `number` (1 to 6).
const ui::FormDesign& design(int number);

// The finished picture of window `number` (1 to 6), a GIF held in the program.
const ui::PictureData& finishedPicture(int number);

}  // namespace pictures
