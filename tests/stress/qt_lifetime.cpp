// The Qt program from its start to its end, played through its real menus and the mouse on its
// windows: every picture opened, completed, started over, closed by its menu in the middle of a
// drag, opened again, completed from where it stood and closed by its frame; then the start
// window's "Avsluta" ends the program. scripts/test.d/30-valgrind.sh runs it under memcheck. The
// exit status is 1 when the play did not go as the game's rules say.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/icon.h"
#include "app/start_window.h"
#include "board/windows.h"
#include "pictures/designs.h"
#include "ui/program.h"
#include "ui/qt/qt_backend.h"

namespace {

constexpr int kRounds = 2;
int failures = 0;

void expect(bool ok, const char* what, int picture) {
  if (ok) return;
  ++failures;
  if (picture == 0) {
    std::fprintf(stderr, "qt_lifetime: %s\n", what);
  } else {
    std::fprintf(stderr, "qt_lifetime: Bild%d: %s\n", picture, what);
  }
}

// The entry of a window's menu with this caption, as the player chooses it.
void choose(const ui::Form& f, const char* caption) {
  QMenuBar* bar = ui::qt::windowOf(f)->findChild<QMenuBar*>();
  for (QAction* a : bar->actions().at(0)->menu()->actions()) {
    if (a->text() == QString::fromUtf8(caption)) {
      a->trigger();
      QCoreApplication::processEvents();
      return;
    }
  }
  ++failures;
  std::fprintf(stderr, "qt_lifetime: no menu entry %s\n", caption);
}

QPointF centre(const ui::Form& f, int dot) {
  for (const auto& e : f.drawingOrder()) {
    if (e->name() != "Shape1" || e->Index() != dot) continue;
    const auto& s = static_cast<const ui::Shape&>(*e);
    return {(s.Left() + s.Width() / 2).value() / ui::kTwipsPerPixel,
            (s.Top() + s.Height() / 2).value() / ui::kTwipsPerPixel};
  }
  return {-100, -100};
}

void mouse(const ui::Form& f, QEvent::Type type, QPointF at) {
  QWidget* client = ui::qt::clientOf(f);
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, at, client->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(client, &e);
}

board::PictureWindow& picture(int n) {
  return static_cast<board::PictureWindow&>(board::frmBild(n)());
}

// One drag from the current dot to the next, with the window repainted after every step.
void drag(const board::PictureWindow& w) {
  const int from = w.state().bytDot + 1;
  const QPointF a = centre(w, from), b = centre(w, from + 1);
  mouse(w, QEvent::MouseButtonPress, a);
  QCoreApplication::processEvents();
  mouse(w, QEvent::MouseMove, (a + b) / 2);
  QCoreApplication::processEvents();
  mouse(w, QEvent::MouseButtonRelease, b);
  QCoreApplication::processEvents();
}

void complete(const board::PictureWindow& w, int n) {
  const int before = ui::runtime().beeps();
  for (int guard = 0; ui::runtime().beeps() == before && guard < 30; ++guard) drag(w);
  expect(ui::runtime().beeps() == before + 1, "the picture did not complete", n);
  // The corner of the client area shows the finished picture, as painted now.
  const QImage painted = ui::qt::grabClient(w);
  const QImage& finished = ui::qt::imageOf(&pictures::finishedPicture(n));
  expect(!painted.isNull() && painted.pixel(0, 0) == finished.pixel(0, 0),
         "the finished picture is not painted", n);
}

// Counts the paint events of the windows, to show that the event loop painted them.
class PaintCounter final : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(o, e);
  }
  int paints = 0;
};
PaintCounter* paintCounter = nullptr;

void play() {
  const ui::Form& start = app::frmMain();
  const char* entries[] = {"Bild&1", "Bild&2", "Bild&3", "Bild&4", "Bild&5", "Bild&6"};
  for (int round = 0; round < kRounds; ++round) {
    for (int n = 1; n <= 6; ++n) {
      choose(start, entries[n - 1]);
      board::PictureWindow& w = picture(n);
      expect(w.loaded() && ui::qt::windowOf(w)->isVisible(), "not shown by its menu entry", n);
      complete(w, n);
      choose(w, "&Börja om");
      drag(w);
      drag(w);
      mouse(w, QEvent::MouseButtonPress, centre(w, w.state().bytDot + 1));
      choose(w, "&Avsluta");
      expect(!w.loaded(), "its Avsluta left it open", n);
      choose(start, entries[n - 1]);
      const bool keeps = n == 1 || n == 3 || n == 4;
      expect(w.state().bytDot == (keeps ? 2 : 0), "reopened with the wrong progress", n);
      mouse(w, QEvent::MouseButtonRelease, {-10, -10});
      complete(w, n);
      ui::qt::windowOf(w)->close();
      QCoreApplication::processEvents();
      expect(!w.loaded(), "its close control left it open", n);
    }
  }
  expect(ui::runtime().beeps() == 2 * 6 * kRounds, "beeps other than one per completion", 0);
  expect(paintCounter->paints > 100, "the windows were hardly painted", 0);
  qApp->removeEventFilter(paintCounter);
  delete paintCounter;
  choose(start, "&Avsluta");
}

void schedule() {
  paintCounter = new PaintCounter;
  qApp->installEventFilter(paintCounter);
  QTimer::singleShot(0, play);
}

}  // namespace

// Runs once the program's application object exists, before its event loop starts.
Q_COREAPP_STARTUP_FUNCTION(schedule)

int main(int argc, char** argv) {
  const int status = ui::runProgram(argc, argv, app::frmMain, app::programIcon());
  if (status != 0) std::fprintf(stderr, "qt_lifetime: the program ended with status %d\n", status);
  return status == 0 && failures == 0 ? 0 : 1;
}
