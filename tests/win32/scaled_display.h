// The checks on a display at 150 %, which run in a second copy of the test program.
#pragma once

namespace win32_tests {

// The option that makes the test program run only those checks.
inline constexpr char kScaledDisplayOption[] = "--at-scaled-display";
void registerScaledDisplayChecks();

}  // namespace win32_tests
