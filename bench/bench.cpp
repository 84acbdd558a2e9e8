// The benchmark of the Qt program (not a test; `bash bench/run.sh` builds and runs it). It
// prints:
// - start-up to the first painted start window and the peak resident memory, against a bare Qt
//   window of the same size built the same way, as ratios (median of several launches);
// - the cost of one rubber-band move in Bild1, the mouse handler and the repaint that follows,
//   with the region repainted, against a repaint of the whole window;
// - the time of playing all six pictures to their end with the mouse.
// Everything runs on Qt's offscreen platform.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/program_info.h"
#include "app/start_window.h"
#include "board/windows.h"
#include "ui/qt/qt_backend.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

double mean(const std::vector<double>& v) {
  double sum = 0;
  for (double x : v) sum += x;
  return v.empty() ? 0 : sum / double(v.size());
}

// ---- start-up, in fresh processes ----

struct Launch {
  double ms = 0;
  double peakMb = 0;
};

std::string besideThis(const char* name) {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, n > 0 ? std::size_t(n) : 0);
  return path.substr(0, path.rfind('/') + 1) + name;
}

// Starts a program that carries the first-paint probe and reads its report.
Launch launch(const std::string& path) {
  int out[2];
  if (pipe(out) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  timespec t0{};
  clock_gettime(CLOCK_MONOTONIC, &t0);
  setenv("FNORK_BENCH_T0", std::to_string(t0.tv_sec * 1000000000LL + t0.tv_nsec).c_str(), 1);
  std::string arg0 = path;
  char* argv[] = {arg0.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", path.c_str());
    std::exit(2);
  }
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string text;
  char buf[256];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, std::size_t(n));
  close(out[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  long long ns = 0;
  long peakKb = 0;
  if (std::sscanf(text.c_str(), "first-paint %lld %ld", &ns, &peakKb) != 2) {
    std::fprintf(stderr, "%s did not report its first paint\n", path.c_str());
    std::exit(2);
  }
  return {double(ns) / 1e6, double(std::max(peakKb, usage.ru_maxrss)) / 1024.0};
}

void startUp(int runs) {
  const char* names[] = {"bench_program", "bench_bare_window", "bench_menu_window"};
  const char* labels[] = {"program (start window)", "bare Qt window 312x298",
                          "same with a menu bar"};
  for (const char* n : names) launch(besideThis(n));  // warms the page cache and font caches
  std::vector<double> ms[3], mb[3];
  for (int i = 0; i < runs; ++i) {
    for (int k = 0; k < 3; ++k) {
      const Launch l = launch(besideThis(names[k]));
      ms[k].push_back(l.ms);
      mb[k].push_back(l.peakMb);
    }
  }
  std::printf("Start-up to the first painted window, median of %d launches each:\n", runs);
  for (int k = 0; k < 3; ++k)
    std::printf("  %-24s %8.1f ms   peak RSS %6.1f MB\n", labels[k], median(ms[k]), median(mb[k]));
  std::printf("  %-24s %8.2f x              %6.2f x      (goal: at most 1.15 x)\n",
              "program / bare window", median(ms[0]) / median(ms[1]),
              median(mb[0]) / median(mb[1]));
  std::printf("  %-24s %8.2f x              %6.2f x\n", "program / with menu bar",
              median(ms[0]) / median(ms[2]), median(mb[0]) / median(mb[2]));
}

// ---- in one process: the rubber band and the play-through ----

void settle() {
  QCoreApplication::processEvents();
}

void choose(const ui::Form& f, const char* caption) {
  QMenuBar* bar = ui::qt::windowOf(f)->findChild<QMenuBar*>();
  for (QAction* a : bar->actions().at(0)->menu()->actions())
    if (a->text() == QString::fromUtf8(caption)) a->trigger();
  settle();
}

QPointF centre(const ui::Form& f, int dot) {
  for (const auto& e : f.drawingOrder()) {
    if (e->name() != "Shape1" || e->Index() != dot) continue;
    const auto& s = static_cast<const ui::Shape&>(*e);
    return {(s.Left() + s.Width() / 2).value() / ui::kTwipsPerPixel,
            (s.Top() + s.Height() / 2).value() / ui::kTwipsPerPixel};
  }
  return {};
}

const ui::Line& band(const ui::Form& f) {
  for (const auto& e : f.drawingOrder())
    if (e->name() == "Line2") return static_cast<const ui::Line&>(*e);
  std::abort();
}

void mouse(const ui::Form& f, QEvent::Type type, QPointF at) {
  QWidget* client = ui::qt::clientOf(f);
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, at, client->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(client, &e);
}

// Remembers what the paint events of a widget covered.
class PaintRecorder final : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      region += static_cast<QPaintEvent*>(e)->region();
      ++paints;
    }
    return false;
  }
  QRegion region;
  int paints = 0;
};

long long area(const QRegion& r) {
  long long a = 0;
  for (const QRect& q : r) a += (long long)q.width() * q.height();
  return a;
}

