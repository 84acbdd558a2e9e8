// The windows on a screen with two device pixels to a pixel: they keep their size in pixels of the
// design, while dots, lines, numbers and the finished picture are drawn at device resolution.
#include <QPainter>
#include <QSvgRenderer>

#include "board/board_driver.h"
#include "qt/qt_fixture.h"

namespace {

using testing_support::BoardDriver;

constexpr int kRatio = 2;

// Device pixels of a grab, in pixels of the design.
QRect deviceRect(int left, int top, int width, int height) {
  return {left * kRatio, top * kRatio, width * kRatio, height * kRatio};
}

// Whether the area holds a block of 2 x 2 device pixels, at a design pixel, that is not of one
// colour: drawn at device resolution rather than at design resolution and enlarged.
bool hasFinerDetailThanAPixel(const QImage& img, QRect area) {
  for (int y = area.top(); y < area.bottom(); y += kRatio)
    for (int x = area.left(); x < area.right(); x += kRatio) {
      QRgb c = img.pixel(x, y);
      if (img.pixel(x + 1, y) != c || img.pixel(x, y + 1) != c || img.pixel(x + 1, y + 1) != c)
        return true;
    }
  return false;
}

int count(const QImage& img, QRect area, QColor colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += img.pixelColor(x, y) == colour;
  return n;
}

TEST_F(QtTest, ScreenHasTwoDevicePixelsToAPixel) {
  ASSERT_EQ(qApp->devicePixelRatio(), kRatio);
}

TEST_F(QtTest, WindowKeepsItsDesignSizeWhileDotsAndNumbersAreDrawnAtDeviceResolution) {
  BoardDriver b(1);
  b.window().Show();
  EXPECT_EQ(ui::qt::clientOf(b.window())->size(), QSize(317, 360));
  QImage img = grab(b.window());
  ASSERT_EQ(img.size(), QSize(317, 360) * kRatio);
  EXPECT_EQ(img.devicePixelRatio(), kRatio);

  // Dot 1, box (27, 122) to (37, 132): a round disc 20 device pixels across, not a square and
  // not a 10-pixel disc enlarged.
  QRect dot = deviceRect(27, 122, 10, 10);
  int black = count(img, dot, Qt::black);
  EXPECT_NEAR(black, 314, 30);  // pi * 10 * 10
  EXPECT_EQ(img.pixelColor(dot.center()), QColor(Qt::black));
  for (QPoint corner : {dot.topLeft(), dot.topRight(), dot.bottomLeft(), dot.bottomRight()})
    EXPECT_TRUE(near(img.pixelColor(corner), background()));
  EXPECT_TRUE(hasFinerDetailThanAPixel(img, dot));

  // Label 1, (19, 110) 8 x 14: its digit is drawn with the detail of the device.
  QRect label = deviceRect(19, 110, 8, 14);
  int dark = 0;
  for (int y = label.top(); y <= label.bottom(); ++y)
    for (int x = label.left(); x <= label.right(); ++x)
      dark += img.pixelColor(x, y).lightness() < 100;
  EXPECT_GT(dark, 20);
  EXPECT_TRUE(hasFinerDetailThanAPixel(img, label));
}

TEST_F(QtTest, LinesAreFourDevicePixelsWideAndDrawnAtDeviceResolution) {
  BoardDriver b(1);
  b.window().Show();
  b.drag(1, 2);  // (32, 127) to (298, 127)
  b.drag(2, 3);
  QImage img = grab(b.window());
  QColor grey(128, 128, 128);
  int across = 0;
  for (int y = 240; y < 270; ++y) across += img.pixelColor(150 * kRatio, y) == grey;
  EXPECT_EQ(across, 4);
  // The second segment runs at a slant: its edges step by single device pixels.
  testing_support::Point from = b.centre(2), to = b.centre(3);
  int midX = int((from.x + to.x) / 2 / 15), midY = int((from.y + to.y) / 2 / 15);
  QRect slant = deviceRect(midX - 6, midY - 6, 12, 12);
  EXPECT_GT(count(img, slant, grey), 40);
  EXPECT_TRUE(hasFinerDetailThanAPixel(img, slant));
}

TEST_F(QtTest, FinishedPictureIsDrawnFromItsDrawingAtDeviceResolution) {
  BoardDriver b(4);  // a picture the size of the client area
  b.window().Show();
  for (int k = 1; k <= b.segmentTotal(); ++k) b.drag(k, k + 1);
  ASSERT_EQ(b.window().Picture(), &pictures::finishedPicture(4));
  QImage img = grab(b.window());
  ASSERT_EQ(img.size(), QSize(451, 400) * kRatio);

  // The drawing the picture was made from, rendered at device resolution, and the stored GIF
  // enlarged: the window shows the first where the two differ.
  QSvgRenderer svg(QStringLiteral(PICTURE_SOURCES "/bild4.svg"));
  ASSERT_TRUE(svg.isValid());
  QImage sharp(img.size(), QImage::Format_RGB32);
  sharp.fill(Qt::white);
  QPainter painter(&sharp);
  svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(img.size())));
  painter.end();
  QImage enlarged = ui::qt::imageOf(&pictures::finishedPicture(4)).scaled(img.size());

  int differing = 0, likeSharp = 0, likeEnlarged = 0;
  for (int y = 0; y < img.height(); y += 3)
    for (int x = 0; x < img.width(); x += 3) {
      QColor s = sharp.pixelColor(x, y), e = enlarged.pixelColor(x, y);
      if (near(s, e, 12)) continue;
      ++differing;
      likeSharp += near(img.pixelColor(x, y), s);
      likeEnlarged += near(img.pixelColor(x, y), e);
    }
  ASSERT_GT(differing, 500);
  EXPECT_GT(likeSharp, differing * 8 / 10);
  EXPECT_LT(likeEnlarged, differing / 10);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_SCALE_FACTOR", QByteArray::number(kRatio));
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
