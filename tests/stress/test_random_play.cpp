// Random play, checked against the model of the game after every event. By default 100,000
// events in runs of 10,000 from the seeds 1, 2, ...; FNORK_RANDOM_EVENTS and FNORK_RANDOM_SEED
// choose another count and first seed for longer runs. A failure reports its seed and the
// shortest sequence of events found that still fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "stress/play.h"

using namespace stress;

namespace {

constexpr std::uint64_t kDefaultSeed = 1;
constexpr std::size_t kDefaultEvents = 100000;
constexpr std::size_t kEventsPerRun = 10000;
constexpr int kTotals[kPictures] = {13, 9, 10, 25, 10, 9};

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 0) : fallback;
}

std::string listing(const std::vector<Event>& events) {
  std::string s;
  for (const Event& e : events) s += "  " + describe(e) + "\n";
  return s;
}

std::string report(std::uint64_t seed, const Played& run) {
  const Failure& f = *run.failure;
  const std::vector<Event> shortest = shrink(run.events, f);
  std::ostringstream out;
  out << "random play from seed " << seed << " failed after event " << f.event + 1 << ": "
      << f.check << ": " << f.detail << "\n"
      << "play it again with FNORK_RANDOM_SEED=" << seed << " FNORK_RANDOM_EVENTS=" << f.event + 1
      << "\n"
      << "shortest sequence found, " << shortest.size()
      << " events from the program's start (start window shown):\n"
      << listing(shortest);
  if (auto again = replay(shortest))
    out << "which fails with " << again->check << ": " << again->detail;
  return out.str();
}

TEST(RandomPlay, EveryEventKeepsTheGameAsItsRulesSay) {
  const std::uint64_t firstSeed = fromEnvironment("FNORK_RANDOM_SEED", kDefaultSeed);
  const std::size_t total = fromEnvironment("FNORK_RANDOM_EVENTS", kDefaultEvents);
  Coverage all;
  std::uint64_t seed = firstSeed;
  for (std::size_t done = 0; done < total; done += kEventsPerRun, ++seed) {
    const std::size_t count = std::min(kEventsPerRun, total - done);
    // Printed first, so that even a crash names the run to play again.
    std::printf("random play: FNORK_RANDOM_SEED=%llu FNORK_RANDOM_EVENTS=%zu\n",
                static_cast<unsigned long long>(seed), count);
    std::fflush(stdout);
    const Played run = play(seed, count);
    all.add(run.coverage);
    if (run.failure) {
      ADD_FAILURE() << report(seed, run);
      return;
    }
  }
  std::printf(
      "%zu events; completed Bild1..6: %d %d %d %d %d %d; reopened mid-picture %d, completed from "
      "there %d; drags ended after a close %d; presses taken by labels %d; start over mid-drag "
      "%d; program ends %d; far-off events %d\n",
      all.events, all.completions[0], all.completions[1], all.completions[2], all.completions[3],
      all.completions[4], all.completions[5], all.reopenedMidPicture, all.completedAfterReopen,
      all.dragsEndedAfterReopen, all.pressesTakenByLabels, all.startOversMidDrag, all.programEnds,
      all.farOffEvents);
  // The default streams reach every corner of the game the rules talk about.
  if (firstSeed == kDefaultSeed && total >= kDefaultEvents) {
    for (int n = 0; n < kPictures; ++n) EXPECT_GT(all.completions[n], 0) << "Bild" << n + 1;
    EXPECT_GT(all.reopenedMidPicture, 0);
    EXPECT_GT(all.completedAfterReopen, 0);
    EXPECT_GT(all.dragsEndedAfterReopen, 0);
    EXPECT_GT(all.pressesTakenByLabels, 0);
    EXPECT_GT(all.startOversMidDrag, 0);
    EXPECT_GT(all.programEnds, 0);
    EXPECT_GT(all.farOffEvents, 0);
  }
}

// The checks see a model that is wrong, and the shrinking brings the failure down to the fewest
// events that show it.
TEST(RandomPlay, PlantedFaultsAreCaughtAndShrunkToTheirShortestSequence) {
  {
    // Completing one segment early: the program does not beep where the model does. The
    // shortest showing opens a picture and makes SegmentTotal - 1 drags.
    const Played run = play(kDefaultSeed, kEventsPerRun, ModelFault::CompletesOneEarly);
    ASSERT_TRUE(run.failure);
    EXPECT_EQ(run.failure->check, "beep");
    const auto s = shrink(run.events, *run.failure, ModelFault::CompletesOneEarly);
    ASSERT_FALSE(s.empty());
    ASSERT_EQ(s.front().action, Action::Open) << listing(s);
    const int total = kTotals[s.front().window - 1];
    EXPECT_EQ(s.size(), std::size_t(1 + 2 * (total - 1))) << listing(s);
    EXPECT_TRUE(replay(s, ModelFault::CompletesOneEarly));
    EXPECT_FALSE(replay(s)) << "the program itself is right on this sequence";
  }
  {
    // Presses on a label reaching the board: open a picture, press on a label over dot 1.
    const Played run = play(kDefaultSeed, kEventsPerRun, ModelFault::LabelsPassPresses);
    ASSERT_TRUE(run.failure);
    EXPECT_EQ(run.failure->check, "board state");
    const auto s = shrink(run.events, *run.failure, ModelFault::LabelsPassPresses);
    ASSERT_EQ(s.size(), 2u) << listing(s);
    EXPECT_EQ(s[0].action, Action::Open);
    EXPECT_EQ(s[1].action, Action::Press);
    EXPECT_EQ(s[1].button, 1);
    EXPECT_EQ(s[1].shift, 0);
    EXPECT_FALSE(replay(s));
  }
}

TEST(RandomPlay, TheSameSeedPlaysTheSameStream) {
  auto text = [](const Played& r) { return listing(r.events); };
  const Played a = play(99, 3000), b = play(99, 3000), c = play(100, 3000);
  EXPECT_EQ(text(a), text(b));
  EXPECT_NE(text(a), text(c));
}

}  // namespace
