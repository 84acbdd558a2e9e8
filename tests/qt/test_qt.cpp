// What only the Qt windows can get wrong: fixed frames, the icon, names for assistive technology, a
// minimized picture chosen again, access keys and the end of the event loop, double clicks, the
// areas repainted, a release the menu took, drawing at two device pixels to a pixel, and the SVG
// drawings against their GIFs.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>

#include "app/start_window.h"
#include "facts.h"
#include "pictures/designs.h"
#include "support/fake_platform.h"
#include "ui/qt/qt_backend.h"
#include "window/driver.h"

namespace {

using window_tests::driver;

class QtWindows : public ::testing::Test {
 protected:
  void SetUp() override { driver().start(); }
  void TearDown() override { driver().stop(); }
};

// The name assistive technology reads for an object, then those of its children ("-" for a
// separator).
QStringList names(QObject* o) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
  QStringList n{a->text(QAccessible::Name)};
  for (int i = 0; i < a->childCount(); ++i)
    n << (a->child(i)->role() == QAccessible::Separator ? "-"
                                                        : a->child(i)->text(QAccessible::Name));
  return n;
}

TEST_F(QtWindows, AFixedFrameTheIconNamesWithoutAccessKeyMarksAndAMinimizedPictureChosenAgain) {
  board::frmBild3().Show();
  QWidget* w = ui::qt::windowOf(board::frmBild3());
  EXPECT_EQ(w->minimumSize(), w->maximumSize());
  EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(w->windowIcon().pixmap(32, 32).toImage().pixelColor(6, 6), QColor(247, 243, 247));
  EXPECT_EQ(names(w).at(0), "Bild3");
  auto* bar = w->findChild<QMenuBar*>();
  EXPECT_EQ(names(bar).mid(1), QStringList{"Meny"});
  EXPECT_EQ(names(bar->actions().at(0)->menu()),
            (QStringList{"Meny", "B\u00f6rja om", "-", "Avsluta"}));
  // Chosen again while minimized, a picture comes back.
  w->showMinimized();
  driver().choose(facts::kStartCaption, "Bild&3");
  EXPECT_FALSE(w->isMinimized());
}

TEST_F(QtWindows, TheTitleIsBoldAndAvslutaChosenByItsAccessKeyEndsTheEventLoopWithZero) {
  // Bold strokes: the three lines hold half as much ink again as in the regular weight.
  QImage title = ui::qt::grabClient(app::frmMain()).copy(0, 22, 312, 210);
  int ink = 0;
  for (int y = 0; y < title.height(); ++y)
    for (int x = 0; x < title.width(); ++x) ink += qGray(title.pixel(x, y)) < 64;
  EXPECT_GT(ink, 4000);
  QWidget* start = ui::qt::windowOf(app::frmMain());
  QApplication::setActiveWindow(start);
  QTimer::singleShot(0, [start] {
    QTest::keyClick(start, Qt::Key_M, Qt::AltModifier);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A);
  });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(app::frmMain().loaded());
}

TEST_F(QtWindows, ADoubleClickIsAPressQtRepaintsTheRubberBandAndItForgetsAButtonAMenuTook) {
  board::frmBild1().Show();
  const ui::Form& f = board::frmBild1();
  const auto& band = testing_support::element<ui::Line>(f, "Line2");
  QWidget* c = ui::qt::clientOf(f);
  QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(32, 127), c->mapToGlobal(QPointF(32, 127)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(c, &twice);
  driver().move("Bild1", 100, 200);
  QTest::mouseRelease(c, Qt::BackButton, {}, QPoint(100, 200));  // no button of ours
  ASSERT_EQ(band.X2().value(), 1500);
  // Qt repaints where the rubber band was and where it is.
  struct Painted : QObject {
    QRegion region;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(e)->region();
      return false;
    }
  } painted;
  QCoreApplication::processEvents();
  c->installEventFilter(&painted);
  const ui::PixelRect was = band.paintBounds();
  driver().move("Bild1", 250, 40);
  QCoreApplication::processEvents();
  for (ui::PixelRect r : {was, band.paintBounds()})
    EXPECT_TRUE(painted.region.contains(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top)));
  c->removeEventFilter(&painted);
  // The menu opens from the keyboard with the button held, and the button is let go over it.
  QWidget* w = ui::qt::windowOf(f);
  QApplication::setActiveWindow(w);
  QTest::keyClick(w, Qt::Key_M, Qt::AltModifier);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
  // Number 1 takes the next press although it lies on dot 1, and the moves over number 5 that
  // follow are its own: the rubber band stays where it was.
  QTest::mousePress(c, Qt::LeftButton, {}, QPoint(23, 117));
  QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(23, 117));
  EXPECT_EQ(band.X2().value(), 3750);
  QTest::mouseMove(c, QPoint(260, 230));
  EXPECT_EQ(band.X2().value(), 3750);
}

