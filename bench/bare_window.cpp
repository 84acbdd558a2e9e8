// The floors the benchmark measures the program's start-up against: a bare Qt window with the
// client size of the start window (312 x 298 pixels) and nothing in it, and, built with
// WITH_MENU_BAR, the same window with a one-entry menu bar above it, the least a window needs
// to bring up Qt's fonts.
#include <QApplication>
#include <QMenuBar>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
#ifdef WITH_MENU_BAR
  auto* bar = new QMenuBar(&window);
  bar->addMenu("&Meny");
  layout->setMenuBar(bar);
#endif
  auto* client = new QWidget(&window);
  client->setFixedSize(312, 298);
  layout->addWidget(client);
  window.show();
  return QApplication::exec();
}
