// What only the Windows program can get wrong: a display at 150 %. GoogleTest's main.
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstring>

#include "facts.h"
#include "window/driver.h"

namespace {

using window_tests::driver;

constexpr char kScaled[] = "--at-150-percent";

// The resolution is read when a process starts: the checks run in a second copy of this test
// program started with the desktop's setting changed.
TEST(ScaledDisplay, WindowsKeepTheirSizeInInchesAndDrawSharpAt150Percent) {
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
  EXPECT_EQ(status, 0u) << "the checks at 150 % failed (their report is above)";
}

TEST(At150Percent, WindowsAreOneAndAHalfTimesLargerAndSharp) {
  auto& d = driver();
  d.start();
  EXPECT_EQ(d.grab(facts::kStartCaption).width, 468);  // 4680 twips
  d.choose(facts::kStartCaption, "Bild&1");
  window_tests::Pixels fresh = d.grab("Bild1");
  EXPECT_EQ(fresh.width, 476);  // 4755 x 5400 twips
  EXPECT_EQ(fresh.height, 540);
  // Dot 1 is a disc of 15 pixels; a segment is three pixels wide with no blurred edge.
  int black = 0, grey = 0, other = 0;
  for (int x = 38; x < 60; ++x) black += fresh.at(x, 191) == 0;
  const auto& c = facts::picture(1).dots;
  for (std::size_t k = 0; k + 1 < c.size(); ++k) {
    d.press("Bild1", int(c[k].x + 5) / 10, int(c[k].y + 5) / 10);
    d.release("Bild1", int(c[k + 1].x + 5) / 10, int(c[k + 1].y + 5) / 10);
    if (k > 0) continue;
    window_tests::Pixels one = d.grab("Bild1");
    for (int y = 175; y <= 205; ++y) {
      grey += one.at(250, y) == 0x808080u;
      other += one.at(250, y) != 0x808080u && one.at(250, y) != d.background();
    }
  }
  EXPECT_EQ(black, 15);
  EXPECT_EQ(grey, 3);
  EXPECT_EQ(other, 0);
  // The finished picture: each of its pixels one and a half pixels of the display, not smoothed.
  window_tests::Pixels done = d.grab("Bild1"), picture = d.finishedPicture(1);
  int drawn = 0, same = 0;
  for (int y = 0; y < 540; ++y)
    for (int x = 0; x < 475; ++x) {
      std::uint32_t expected = picture.at(x * 2 / 3, y * 2 / 3);
      drawn += expected != d.background();
      same += expected != d.background() && done.at(x, y) == expected;
    }
  EXPECT_GT(drawn, 475 * 540 / 10);
  EXPECT_GT(same, drawn * 9 / 10);
  d.stop();
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  bool scaled = argc == 2 && std::strcmp(argv[1], kScaled) == 0;
  GTEST_FLAG_SET(filter, scaled ? "At150Percent.*" : "-At150Percent.*");
  // The real pointer rests in the screen's corner, away from the centred windows, so that the
  // system's reminders of where it is never reach a window in the middle of a drag. (Moved
  // twice: the system moves it only when its position changes.)
  SetCursorPos(1, 1);
  SetCursorPos(0, 0);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  return RUN_ALL_TESTS();
}
