// Start-up probe, linked into the programs whose start-up the benchmark measures. When the first
// window has been painted, it prints the time since the launcher started the process (which it
// passes in FNORK_BENCH_T0, in nanoseconds of the monotonic clock) and the peak resident memory
// so far, and ends the process there.
#include <unistd.h>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace {

long peakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return 0;
}

void report() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const char* t0 = std::getenv("FNORK_BENCH_T0");
  const long long start = t0 != nullptr ? std::strtoll(t0, nullptr, 10) : 0;
  const long long elapsed = now.tv_sec * 1000000000LL + now.tv_nsec - start;
  std::printf("first-paint %lld %ld\n", elapsed, peakResidentKb());
  std::fflush(stdout);
  _exit(0);
}

// Waits for the first paint; the report runs once the event that painted is over, when the
// whole window has been painted and handed to the screen.
class FirstPaint final : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (!seen_ && e->type() == QEvent::Paint && o->isWidgetType()) {
      seen_ = true;
      QTimer::singleShot(0, report);
    }
    return false;
  }

 private:
  bool seen_ = false;
};

void install() {
  qApp->installEventFilter(new FirstPaint);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
