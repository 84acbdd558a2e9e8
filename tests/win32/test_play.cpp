// A picture played to its end with mouse messages, and what the windows paint on the way, read
// back pixel by pixel.
#include <gtest/gtest.h>

#include "pictures/designs.h"
#include "program_driver.h"

namespace {

using namespace win32_tests;

// A dot centre of picture 1 in client pixels, 15 twips to a pixel.
POINT centre(int dot) {
  return {kBild1Centres[dot - 1].x / 15, kBild1Centres[dot - 1].y / 15};
}

// The pixels in column x from y0 to y1 (inclusive) that have the colour.
int countInColumn(const Pixels& p, int x, int y0, int y1, std::uint32_t rgb) {
  int n = 0;
  for (int y = y0; y <= y1; ++y) n += p.at(x, y) == rgb;
  return n;
}
int countInRow(const Pixels& p, int y, int x0, int x1, std::uint32_t rgb) {
  int n = 0;
  for (int x = x0; x <= x1; ++x) n += p.at(x, y) == rgb;
  return n;
}

class Play : public ::testing::Test {
 protected:
  void SetUp() override {
    start = program.window(kStartCaption);
    ASSERT_NE(start, nullptr);
  }
  HWND open(const wchar_t* entry, const wchar_t* caption) {
    choose(start, entry);
    return program.window(caption);
  }
  ProgramThread program;
  HWND start = nullptr;
  const std::uint32_t ground = buttonFace();
};

TEST_F(Play, PictureOnePlayedToItsEnd) {
  HWND w = open(L"Bild&1", L"Bild1");
  ASSERT_NE(w, nullptr);
  Pixels fresh = grab(w);
  ASSERT_EQ(fresh.width, 317);
  // Dot 1 (box 27..36 x 122..131): a black disc; the corners of its box show the background.
  EXPECT_EQ(fresh.at(32, 127), 0x000000u);
  EXPECT_EQ(fresh.at(29, 127), 0x000000u);
  EXPECT_EQ(fresh.at(27, 122), ground);
  EXPECT_EQ(fresh.at(38, 127), ground);
  // No line in view before the first press.
  EXPECT_EQ(countInRow(fresh, 0, 0, 316, ground), 317);

  // Pressed on dot 1: the mouse stays with the window, and the rubber band inverts what lies
  // under it, two pixels wide.
  press(w, 32, 127);
  EXPECT_EQ(captureOf(program.threadId()), w);
  moveTo(w, 32, 227);
  Pixels band = grab(w);
  EXPECT_EQ(countInRow(band, 180, 20, 44, inverse(ground)), 2);
  EXPECT_EQ(countInRow(band, 180, 20, 44, ground), 23);
  EXPECT_EQ(countInRow(band, 129, 27, 36, 0xFFFFFFu), 2);  // over the black dot
  // Moves outside the window still reach it while the button is down.
  moveTo(w, -40, 400);
  EXPECT_EQ(captureOf(program.threadId()), w);
  EXPECT_EQ(countInRow(grab(w), 180, 20, 44, ground), 25);

  // Released on dot 2: a grey segment two pixels wide joins the centres; the rubber band is
  // gone and the mouse is free.
  release(w, centre(2).x, centre(2).y);
  EXPECT_EQ(captureOf(program.threadId()), nullptr);
  Pixels one = grab(w);
  EXPECT_EQ(countInColumn(one, 150, 115, 140, 0x808080u), 2);
  EXPECT_EQ(countInColumn(one, 150, 115, 140, ground), 24);
  EXPECT_EQ(one.at(150, 127), 0x808080u);
  EXPECT_EQ(one.at(40, 127), 0x808080u);
  EXPECT_EQ(one.at(290, 127), 0x808080u);
  EXPECT_EQ(one.at(20, 127), ground);
  EXPECT_EQ(one.at(306, 127), ground);
  EXPECT_EQ(countInRow(one, 180, 20, 44, ground), 25);

  for (int dot = 2; dot < 14; ++dot) {
    press(w, centre(dot).x, centre(dot).y);
    moveTo(w, (centre(dot).x + centre(dot + 1).x) / 2, (centre(dot).y + centre(dot + 1).y) / 2);
    release(w, centre(dot + 1).x, centre(dot + 1).y);
  }

  // The finished picture: where nothing is drawn over it, the client area shows the picture's
  // own pixels.
  Pixels done = grab(w);
  Pixels picture = decode(pictures::finishedPicture(1));
  ASSERT_EQ(picture.width, 317);
  ASSERT_EQ(picture.height, 360);
  int drawn = 0, same = 0;
  for (int y = 0; y < 360; ++y)
    for (int x = 0; x < 317; ++x) {
      if (picture.at(x, y) == ground) continue;
      ++drawn;
      same += done.at(x, y) == picture.at(x, y);
    }
  EXPECT_GT(drawn, 317 * 360 / 10);
  EXPECT_GT(same, drawn * 9 / 10);
  // The first segment lies over the picture and the dots.
  EXPECT_EQ(done.at(150, 127), 0x808080u);
  EXPECT_EQ(done.at(centre(1).x, centre(1).y), 0x808080u);
  if (HasFailure()) done.save(L"bild1-finished.bmp");
}

TEST_F(Play, RubberBandIsGreyInPictureTwoAndTitleIsDrawnOnTheStartWindow) {
  HWND w = open(L"Bild&2", L"Bild2");
  ASSERT_NE(w, nullptr);
  // From dot 1 at (9, 237) straight up.
  press(w, 9, 237);
  moveTo(w, 9, 137);
  EXPECT_EQ(countInRow(grab(w), 180, 0, 30, 0x808080u), 2);
  release(w, 200, 20);
  EXPECT_EQ(countInRow(grab(w), 180, 0, 30, 0x808080u), 0);

  // The three title lines, dark on the plain background, each centred on x = 155.
  Pixels title = grab(start);
  const int tops[] = {22, 98, 167};
  for (int top : tops) {
    int minX = 1000, maxX = -1, dark = 0;
    for (int y = top; y < top + 70; ++y)
      for (int x = 0; x < title.width; ++x)
        if ((title.at(x, y) & 0xFF) < 100) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
          ++dark;
        }
    EXPECT_GT(dark, 200) << top;
    EXPECT_NEAR((minX + maxX) / 2.0, 155, 4) << top;
  }
}

}  // namespace
