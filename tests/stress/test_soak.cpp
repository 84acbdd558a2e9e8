// Lifetime soak: every picture window opened and closed, completed, started over and closed in
// the middle of a drag thousands of times, and the program ended and started again, without the
// heap growing. This binary's own global operator new and delete count the blocks and bytes
// still live.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/start_window.h"
#include "board/windows.h"
#include "ui/form.h"
#include "ui/runtime.h"

namespace {

struct Live {
  std::size_t blocks = 0, bytes = 0;
};
Live live;

// Each block carries its size in front of it, so that a delete knows what it gives back.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t n) {
  void* p = std::malloc(n + kHeader);
  if (p == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = n;
  ++live.blocks;
  live.bytes += n;
  return static_cast<char*>(p) + kHeader;
}

void release(void* p) noexcept {
  if (p == nullptr) return;
  char* base = static_cast<char*>(p) - kHeader;
  --live.blocks;
  live.bytes -= *reinterpret_cast<std::size_t*>(base);
  std::free(base);
}

}  // namespace

void* operator new(std::size_t n) {
  return allocate(n);
}
void* operator new[](std::size_t n) {
  return allocate(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  try {
    return allocate(n);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept {
  return operator new(n, t);
}
void operator delete(void* p) noexcept {
  release(p);
}
void operator delete[](void* p) noexcept {
  release(p);
}
void operator delete(void* p, std::size_t) noexcept {
  release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  release(p);
}

namespace {

// A backend without windows that keeps nothing but a count of beeps.
struct QuietHost final : ui::Host {
  void show() override {}
  void invalidate(const ui::PixelRect&) override {}
  void menuChanged(const ui::Menu&) override {}
};
struct QuietPlatform final : ui::Platform {
  std::unique_ptr<ui::Host> createHost(ui::Form&) override { return std::make_unique<QuietHost>(); }
  void beep() override { ++beeps; }
  void quit(int) override { ++quits; }
  int beeps = 0, quits = 0;
};

board::PictureWindow& picture(int n) {
  return static_cast<board::PictureWindow&>(board::frmBild(n)());
}

void choose(const ui::Form& f, const char* menu, int index = ui::kNoIndex) {
  f.menu(menu, index)->click();
}

struct Point {
  float x, y;
};

Point centre(const ui::Form& f, int dot) {
  for (const auto& e : f.drawingOrder()) {
    if (e->name() != "Shape1" || e->Index() != dot) continue;
    const auto& s = static_cast<const ui::Shape&>(*e);
    return {(s.Left() + s.Width() / 2).value(), (s.Top() + s.Height() / 2).value()};
  }
  return {-1e6f, -1e6f};
}

// Drags from the current dot to the next one.
void drag(board::PictureWindow& w) {
  const int from = w.state().bytDot + 1;
  const Point a = centre(w, from), b = centre(w, from + 1);
  w.mouseDown(ui::kLeftButton, 0, a.x, a.y);
  w.mouseMove(ui::kLeftButton, 0, (a.x + b.x) / 2, (a.y + b.y) / 2);
  w.mouseUp(ui::kLeftButton, 0, b.x, b.y);
}

void complete(board::PictureWindow& w) {
  const int before = ui::runtime().beeps();
  for (int guard = 0; ui::runtime().beeps() == before && guard < 30; ++guard) drag(w);
}

// A child with every picture: completes it, starts it over, leaves it with a drag going by its
// menu, finds it again, completes it from where it stands and closes it with the frame's control.
void playEveryPicture() {
  const ui::Form& start = app::frmMain();
  for (int n = 1; n <= 6; ++n) {
    choose(start, "mnuBild", n);
    board::PictureWindow& w = picture(n);
    complete(w);
    choose(w, "mnuIgen");
    drag(w);
    drag(w);
    const Point next = centre(w, w.state().bytDot + 1);
    w.mouseDown(ui::kLeftButton, 0, next.x, next.y);
    choose(w, "mnuAvsluta");
    choose(start, "mnuBild", n);
    w.mouseUp(ui::kLeftButton, 0, -100, -100);
    complete(w);
    w.closeRequested();
  }
}

// The program from its start, as the platform starts it.
void startProgram() {
  ui::runtime().reset();
  app::frmMain().Show();
}

TEST(Soak, ThousandsOfWindowLifetimesLeaveTheHeapAsTheyFoundIt) {
  // Fewer rounds where the sanitizers make every allocation slow; the same lifetimes each round.
#if defined(__SANITIZE_ADDRESS__)
  constexpr int kRounds = 300;
#else
  constexpr int kRounds = 1500;
#endif
  constexpr int kRoundsPerProgram = 50;
  QuietPlatform platform;
  ui::runtime().setPlatform(&platform);
  startProgram();
  // Warm-up: the first program run settles the sizes of the runtime's own containers.
  for (int r = 0; r < kRoundsPerProgram; ++r) playEveryPicture();
  choose(app::frmMain(), "mnuAvsluta");
  startProgram();
  const Live atStart = live;

  // What six open windows hold shows that the count sees the game's allocations.
  for (int n = 1; n <= 6; ++n) choose(app::frmMain(), "mnuBild", n);
  const Live sixOpen = live;
  choose(app::frmMain(), "mnuAvsluta");
  startProgram();

  Live largest = live;
  int ends = 0;
  for (int r = 1; r <= kRounds; ++r) {
    playEveryPicture();
    if (r % kRoundsPerProgram == 0) {
      choose(app::frmMain(), "mnuAvsluta");
      ends += ui::runtime().ended();
      startProgram();
      if (live.bytes > largest.bytes) largest = live;
    }
  }
  const Live atEnd = live;
  ui::runtime().reset();
  ui::runtime().setPlatform(nullptr);

  std::printf(
      "%d rounds: every picture opened %d times, completed %d times; live heap at a program's "
      "start: %zu blocks, %zu bytes before, %zu blocks, %zu bytes after (six windows open: %zu "
      "blocks, %zu bytes)\n",
      kRounds, 2 * kRounds, 2 * kRounds, atStart.blocks, atStart.bytes, atEnd.blocks, atEnd.bytes,
      sixOpen.blocks, sixOpen.bytes);
  EXPECT_GT(sixOpen.blocks, atStart.blocks + 6 * 40);
  EXPECT_EQ(ends, kRounds / kRoundsPerProgram);
  EXPECT_EQ(platform.beeps, 2 * 6 * (kRoundsPerProgram + kRounds));
  EXPECT_EQ(atEnd.blocks, atStart.blocks);
  EXPECT_EQ(atEnd.bytes, atStart.bytes);
  EXPECT_EQ(largest.bytes, atStart.bytes);
}

}  // namespace
