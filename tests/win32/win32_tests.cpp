// The Windows tests' main: the window tests, and the same again on a display at 150 %.
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstring>

namespace {

constexpr char kScaled[] = "--at-150-percent";

// The resolution is read when a process starts: the window tests run again in a second copy of
// this test program started with the desktop's setting changed.
TEST(ScaledDisplay, TheWindowTestsPassAt150Percent) {
  const wchar_t* desktop = L"Control Panel\\Desktop";
  DWORD dpi = 144, status = 1;
  RegSetKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --at-150-percent";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    GetExitCodeProcess(pi.hProcess, &status);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  RegDeleteKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels");
  EXPECT_EQ(status, 0u) << "the window tests at 150 % failed (their report is above)";
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  bool scaled = argc == 2 && std::strcmp(argv[1], kScaled) == 0;
  if (scaled) {
    HDC screen = GetDC(nullptr);
    if (GetDeviceCaps(screen, LOGPIXELSX) != 144) return 3;  // the display is not at 150 %
    GTEST_FLAG_SET(filter, "Windows.*");
  }
  // The real pointer rests in the screen's corner, away from the centred windows, so that the
  // system's reminders of where it is never reach a window in the middle of a drag. (Moved
  // twice: the system moves it only when its position changes.)
  SetCursorPos(1, 1);
  SetCursorPos(0, 0);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  return RUN_ALL_TESTS();
}
