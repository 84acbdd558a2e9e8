// Every picture played to its end through the mouse, with every segment checked against the
// dot centres of the picture's table.
#include <gtest/gtest.h>

#include <vector>

#include "board/board_driver.h"
#include "pictures/designs.h"

using namespace testing_support;

namespace {

// Dot centres in play, in twips, dot 1 first.
const std::vector<std::vector<Point>> kCentres = {
    {{480, 1905},
     {4470, 1905},
     {4470, 2220},
     {4275, 3510},
     {3990, 3630},
     {4200, 4110},
     {3720, 4185},
     {3555, 3705},
     {1395, 3705},
     {1215, 4110},
     {720, 4065},
     {945, 3600},
     {630, 3465},
     {465, 2205}},
    {{135, 3555},
     {2670, 555},
     {2850, 555},
     {5565, 3690},
     {4470, 3030},
     {3930, 3645},
     {2700, 2865},
     {1800, 3585},
     {1200, 3105},
     {255, 3630}},
    {{3270, 735},
     {2400, 2295},
     {825, 2550},
     {1845, 3540},
     {1455, 5085},
     {3495, 4200},
     {5595, 4935},
     {4890, 3360},
     {6030, 2700},
     {4560, 2370},
     {3630, 750}},
    {{2895, 2025}, {2265, 1875}, {1515, 1830}, {960, 1965},  {1635, 3615}, {1935, 3870},
     {1725, 4305}, {1965, 5010}, {2655, 5130}, {2970, 5490}, {3315, 4635}, {3615, 4905},
     {3870, 4590}, {4260, 5280}, {4545, 4905}, {5160, 4560}, {5385, 3960}, {5145, 3510},
     {5535, 3120}, {5835, 1575}, {5310, 1530}, {4785, 1695}, {4140, 2085}, {3795, 1620},
     {3330, 1620}, {2955, 930}},
    {{1590, 1515},
     {1575, 1050},
     {5295, 1050},
     {5310, 1785},
     {1590, 1785},
     {1605, 2070},
     {1200, 3255},
     {1965, 4770},
     {4935, 4770},
     {5730, 3300},
     {5310, 2130}},
    {{840, 2955},
     {870, 2415},
     {5715, 2385},
     {5715, 2955},
     {945, 3015},
     {1365, 4305},
     {5190, 4320},
     {4905, 5115},
     {1590, 5115},
     {1425, 4470}},
};

class PlayThrough : public RuntimeTest, public ::testing::WithParamInterface<int> {};

TEST_P(PlayThrough, EverySegmentJoinsTheCentresAndTheLastShowsThePicture) {
  const int n = GetParam();
  const auto& centres = kCentres[std::size_t(n - 1)];
  BoardDriver b(n);
  b.window().Show();
  const int total = int(centres.size()) - 1;
  ASSERT_EQ(b.segmentTotal(), total);
  for (int k = 1; k <= total + 1; ++k) {
    EXPECT_FLOAT_EQ(b.centre(k).x, centres[std::size_t(k - 1)].x) << "dot " << k;
    EXPECT_FLOAT_EQ(b.centre(k).y, centres[std::size_t(k - 1)].y) << "dot " << k;
    EXPECT_FLOAT_EQ(b.dot(k).Width().value(), 150);
    EXPECT_FLOAT_EQ(b.dot(k).Height().value(), 150);
    EXPECT_STREQ(b.label(k).Caption(), std::to_string(k).c_str());
  }

  for (int k = 1; k <= total; ++k) {
    Point from = centres[std::size_t(k - 1)], to = centres[std::size_t(k)];
    b.press(from);
    b.move({from.x + 1000, from.y - 333.5f});
    EXPECT_FLOAT_EQ(b.band().X1().value(), from.x);
    EXPECT_FLOAT_EQ(b.band().Y1().value(), from.y);
    EXPECT_FLOAT_EQ(b.band().X2().value(), from.x + 1000);
    EXPECT_FLOAT_EQ(b.band().Y2().value(), from.y - 333.5f);
    EXPECT_EQ(b.window().Picture(), nullptr);
    b.release(to);

    const ui::Line& s = b.segment(k);
    EXPECT_TRUE(s.Visible()) << "segment " << k;
    EXPECT_FLOAT_EQ(s.X1().value(), from.x) << "segment " << k;
    EXPECT_FLOAT_EQ(s.Y1().value(), from.y) << "segment " << k;
    EXPECT_FLOAT_EQ(s.X2().value(), to.x) << "segment " << k;
    EXPECT_FLOAT_EQ(s.Y2().value(), to.y) << "segment " << k;
    if (k < total) {
      EXPECT_EQ(b.state().bytDot, k);
      EXPECT_EQ(b.state().bytLine, k);
      EXPECT_EQ(platform.beeps, 0);
      // The rubber band waits as a point on the dot reached.
      EXPECT_FLOAT_EQ(b.band().X1().value(), to.x);
      EXPECT_FLOAT_EQ(b.band().Y2().value(), to.y);
      EXPECT_FLOAT_EQ(b.band().X2().value(), to.x);
    }
  }
  // Completion: the picture behind everything, one beep, both counters back to 0, the rubber
  // band parked above the client area, every segment still shown.
  EXPECT_EQ(b.window().Picture(), &pictures::finishedPicture(n));
  EXPECT_EQ(platform.beeps, 1);
  EXPECT_EQ(ui::runtime().beeps(), 1);
  EXPECT_EQ(b.state().bytDot, 0);
  EXPECT_EQ(b.state().bytLine, 0);
  EXPECT_EQ(b.state().blnDrawing, ui::False);
  EXPECT_FLOAT_EQ(b.band().X1().value(), 4455);
  EXPECT_FLOAT_EQ(b.band().Y1().value(), -75);
  EXPECT_FLOAT_EQ(b.band().X2().value(), 4455);
  for (int k = 1; k <= total; ++k) EXPECT_TRUE(b.segment(k).Visible());
  for (int k = 1; k <= total + 1; ++k) EXPECT_TRUE(b.dot(k).Visible());

  // A second pass draws over the finished picture, starting at dot 1 again.
  b.drag(1, 2);
  EXPECT_EQ(b.state().bytDot, 1);
  EXPECT_EQ(b.window().Picture(), &pictures::finishedPicture(n));
  EXPECT_EQ(platform.beeps, 1);
}

INSTANTIATE_TEST_SUITE_P(AllSixPictures, PlayThrough, ::testing::Range(1, 7));

}  // namespace
