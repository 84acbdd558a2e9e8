// Makes the screenshot for the software centres: a picture window played to its end, menu bar and
// all, drawn at a given scale on Qt's offscreen platform.
// Usage: screenshot OUTPUT.png [PICTURE (1 to 6, default 4)] [SCALE (default 2)]
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "app/program_info.h"
#include "board/windows.h"
#include "ui/qt/qt_backend.h"

namespace {

// The centre of dot `index` in twips, as the loaded window holds it.
std::pair<float, float> centre(const ui::Form& w, int index) {
  for (const auto& e : w.drawingOrder())
    if (e->name() == std::string("Shape1") && e->Index() == index) {
      const auto& s = static_cast<const ui::Shape&>(*e);
      return {(s.Left() + s.Width() / 2).value(), (s.Top() + s.Height() / 2).value()};
    }
  return {-1, -1};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png [PICTURE] [SCALE]\n", argv[0]);
    return 2;
  }
  int number = argc > 2 ? std::atoi(argv[2]) : 4;
  if (number < 1 || number > 6) return 2;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", argc > 3 ? argv[3] : "2");
  QApplication app(argc, argv);
  ui::qt::QtPlatform platform;
  ui::runtime().setPlatform(&platform);
  ui::setUp(app::programInfo());

  ui::Form& w = board::frmBild(number)();
  w.Show();
  for (int k = 1; k <= board::variation(number).SegmentTotal; ++k) {
    auto [x1, y1] = centre(w, k);
    auto [x2, y2] = centre(w, k + 1);
    w.mouseDown(ui::kLeftButton, 0, x1, y1);
    w.mouseMove(ui::kLeftButton, 0, x2, y2);
    w.mouseUp(ui::kLeftButton, 0, x2, y2);
  }
  bool saved = ui::qt::windowOf(w)->grab().toImage().save(QString::fromLocal8Bit(argv[1]), "PNG");
  ui::runtime().reset();
  ui::runtime().setPlatform(nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  if (!saved) std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
  return saved ? 0 : 1;
}
