// The Windows program's tests: GoogleTest's main, with the path of FnorkTillFnork.exe as the
// last argument.
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>

#include "program_driver.h"
#include "scaled_display.h"

namespace {
std::wstring program;
}

const std::wstring& win32_tests::programPath() {
  return program;
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  bool scaled = argc == 3 && std::strcmp(argv[1], win32_tests::kScaledDisplayOption) == 0;
  if (argc != 2 && !scaled) {
    std::fprintf(stderr, "usage: win32_tests [gtest options] PATH-OF-FnorkTillFnork.exe\n");
    return 2;
  }
  // A path from the build system (under wine, a Linux path) becomes a full Windows path.
  const char* path = argv[argc - 1];
  std::wstring given(path, path + std::strlen(path));
  wchar_t full[MAX_PATH];
  program = GetFullPathNameW(given.c_str(), MAX_PATH, full, nullptr) ? full : given;
  if (scaled) {
    win32_tests::registerScaledDisplayChecks();
    GTEST_FLAG_SET(filter, "AtScaledDisplay.*");
  }
  // The pointer rests in the screen's corner, away from the centred windows: the tests send
  // their own mouse messages, and the system's reminders of where the real pointer is must not
  // reach a window in the middle of a drag.
  // (Moved twice: the system moves the real pointer only when its position changes.)
  SetCursorPos(1, 1);
  SetCursorPos(0, 0);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  return RUN_ALL_TESTS();
}