QRect pixels(const ui::PixelRect& r) {
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

struct MoveFigures {
  std::vector<double> handler, repaint, total;
  double repainted = 0, bounds = 0, beyond = 0;  // pixels per move
  int outside = 0, unpainted = 0;                // moves
};

// Moves the free end of the rubber band along `path`, timing each move's handler (the mouse event
// delivered) and its repaint (the event loop painting what the move invalidated).
template <class Path>
MoveFigures moveBand(const ui::Form& w, PaintRecorder& painted, int moves, Path path) {
  MoveFigures f;
  long long repainted = 0, bounds = 0, beyond = 0;
  for (int i = 0; i < moves; ++i) {
    const QRegion old(pixels(band(w).paintBounds()));
    painted.region = QRegion();
    painted.paints = 0;
    const auto t0 = Clock::now();
    mouse(w, QEvent::MouseMove, path(i));
    const auto t1 = Clock::now();
    settle();
    const auto t2 = Clock::now();
    f.handler.push_back(micros(t1 - t0));
    f.repaint.push_back(micros(t2 - t1));
    f.total.push_back(micros(t2 - t0));
    const QRegion allowed = old + QRegion(pixels(band(w).paintBounds()));
    const QRegion excess = painted.region - allowed;
    repainted += area(painted.region);
    bounds += area(allowed);
    beyond += area(excess);
    f.outside += !excess.isEmpty();
    f.unpainted += painted.paints == 0;
  }
  f.repainted = double(repainted) / moves;
  f.bounds = double(bounds) / moves;
  f.beyond = double(beyond) / moves;
  return f;
}

void printMoves(const char* what, const MoveFigures& f) {
  std::printf("  %s\n", what);
  std::printf(
      "    handler %6.1f us, repaint %6.1f us, together %6.1f us (median; mean %.1f us, "
      "99th percentile %.1f us)\n",
      median(f.handler), median(f.repaint), median(f.total), mean(f.total),
      percentile(f.total, 0.99));
  std::printf(
      "    repainted %.0f px per move, within the band's old and new bounds (%.0f px); "
      "outside them: %.1f px per move, in %d moves; moves not repainted: %d\n",
      f.repainted, f.bounds, f.beyond, f.outside, f.unpainted);
}

void rubberBand(int moves) {
  const ui::Form& start = app::frmMain();
  choose(start, "Bild&1");
  const ui::Form& w = board::frmBild1();
  QWidget* client = ui::qt::clientOf(w);
  PaintRecorder painted;
  client->installEventFilter(&painted);

  const QPointF from = centre(w, 1), to = centre(w, 2);
  mouse(w, QEvent::MouseButtonPress, from);
  settle();
  // A hand going from dot 1 to dot 2 and back, a few pixels a move, wavering.
  const MoveFigures towards = moveBand(w, painted, moves, [&](int i) {
    const double phase = double(i % 200) / 100.0;
    const double along = phase <= 1 ? phase : 2 - phase;
    return from + (to - from) * along + QPointF(0, 12 * std::sin(i * 0.3));
  });
  // A hand circling 100 pixels around dot 1: the band sweeps every direction.
  const MoveFigures circling = moveBand(w, painted, moves, [&](int i) {
    return from + QPointF(100 * std::cos(i * 0.05), 100 * std::sin(i * 0.05));
  });
  mouse(w, QEvent::MouseButtonRelease, {-10, -10});
  settle();

  std::vector<double> whole;
  for (int i = 0; i < 200; ++i) {
    client->update();
    const auto t0 = Clock::now();
    settle();
    whole.push_back(micros(Clock::now() - t0));
  }
  client->removeEventFilter(&painted);
  choose(w, "&Avsluta");

  std::printf(
      "One rubber-band move in Bild1 (%d moves each; goal: handler and repaint under "
      "100 us, repaint within the band's old and new bounds):\n",
      moves);
  printMoves("from dot 1 to dot 2 and back", towards);
  printMoves("circling 100 px around dot 1", circling);
  std::printf("  whole-window repaint: %d px, %.1f us median\n", client->width() * client->height(),
              median(whole));
}

void playThrough() {
  const ui::Form& start = app::frmMain();
  const char* entries[] = {"Bild&1", "Bild&2", "Bild&3", "Bild&4", "Bild&5", "Bild&6"};
  std::printf("Play-through with the mouse (press, 8 moves, release per segment, each painted):\n");
  double sum = 0;
  for (int n = 1; n <= 6; ++n) {
    const auto t0 = Clock::now();
    choose(start, entries[n - 1]);
    const auto& w = static_cast<const board::PictureWindow&>(board::frmBild(n)());
    const int total = w.variation().SegmentTotal;
    for (int k = 1; k <= total; ++k) {
      const QPointF a = centre(w, k), b = centre(w, k + 1);
      mouse(w, QEvent::MouseButtonPress, a);
      settle();
      for (int m = 1; m <= 8; ++m) {
        mouse(w, QEvent::MouseMove, a + (b - a) * (m / 8.0));
        settle();
      }
      mouse(w, QEvent::MouseButtonRelease, b);
      settle();
    }
    const double ms = micros(Clock::now() - t0) / 1000;
    sum += ms;
    const bool done = w.Picture() != nullptr;
    std::printf("  Bild%d  %2d segments  %7.1f ms%s\n", n, total, ms,
                done ? "" : "  (did not complete!)");
    choose(w, "&Avsluta");
  }
  std::printf("  all six %16.1f ms\n", sum);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 21, moves = 5000;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--moves") == 0) moves = std::atoi(argv[i + 1]);
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  startUp(runs);

  QApplication qapp(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ui::qt::QtPlatform platform;
  ui::runtime().setPlatform(&platform);
  ui::setUp(app::programInfo());
  app::frmMain().Show();
  settle();
  rubberBand(moves);
  playThrough();
  ui::runtime().reset();
  ui::runtime().setPlatform(nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return 0;
}
