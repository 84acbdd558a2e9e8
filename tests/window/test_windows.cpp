// The program's real windows, the same checks on every backend: the seven windows with their
// captions, menus and the end of the program; each picture with its client area and menu, started
// over, played to its end with the mouse and read back pixel by pixel, closed and reopened.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "facts.h"
#include "window/driver.h"

namespace window_tests {
namespace {

using facts::kStartCaption;

constexpr std::uint32_t kGrey = 0x808080;
const std::string kBild = "Bild&", kStartOver = "&B\u00f6rja om";

int px(float twips) {
  return int(twips) / 15;
}

// The program from its start for each test, ended however the test ends.
class Windows : public ::testing::Test {
 protected:
  void SetUp() override { d.start(); }
  void TearDown() override { d.stop(); }
  int shown(const std::string& caption) { return int(std::ranges::count(d.windows(), caption)); }
  // Opens picture n from the start window.
  const facts::Picture& open(int n) {
    d.choose(kStartCaption, kBild + std::to_string(n));
    return facts::picture(n);
  }
  // A drag from dot `from` to dot `to` of the picture (dots counted from 1).
  void drag(const facts::Picture& p, int from, int to) {
    auto a = p.dots[std::size_t(from - 1)], b = p.dots[std::size_t(to - 1)];
    d.press(p.caption, px(a.x), px(a.y));
    d.move(p.caption, (px(a.x) + px(b.x)) / 2, (px(a.y) + px(b.y)) / 2);
    d.release(p.caption, px(b.x), px(b.y));
  }
  // The pixel halfway along segment k, from dot k to dot k + 1.
  static std::pair<int, int> middle(const facts::Picture& p, int k) {
    auto a = p.dots[std::size_t(k - 1)], b = p.dots[std::size_t(k)];
    return {(px(a.x) + px(b.x)) / 2, (px(a.y) + px(b.y)) / 2};
  }
  // Whether a line crosses the 3 x 3 pixels around (x, y): grey there or, for an inverting line,
  // the inverse of what lay there before.
  static bool lineAt(const Pixels& now, const Pixels& before, std::pair<int, int> at,
                     bool inverting = false) {
    for (int y = at.second - 1; y <= at.second + 1; ++y)
      for (int x = at.first - 1; x <= at.first + 1; ++x)
        if (now.at(x, y) == (inverting ? ~before.at(x, y) & 0xFFFFFF : kGrey)) return true;
    return false;
  }
  static bool unchanged(const Pixels& now, const Pixels& before, std::pair<int, int> at) {
    for (int y = at.second - 1; y <= at.second + 1; ++y)
      for (int x = at.first - 1; x <= at.first + 1; ++x)
        if (now.at(x, y) != before.at(x, y)) return false;
    return true;
  }
  Driver& d = driver();
};

TEST_F(Windows, SevenWindowsWithTheirCaptionsAndMenusAndTheEndOfTheProgram) {
  ASSERT_EQ(d.windows(), std::vector<std::string>{kStartCaption});
  Pixels start = d.grab(kStartCaption);
  EXPECT_EQ(start.width, facts::kStartWidth);
  EXPECT_EQ(start.height, facts::kStartHeight);
  EXPECT_EQ(d.menu(kStartCaption),
            (std::vector<std::string>{"&Meny", "Bild&1", "Bild&2", "Bild&3", "Bild&4", "Bild&5",
                                      "Bild&6", "-", "&Avsluta"}));
  // The title: three lines of dark letters, each centred on its label.
  for (const facts::TitleLine& t : facts::kTitle) {
    int minX = start.width, maxX = -1, ink = 0;
    for (int y = px(t.top); y < px(t.top) + 70; ++y)
      for (int x = 0; x < start.width; ++x)
        if ((start.at(x, y) & 0xFFFFFF) < 0x404040) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
          ++ink;
        }
    EXPECT_GT(ink, 200) << t.caption;
    EXPECT_NEAR((minX + maxX) / 2.0, px(t.left + t.width / 2), 5) << t.caption;
  }
  for (int n = 1; n <= 6; ++n) ASSERT_EQ(shown(open(n).caption), 1) << n;
  // Choosing an open picture again opens no second window; a frame's close control closes its
  // window alone; "Avsluta" in the start window closes every window, one in a drag too.
  open(4);
  EXPECT_EQ(d.windows().size(), 7u);
  d.closeFrame("Bild6");
  EXPECT_EQ(d.windows().size(), 6u);
  EXPECT_EQ(d.exitStatus(), -1);
  d.press("Bild1", px(facts::picture(1).dots[0].x), px(facts::picture(1).dots[0].y));
  d.choose(kStartCaption, "&Avsluta");
  EXPECT_TRUE(d.windows().empty());
  EXPECT_EQ(d.exitStatus(), 0);
}

TEST_F(Windows, EachPicturePlayedToItsEndShowsItsFinishedPictureWhilePicturesOneThreeFourGoOn) {
  const std::vector<std::string> menu{"&Meny", kStartOver, "-", "&Avsluta"};
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    const facts::Picture& p = open(n);
    const Pixels fresh = d.grab(p.caption);
    EXPECT_EQ(fresh.width, p.width);
    EXPECT_EQ(fresh.height, p.height);
    EXPECT_EQ(d.menu(p.caption), menu);
    // Black dots on the plain background; no line in view yet, none along the top either.
    for (const auto& c : p.dots) EXPECT_EQ(fresh.at(px(c.x), px(c.y)), 0u);
    for (int i = 0; i < fresh.width * 15; ++i) ASSERT_EQ(fresh.rgb[std::size_t(i)], d.background());
    // Start over after two segments, and a move without a drag: the window as it opened, without
    // a rubber band too.
    drag(p, 1, 2);
    drag(p, 2, 3);
    d.choose(p.caption, kStartOver);
    d.move(p.caption, 5, 5);
    EXPECT_EQ(d.grab(p.caption).rgb, fresh.rgb);
    for (int k = 1; k <= p.segments(); ++k) {
      auto a = p.dots[std::size_t(k - 1)], b = p.dots[std::size_t(k)];
      const Pixels before = d.grab(p.caption);
      d.press(p.caption, px(a.x), px(a.y));
      d.move(p.caption, px(b.x), px(b.y));
      // The rubber band from the dot to the pointer: inverting, or grey.
      EXPECT_TRUE(lineAt(d.grab(p.caption), before, middle(p, k), p.inverts)) << k;
      d.release(p.caption, px(b.x), px(b.y));
      EXPECT_TRUE(lineAt(d.grab(p.caption), before, middle(p, k))) << k;
    }
    EXPECT_EQ(d.menu(p.caption), menu);
    // Wherever no dot, number or segment lies, the window shows the finished picture's pixels.
    const Pixels img = d.grab(p.caption), picture = d.finishedPicture(n);
    auto covered = [&](int px0, int py0) {
      const float x = float(px0), y = float(py0);
      for (std::size_t i = 0; i < p.dots.size(); ++i) {
        float ax = float(px(p.dots[i].x)), ay = float(px(p.dots[i].y));
        if (std::hypot(x - ax, y - ay) < 32) return true;  // the dot and its number
        if (i + 1 == p.dots.size()) break;
        float bx = float(px(p.dots[i + 1].x)) - ax, by = float(px(p.dots[i + 1].y)) - ay;
        float t = std::clamp(((x - ax) * bx + (y - ay) * by) / (bx * bx + by * by), 0.f, 1.f);
        if (std::hypot(ax + t * bx - x, ay + t * by - y) < 4) return true;
      }
      return false;
    };
    int compared = 0, differ = 0;
    for (int y = 0; y < img.height; y += 3)
      for (int x = 0; x < img.width; x += 3) {
        if (covered(x, y)) continue;
        ++compared;
        differ += img.at(x, y) != picture.at(x, y);
      }
    EXPECT_GT(compared, img.width * img.height / 20);
    EXPECT_EQ(differ, 0);
    // The first segment starts over dot 1; the first segment of Bild1 is two pixels thick.
    EXPECT_EQ(img.at(px(p.dots[0].x), px(p.dots[0].y)), kGrey);
    if (n == 1) {
      int grey = 0;
      for (int y = 117; y <= 137; ++y) grey += img.at(150, y) == kGrey;
      EXPECT_EQ(grey, 2);
    }
    // A release outside the window ends the drag as a miss and hides the rubber band.
    drag(p, 1, 2);
    const Pixels placed = d.grab(p.caption);
    auto c = p.dots[1];
    d.press(p.caption, px(c.x), px(c.y));
    d.move(p.caption, px(c.x), 2);
    d.release(p.caption, -40, -40);
    EXPECT_TRUE(unchanged(d.grab(p.caption), placed, {px(c.x), px(c.y) / 2 + 1}));
    // Closed in the middle of a drag and opened again: no lines; pictures 1, 3 and 4 go on from
    // dot 2, the others start again at dot 1.
    d.press(p.caption, px(c.x), px(c.y));
    d.choose(p.caption, "&Avsluta");
    EXPECT_EQ(shown(p.caption), 0);
    open(n);
    drag(p, 2, 3);
    const Pixels again = d.grab(p.caption);
    EXPECT_TRUE(unchanged(again, fresh, middle(p, 1)));
    EXPECT_EQ(lineAt(again, fresh, middle(p, 2)), p.inverts);
  }
}

}  // namespace
}  // namespace window_tests