// Picture n's SVG drawing at `ratio` device pixels to a pixel, on white as its GIF was made.
QImage drawing(int n, int ratio) {
  const ui::PictureData& p = pictures::finishedPicture(n);
  QSvgRenderer svg(
      QByteArray::fromRawData(reinterpret_cast<const char*>(p.vector), qsizetype(p.vectorSize)));
  QImage img(QSize(p.width(), p.height()) * ratio, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  svg.render(&painter, QRectF(QPointF(0, 0), img.size()));
  return img;
}

int differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      n += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 48;
  return n;
}

TEST_F(QtWindows, AtTwoDevicePixelsToAPixelDotsNumbersLinesAndThePictureAreSharp) {
  driver().choose("Fnork till fnork av Bromle", "Bild&1");
  QWidget* client = ui::qt::clientOf(board::frmBild1());
  auto paint = [&] {
    QImage img(client->size() * 2, QImage::Format_RGB32);
    img.setDevicePixelRatio(2);
    client->render(&img);
    return img;
  };
  driver().press("Bild1", 32, 127);
  driver().release("Bild1", 298, 127);
  QImage img = paint();
  // Dot 14, box (26, 142) to (36, 152), is a disc 20 device pixels across; the segment four wide.
  int black = 0, across = 0;
  for (int y = 284; y < 304; ++y)
    for (int x = 52; x < 72; ++x) black += img.pixelColor(x, y) == Qt::black;
  EXPECT_NEAR(black, 314, 30);  // pi * 10 * 10
  for (int y = 240; y < 270; ++y) across += img.pixelColor(300, y) == QColor(128, 128, 128);
  EXPECT_EQ(across, 4);
  // The finished picture is drawn from its drawing at device resolution, not the GIF enlarged.
  const auto& c = facts::picture(1).dots;
  for (std::size_t k = 1; k + 1 < c.size(); ++k) {
    driver().press("Bild1", int(c[k].x) / 15, int(c[k].y) / 15);
    driver().release("Bild1", int(c[k + 1].x) / 15, int(c[k + 1].y) / 15);
  }
  img = paint();
  QImage sharp = drawing(1, 2);
  QImage enlarged = ui::qt::imageOf(&pictures::finishedPicture(1)).scaled(sharp.size());
  int differ = 0, likeSharp = 0;
  for (int y = 0; y < img.height(); y += 3)
    for (int x = 0; x < img.width(); x += 3) {
      int s = qGray(sharp.pixel(x, y)), e = qGray(enlarged.pixel(x, y));
      if (std::abs(s - e) < 32) continue;
      ++differ;
      likeSharp += std::abs(qGray(img.pixel(x, y)) - s) < 16;
    }
  EXPECT_GT(differ, 200);
  EXPECT_GT(likeSharp, differ * 8 / 10);
}

TEST(QtPictures, SvgDrawingsShowWhatTheGifsShow) {
  // Screens scaled above 100 % get the picture from its SVG drawing: Qt's renderer must draw it
  // as the GIF was made, apart from the soft edges of shapes.
  for (int n = 1; n <= 6; ++n) {
    const QImage& gif = ui::qt::imageOf(&pictures::finishedPicture(n));
    EXPECT_LT(differing(drawing(n, 1), gif), gif.width() * gif.height() / 1000) << n;
  }
}

}  // namespace
