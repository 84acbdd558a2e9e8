// What only the Qt windows can get wrong: fixed frames, the icon, names for assistive technology,
// access keys inside an open menu, the end of the event loop, a release the menu took, and the
// pictures' SVG drawings against their GIFs.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>

#include "app/start_window.h"
#include "board/windows.h"
#include "pictures/designs.h"
#include "ui/qt/qt_backend.h"
#include "window/driver.h"

namespace {

using window_tests::driver;

class QtWindows : public ::testing::Test {
 protected:
  void SetUp() override { driver().start(); }
  void TearDown() override { driver().stop(); }
};

QString nameOf(QObject* o) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
  return a ? a->text(QAccessible::Name) : QString("(none)");
}

// The names of the accessible children of an object, "-" for a separator.
QStringList childNames(QObject* o) {
  QStringList names;
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
  for (int i = 0; a && i < a->childCount(); ++i) {
    QAccessibleInterface* c = a->child(i);
    names << (c->role() == QAccessible::Separator ? "-" : c->text(QAccessible::Name));
  }
  return names;
}

TEST_F(QtWindows, FixedFramesTheIconAndNamesWithoutAccessKeyMarks) {
  board::frmBild3().Show();
  const QStringList entries[] = {
      {"Bild1", "Bild2", "Bild3", "Bild4", "Bild5", "Bild6", "-", "Avsluta"},
      {"B\u00f6rja om", "-", "Avsluta"}};
  const ui::Form* forms[] = {&app::frmMain(), &board::frmBild3()};
  for (int i = 0; i < 2; ++i) {
    QWidget* w = ui::qt::windowOf(*forms[i]);
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    QImage icon = w->windowIcon().pixmap(32, 32).toImage();
    EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(icon.pixelColor(16, 16), QColor(0, 0, 0));
    EXPECT_EQ(icon.pixelColor(6, 6), QColor(247, 243, 247));
    EXPECT_EQ(nameOf(w), QString::fromUtf8(forms[i]->design().caption));
    auto* bar = w->findChild<QMenuBar*>();
    EXPECT_EQ(childNames(bar), QStringList{"Meny"});
    EXPECT_EQ(nameOf(bar->actions().at(0)->menu()), "Meny");
    EXPECT_EQ(childNames(bar->actions().at(0)->menu()), entries[i]);
  }
}

TEST_F(QtWindows, AccessKeysChooseFromInsideTheOpenMenuAndAvslutaEndsTheLoopWithZero) {
  // The window is destroyed while its own menu is still delivering the key press.
  board::frmBild1().Show();
  QWidget* w = ui::qt::windowOf(board::frmBild1());
  QApplication::setActiveWindow(w);
  QTest::keyClick(w, Qt::Key_M, Qt::AltModifier);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(board::frmBild1().loaded());
  QWidget* start = ui::qt::windowOf(app::frmMain());
  QApplication::setActiveWindow(start);
  QTest::keyClick(start, Qt::Key_M, Qt::AltModifier);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_1);
  EXPECT_TRUE(board::frmBild1().loaded());
  QTimer::singleShot(0, [] { driver().choose("Fnork till fnork av Bromle", "&Avsluta"); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(board::frmBild1().loaded());
}

TEST_F(QtWindows, ARubberBandForgetsTheButtonThatAMenuTookAway) {
  board::frmBild1().Show();
  const ui::Form& f = board::frmBild1();
  auto bandEnd = [&] {
    for (const auto& e : f.drawingOrder())
      if (e->name() == "Line2") return static_cast<const ui::Line&>(*e).X2().value();
    return -1.f;
  };
  driver().press("Bild1", 32, 127);
  driver().move("Bild1", 100, 200);
  ASSERT_EQ(bandEnd(), 1500);
  // The menu opens from the keyboard with the button held, and the button is let go over it.
  QWidget* w = ui::qt::windowOf(f);
  QApplication::setActiveWindow(w);
  QTest::keyClick(w, Qt::Key_M, Qt::AltModifier);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
  // Number 1 takes the next press although it lies on dot 1, and the moves over number 5 that
  // follow are its own: the rubber band stays where it was.
  QWidget* c = ui::qt::clientOf(f);
  QTest::mousePress(c, Qt::LeftButton, {}, QPoint(23, 117));
  QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(23, 117));
  EXPECT_EQ(bandEnd(), 1500);
  QTest::mouseMove(c, QPoint(260, 230));
  EXPECT_EQ(bandEnd(), 1500);
}

TEST(QtPictures, SvgDrawingsShowWhatTheGifsShow) {
  // Screens scaled above 100 % get the picture from its SVG drawing: Qt's renderer must draw it
  // as the GIF was made, apart from the soft edges of shapes.
  for (int n = 1; n <= 6; ++n) {
    const ui::PictureData& p = pictures::finishedPicture(n);
    ASSERT_NE(p.vector, nullptr) << n;
    QSvgRenderer svg(
        QByteArray::fromRawData(reinterpret_cast<const char*>(p.vector), qsizetype(p.vectorSize)));
    QImage vector(p.width(), p.height(), QImage::Format_RGB32);
    vector.fill(Qt::white);
    QPainter painter(&vector);
    svg.render(&painter, QRectF(0, 0, p.width(), p.height()));
    painter.end();
    const QImage& gif = ui::qt::imageOf(&p);
    ASSERT_EQ(vector.size(), gif.size()) << n;
    int differ = 0;
    for (int y = 0; y < gif.height(); ++y)
      for (int x = 0; x < gif.width(); ++x) {
        QColor a = vector.pixelColor(x, y), b = gif.pixelColor(x, y);
        differ += std::abs(a.red() - b.red()) > 64 || std::abs(a.green() - b.green()) > 64 ||
                  std::abs(a.blue() - b.blue()) > 64;
      }
    EXPECT_LT(differ, gif.width() * gif.height() / 1000) << "picture " << n;
  }
}

}  // namespace
