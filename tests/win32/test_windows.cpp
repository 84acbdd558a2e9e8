// The seven windows of the program: captions, client sizes, frames, places, menus and icon, and
// how they open and close.
#include <gtest/gtest.h>

#include "app/icon.h"
#include "program_driver.h"

namespace {

using namespace win32_tests;

struct Expected {
  const wchar_t* caption;
  int width, height;
};
const Expected kWindows[] = {{kStartCaption, 312, 298}, {L"Bild1", 317, 360}, {L"Bild2", 376, 353},
                             {L"Bild3", 451, 380},      {L"Bild4", 451, 400}, {L"Bild5", 451, 353},
                             {L"Bild6", 413, 412}};

TEST(Windows, SevenWindowsWithTheirClientAreasFixedFramesMenusAndIcon) {
  ProgramThread program;
  HWND start = program.window(kStartCaption);
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(menuEntries(start),
            (std::vector<std::wstring>{L"Bild&1", L"Bild&2", L"Bild&3", L"Bild&4", L"Bild&5",
                                       L"Bild&6", L"-", L"&Avsluta"}));
  for (const wchar_t* entry : {L"Bild&1", L"Bild&2", L"Bild&3", L"Bild&4", L"Bild&5", L"Bild&6"})
    ASSERT_TRUE(choose(start, entry));

  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const std::vector<std::uint32_t> icon = iconPixels(app::programIcon());
  for (const Expected& e : kWindows) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(e.caption)));
    HWND w = program.window(e.caption);
    ASSERT_NE(w, nullptr);
    SIZE client = clientSize(w);
    EXPECT_EQ(client.cx, e.width);
    EXPECT_EQ(client.cy, e.height);
    // A fixed single border: no sizing frame, no maximise button.
    LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    // Centred on the screen when first shown.
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_NEAR(r.left + r.right, monitor.rcWork.left + monitor.rcWork.right, 1);
    EXPECT_NEAR(r.top + r.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);
    EXPECT_EQ(menuBarEntry(w), L"&Meny");
    if (w != start) {
      EXPECT_EQ(menuEntries(w), (std::vector<std::wstring>{L"&B\u00f6rja om", L"-", L"&Avsluta"}));
    }
    auto windowIcon = reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(iconPixels(windowIcon), icon);
  }
  ASSERT_TRUE(choose(start, L"&Avsluta"));
  EXPECT_EQ(program.waitForEnd(), 0);
  EXPECT_TRUE(program.windows().empty());
}

TEST(Windows, ChoosingAnOpenPictureOnlyBringsItToTheFront) {
  ProgramThread program;
  HWND start = program.window(kStartCaption);
  ASSERT_TRUE(choose(start, L"Bild&4"));
  HWND first = program.window(L"Bild4");
  ASSERT_NE(first, nullptr);
  SetWindowPos(first, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetForegroundWindow(start);
  ASSERT_TRUE(choose(start, L"Bild&4"));
  EXPECT_EQ(program.window(L"Bild4"), first);
  EXPECT_EQ(program.windows().size(), 2u);
  RECT r;
  GetWindowRect(first, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(GetForegroundWindow(), first);
}

TEST(Windows, PictureAvslutaClosesOnlyItsWindowWhichReopensAfresh) {
  ProgramThread program;
  HWND start = program.window(kStartCaption);
  ASSERT_TRUE(choose(start, L"Bild&1"));
  HWND picture = program.window(L"Bild1");
  ASSERT_NE(picture, nullptr);
  press(picture, 32, 127);
  release(picture, 298, 127);
  ASSERT_EQ(grab(picture).at(150, 127), 0x808080u);

  ASSERT_TRUE(choose(picture, L"&Avsluta"));
  EXPECT_TRUE(program.gone(L"Bild1"));
  EXPECT_FALSE(IsWindow(picture));
  EXPECT_EQ(program.window(kStartCaption), start);
  EXPECT_EQ(program.waitForEnd(0), -1);

  ASSERT_TRUE(choose(start, L"Bild&1"));
  HWND again = program.window(L"Bild1");
  ASSERT_NE(again, nullptr);
  // Built afresh from its design: the dots, and no segment.
  Pixels now = grab(again);
  EXPECT_EQ(now.at(150, 127), buttonFace());
  EXPECT_EQ(now.at(32, 127), 0x000000u);
}

TEST(Windows, CloseControlOfTheStartWindowClosesOnlyIt) {
  ProgramThread program;
  HWND start = program.window(kStartCaption);
  ASSERT_TRUE(choose(start, L"Bild&2"));
  HWND picture = program.window(L"Bild2");
  ASSERT_NE(picture, nullptr);
  SendMessageW(start, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.gone(kStartCaption));
  EXPECT_EQ(program.window(L"Bild2"), picture);
  EXPECT_EQ(program.waitForEnd(200), -1);
  // The last window closed ends the program, with status 0.
  SendMessageW(picture, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.waitForEnd(), 0);
}

}  // namespace
