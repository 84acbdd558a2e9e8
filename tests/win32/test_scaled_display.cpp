// A display at 150 % (144 dots per inch): the windows keep their size in inches and are drawn at
// the display's own resolution, sharp. The resolution is read when a process starts, so the
// checks run in a second copy of this test program started with the setting changed.
#include <gtest/gtest.h>

#include "pictures/designs.h"
#include "program_driver.h"
#include "scaled_display.h"

namespace {

using namespace win32_tests;

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

// Sets the resolution of the desktop for processes started from now on, and puts back what was
// there before.
class DesktopResolution {
 public:
  explicit DesktopResolution(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof old_;
    had_ = RegQueryValueExW(key_, kLogPixels, nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                            &size) == ERROR_SUCCESS;
    RegSetValueExW(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  ~DesktopResolution() {
    if (had_)
      RegSetValueExW(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                     sizeof old_);
    else
      RegDeleteValueW(key_, kLogPixels);
    RegCloseKey(key_);
  }
  DesktopResolution(const DesktopResolution&) = delete;
  DesktopResolution& operator=(const DesktopResolution&) = delete;

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 0;
  bool had_ = false;
};

TEST(ScaledDisplay, WindowsKeepTheirSizeInInchesAndDrawSharpAt150Percent) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::string option = kScaledDisplayOption;
  std::wstring command = L"\"" + std::wstring(self) + L"\" " +
                         std::wstring(option.begin(), option.end()) + L" \"" + programPath() +
                         L"\"";
  DWORD status = 1;
  {
    DesktopResolution at150(144);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &si, &pi));
    WaitForSingleObject(pi.hProcess, 60000);
    GetExitCodeProcess(pi.hProcess, &status);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  EXPECT_EQ(status, 0u) << "the checks at 150 % failed (their report is above)";
}

// Runs in the second copy, at 144 dots per inch.
class AtScaledDisplay : public ::testing::Test {
 public:
  void TestBody() override {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 144);

    ProgramThread program;
    HWND start = program.window(kStartCaption);
    ASSERT_NE(start, nullptr);
    SIZE client = clientSize(start);
    EXPECT_EQ(client.cx, 468);  // 4680 x 4470 twips
    EXPECT_EQ(client.cy, 447);
    choose(start, L"Bild&1");
    HWND w = program.window(L"Bild1");
    ASSERT_NE(w, nullptr);
    client = clientSize(w);
    EXPECT_EQ(client.cx, 476);  // 4755 x 5400 twips
    EXPECT_EQ(client.cy, 540);

    const std::uint32_t ground = buttonFace();
    // Dot 1, 150 twips across, is a disc of 15 pixels; the drag from its centre to dot 2 leaves
    // a segment three pixels wide with no blurred edge.
    Pixels fresh = grab(w);
    int black = 0;
    for (int x = 38; x < 60; ++x) black += fresh.at(x, 191) == 0;
    EXPECT_EQ(black, 15);
    press(w, 48, 191);
    release(w, 447, 191);
    Pixels one = grab(w);
    int grey = 0, other = 0;
    for (int y = 175; y <= 205; ++y) {
      grey += one.at(250, y) == 0x808080u;
      other += one.at(250, y) != 0x808080u && one.at(250, y) != ground;
    }
    EXPECT_EQ(grey, 3);
    EXPECT_EQ(other, 0);

    // The finished picture fills the same part of the window as at 100 %: each of its pixels
    // is one and a half pixels of the display, enlarged without smoothing.
    auto at = [](int dot) {
      const POINT& c = kBild1Centres[dot - 1];
      return POINT{(c.x + 5) / 10, (c.y + 5) / 10};
    };
    for (int dot = 2; dot < 14; ++dot) {
      press(w, at(dot).x, at(dot).y);
      release(w, at(dot + 1).x, at(dot + 1).y);
    }
    Pixels done = grab(w);
    Pixels picture = decode(pictures::finishedPicture(1));
    ASSERT_EQ(picture.width, 317);
    int drawn = 0, same = 0;
    for (int y = 0; y < 540; ++y)
      for (int x = 0; x < 475; ++x) {
        std::uint32_t expected = picture.at(x * 2 / 3, y * 2 / 3);
        if (expected == ground) continue;
        ++drawn;
        same += done.at(x, y) == expected;
      }
    EXPECT_GT(drawn, 475 * 540 / 10);
    EXPECT_GT(same, drawn * 9 / 10);
    if (HasFailure()) done.save(L"bild1-at-150.bmp");
    choose(start, L"&Avsluta");
    EXPECT_EQ(program.waitForEnd(), 0);
  }
};

}  // namespace

void win32_tests::registerScaledDisplayChecks() {
  ::testing::RegisterTest("AtScaledDisplay", "DrawsSharpAt144DotsPerInch", nullptr, nullptr,
                          __FILE__, __LINE__,
                          []() -> ::testing::Test* { return new AtScaledDisplay; });
}
