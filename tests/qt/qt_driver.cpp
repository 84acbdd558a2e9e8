// The Qt tests' main, and the window tests' driver on Qt's offscreen platform: the program's start
// as runProgram makes it, its windows found by caption, its menu actions triggered, and the mouse
// sent to the client area as Qt delivers it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>

#include "app/program_info.h"
#include "app/start_window.h"
#include "board/windows.h"
#include "pictures/designs.h"
#include "ui/qt/qt_backend.h"
#include "window/driver.h"

namespace window_tests {
namespace {

Pixels pixelsOf(const QImage& image) {
  QImage img = image.convertToFormat(QImage::Format_RGB32);
  Pixels p{img.width(), img.height(), {}};
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) p.rgb.push_back(img.pixel(x, y) & 0xFFFFFF);
  return p;
}

class QtDriver final : public Driver {
 public:
  // The program's start and end as runProgram makes them, without the event loop between.
  void start() override { ui::startProgram(platform_, app::frmMain, app::programInfo()); }
  void stop() override {
    ui::endProgram(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  int exitStatus() override { return ui::runtime().ended() ? ui::runtime().exitStatus() : -1; }
  std::vector<std::string> windows() override {
    std::vector<std::string> shown;
    for (const ui::Form* f : forms())
      if (ui::qt::windowOf(*f)->isVisible()) shown.push_back(f->design().caption);
    return shown;
  }
  Pixels grab(const std::string& caption) override {
    return pixelsOf(ui::qt::grabClient(form(caption)));
  }
  std::vector<std::string> menu(const std::string& caption) override {
    QAction* top = menuBar(caption)->actions().at(0);
    std::vector<std::string> texts{top->text().toStdString()};
    for (QAction* a : top->menu()->actions())
      if (a->isVisible()) texts.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    return texts;
  }
  void choose(const std::string& caption, const std::string& entry) override {
    for (QAction* a : menuBar(caption)->actions().at(0)->menu()->actions())
      if (a->text().toStdString() == entry) return a->trigger();
    ADD_FAILURE() << "no entry " << entry << " in " << caption;
  }
  void closeFrame(const std::string& caption) override { ui::qt::windowOf(form(caption))->close(); }
  void press(const std::string& caption, int x, int y) override {
    QTest::mousePress(ui::qt::clientOf(form(caption)), Qt::LeftButton, {}, QPoint(x, y));
  }
  void move(const std::string& caption, int x, int y) override {
    QWidget* c = ui::qt::clientOf(form(caption));
    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), c->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(c, &e);
  }
  void release(const std::string& caption, int x, int y) override {
    QTest::mouseRelease(ui::qt::clientOf(form(caption)), Qt::LeftButton, {}, QPoint(x, y));
  }
  std::uint32_t background() override {
    return QApplication::palette().color(QPalette::Button).rgb() & 0xFFFFFF;
  }
  Pixels finishedPicture(int n) override {
    return pixelsOf(ui::qt::imageOf(&pictures::finishedPicture(n)));
  }

 private:
  // The loaded windows.
  static std::vector<const ui::Form*> forms() {
    std::vector<const ui::Form*> loaded;
    for (const ui::WindowClass* c :
         {&app::frmMain, &board::frmBild1, &board::frmBild2, &board::frmBild3, &board::frmBild4,
          &board::frmBild5, &board::frmBild6})
      if (c->exists() && (*c)().loaded()) loaded.push_back(&(*c)());
    return loaded;
  }
  static const ui::Form& form(const std::string& caption) {
    for (const ui::Form* f : forms())
      if (caption == f->design().caption) return *f;
    throw std::runtime_error("no window " + caption);
  }
  static QMenuBar* menuBar(const std::string& caption) {
    return ui::qt::windowOf(form(caption))->findChild<QMenuBar*>();
  }
  ui::qt::QtPlatform platform_;
};

}  // namespace

Driver& driver() {
  static QtDriver d;
  return d;
}

}  // namespace window_tests

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
