// Random play: presses, moves and releases with any buttons anywhere, start over and close at any
// moment, in all six picture windows; after every event each window must still show a sound game.
// FNORK_RANDOM_SEED and FNORK_RANDOM_EVENTS choose another run; a failure names seed and event.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <sstream>

#include "app/start_window.h"
#include "facts.h"
#include "pictures/designs.h"
#include "support/fake_platform.h"

using namespace testing_support;

namespace {

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 0) : fallback;
}

// What the player sees of each element: whether it shows, and where.
using Look = std::map<const ui::Element*, std::pair<bool, ui::PixelRect>>;
Look lookOf(const ui::Form& f) {
  Look look;
  for (const auto& e : f.drawingOrder()) look[e.get()] = {e->Visible(), e->paintBounds()};
  return look;
}

// What is wrong with picture window n now, or "" if nothing: the counters out of range, the
// finished picture over no lines or not its own, or a change the window was not told to repaint.
std::string check(BoardDriver& b, int n, const Look& before, ui::Picture pictureBefore,
                  const ui::PixelRect& repainted) {
  auto covers = [&](const ui::PixelRect& outer, const ui::PixelRect& r) {
    return r.empty() || outer.united(r) == outer;
  };
  const facts::Picture& p = facts::picture(n);
  const board::BoardState s = b.state();
  std::ostringstream bad;
  if (!(s.bytLine <= s.bytDot && s.bytDot < p.segments()))
    bad << "counters " << int(s.bytLine) << ", " << int(s.bytDot) << "; ";
  if (b.window().Picture() &&
      (b.window().Picture() != &pictures::finishedPicture(n) || !b.segment(1).Visible()))
    bad << "picture; ";
  if (b.window().Picture() != pictureBefore && !covers(repainted, {0, 0, p.width, p.height}))
    bad << "picture not repainted; ";
  for (const auto& e : b.window().drawingOrder()) {
    auto was = before.find(e.get());
    if (was == before.end() || was->second == std::make_pair(e->Visible(), e->paintBounds()))
      continue;
    if ((was->second.first && !covers(repainted, was->second.second)) ||
        (e->Visible() && !covers(repainted, e->paintBounds())))
      bad << e->name() << "(" << e->Index() << ") not repainted; ";
  }
  return bad.str();
}

using RandomPlay = RuntimeTest;

TEST_F(RandomPlay, AnyEventsKeepEveryWindowASoundGame) {
  const std::uint64_t seed = fromEnvironment("FNORK_RANDOM_SEED", 1);
  const std::uint64_t events = fromEnvironment("FNORK_RANDOM_EVENTS", 100000);
  std::mt19937_64 rng(seed);
  auto chance = [&](int percent) { return int(rng() % 100) < percent; };
  auto any = [&](int n) { return int(rng() % std::uint64_t(n)); };
  app::frmMain().Show();
  int completed = 0;
  for (std::uint64_t i = 0; i < events; ++i) {
    const int n = 1 + any(6);
    const facts::Picture& p = facts::picture(n);
    BoardDriver b(n);
    if (!b.window().loaded()) app::frmMain().menu("mnuBild", n)->click();
    // Mostly near the dot to take or to reach, so that pictures get finished; else anywhere.
    const int target = b.state().bytDot + (b.state().blnDrawing == ui::True ? 2 : 1);
    auto c = p.dots[std::size_t(std::min(target, p.segments() + 1) - 1)];
    Point at = chance(70) ? Point{c.x + float(any(201) - 100), c.y + float(any(201) - 100)}
                          : Point{float(any(p.width * 15 + 3000) - 1500),
                                  float(any(p.height * 15 + 3000) - 1500)};
    const int button = 1 << any(3);
    const Look before = lookOf(b.window());
    const ui::Picture pictureBefore = b.window().Picture();
    hostOf(b.window()).invalidated = {};
    // Presses, moves and releases; now and then start over or close, by menu or frame.
    const int what = any(1000);
    if (what < 350)
      b.press(at, button, any(8));
    else if (what < 650)
      b.move(at, any(8));
    else if (what < 992)
      b.release(at, button);
    else if (what < 995)
      b.startOver();
    else if (what < 998)
      b.close();
    else
      b.window().closeRequested();
    ASSERT_FALSE(ui::runtime().ended()) << "seed " << seed << ", event " << i;
    if (!b.window().loaded()) continue;
    completed += b.window().Picture() != pictureBefore && pictureBefore == nullptr;
    std::string wrong = check(b, n, before, pictureBefore, hostOf(b.window()).invalidated);
    ASSERT_EQ(wrong, "") << "Bild" << n << ", seed " << seed << ", event " << i;
  }
  // The run finished pictures, so that the checks saw the whole game.
  EXPECT_GT(completed, int(events / 5000)) << completed << " pictures finished";
  app::frmMain().menu("mnuAvsluta")->click();
  EXPECT_EQ(ui::runtime().exitStatus(), 0);
}

}  // namespace
