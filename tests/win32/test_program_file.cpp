// FnorkTillFnork.exe itself, started as its own process: the keyboard opens pictures through
// the menu's access keys, "Avsluta" ends the process with status 0, and the file carries the
// program icon.
#include <gtest/gtest.h>

#include "app/icon.h"
#include "program_driver.h"

namespace {

using namespace win32_tests;

TEST(ProgramFile, AccessKeysOpenPicturesAndAvslutaEndsTheProcessWithZero) {
  RunningProgram program;
  HWND start = program.window(kStartCaption);
  ASSERT_NE(start, nullptr);
  SIZE client = clientSize(start);
  EXPECT_EQ(client.cx, 312);
  EXPECT_EQ(client.cy, 298);

  // F10 goes to the menu bar, "M" opens "&Meny", "1" and "3" choose "Bild&1" and "Bild&3".
  typeKeys(start, {VK_F10, 'M', '1'});
  HWND one = program.window(L"Bild1");
  ASSERT_NE(one, nullptr);
  client = clientSize(one);
  EXPECT_EQ(client.cx, 317);
  EXPECT_EQ(client.cy, 360);
  typeKeys(start, {VK_F10, 'M', '3'});
  ASSERT_NE(program.window(L"Bild3"), nullptr);
  // In a picture window "A" chooses its own "&Avsluta": only that window closes.
  typeKeys(one, {VK_F10, 'M', 'A'});
  EXPECT_TRUE(program.gone(L"Bild1"));
  EXPECT_EQ(program.windows().size(), 2u);

  // "&Avsluta" of the start window closes everything and ends the process with status 0.
  typeKeys(start, {VK_F10, 'M', 'A'});
  EXPECT_EQ(program.waitForEnd(), 0);
}

TEST(ProgramFile, CarriesTheProgramIcon) {
  HMODULE file = LoadLibraryExW(programPath().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(file, nullptr);
  auto icon = static_cast<HICON>(LoadImageW(file, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(iconPixels(icon), iconPixels(app::programIcon()))
      << "app/fnork.ico no longer shows app::programIcon(): write it again with write_icon";
  DestroyIcon(icon);
  FreeLibrary(file);
}

}  // namespace
