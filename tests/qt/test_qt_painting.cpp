// What the Qt windows paint: dots, segments, the rubber band, labels, the title and the finished
// picture, checked pixel by pixel.
#include <QPainter>
#include <QSvgRenderer>

#include "app/start_window.h"
#include "board/board_driver.h"
#include "qt/qt_fixture.h"

namespace {

using testing_support::BoardDriver;

QColor inverse(QColor c) {
  return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
}

TEST_F(QtTest, DotsAreBlackCirclesOnThePlainBackground) {
  BoardDriver b(1);
  b.window().Show();
  QImage img = grab(b.window());
  ASSERT_EQ(img.size(), QSize(317, 360));
  // Dot 1: box (27, 122) to (37, 132).
  EXPECT_EQ(img.pixelColor(32, 127), QColor(0, 0, 0));
  EXPECT_EQ(img.pixelColor(29, 127), QColor(0, 0, 0));
  EXPECT_TRUE(near(img.pixelColor(27, 122), background()));  // outside the circle, in its box
  EXPECT_TRUE(near(img.pixelColor(38, 127), background()));
  // No line is in view before the first press.
  for (int x = 0; x < 317; ++x) EXPECT_TRUE(near(img.pixelColor(x, 0), background())) << x;
}

TEST_F(QtTest, PlacedSegmentIsGreyAndTwoPixelsWideBetweenTheCentres) {
  BoardDriver b(1);
  b.window().Show();
  b.drag(1, 2);  // (32, 127) to (298, 127)
  QImage img = grab(b.window());
  int grey = 0;
  for (int y = 122; y <= 132; ++y) grey += img.pixelColor(150, y) == QColor(128, 128, 128);
  EXPECT_EQ(grey, 2);
  EXPECT_EQ(img.pixelColor(150, 127), QColor(128, 128, 128));
  // It runs from dot to dot, over the dots.
  EXPECT_EQ(img.pixelColor(40, 127), QColor(128, 128, 128));
  EXPECT_EQ(img.pixelColor(290, 127), QColor(128, 128, 128));
  EXPECT_TRUE(near(img.pixelColor(20, 127), background()));
  EXPECT_TRUE(near(img.pixelColor(306, 127), background()));
}

TEST_F(QtTest, RubberBandInvertsInWindowOneAndIsGreyInWindowTwo) {
  BoardDriver one(1), two(2);
  one.window().Show();
  one.press(one.centre(1));
  one.move({480, 1905 + 1500});  // straight down from dot 1 to (32, 227)
  QImage img = grab(one.window());
  EXPECT_EQ(img.pixelColor(32, 180), inverse(background()));
  EXPECT_EQ(img.pixelColor(32, 127), QColor(255, 255, 255));  // over the black dot
  EXPECT_TRUE(near(img.pixelColor(40, 180), background()));

  two.window().Show();
  two.press(two.centre(1));
  two.move({135, 3555 - 1500});  // straight up from (9, 237) to (9, 137)
  img = grab(two.window());
  EXPECT_EQ(img.pixelColor(9, 180), QColor(128, 128, 128));
  // Released on nothing: the rubber band leaves the view.
  two.release({3000, 100});
  img = grab(two.window());
  EXPECT_TRUE(near(img.pixelColor(9, 180), background()));
}

TEST_F(QtTest, LabelsDrawTheirNumberOnATransparentGround) {
  BoardDriver b(1);
  b.window().Show();
  QImage img = grab(b.window());
  // Label 1: (19, 110) 8 x 14 pixels. Some pixels are dark (the digit), the rest background.
  int dark = 0, ground = 0;
  for (int y = 110; y < 124; ++y)
    for (int x = 19; x < 27; ++x) {
      QColor c = img.pixelColor(x, y);
      dark += c.lightness() < 100;
      ground += near(c, background());
    }
  EXPECT_GT(dark, 5);
  EXPECT_GT(ground, 50);
}

TEST_F(QtTest, TitleLinesAreCentredOnTheStartWindow) {
  ui::Form& start = app::frmMain();
  start.Show();
  QImage img = grab(start);
  // Each line's ink lies in the upper part of its label's box, centred on x = 155 pixels.
  const int tops[] = {22, 98, 167};
  for (int line = 0; line < 3; ++line) {
    int minX = 1000, maxX = -1, count = 0;
    for (int y = tops[line]; y < tops[line] + 70; ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixelColor(x, y).lightness() < 100) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
          ++count;
        }
    ASSERT_GT(count, 200) << line;
    EXPECT_NEAR((minX + maxX) / 2.0, 155, 4) << line;
    EXPECT_GT(maxX - minX, 60) << line;
  }
}

TEST_F(QtTest, FinishedPictureLiesUnderDotsAndSegmentsCutOffAtTheClientArea) {
  for (int n = 1; n <= 6; ++n) {
    BoardDriver b(n);
    b.window().Show();
    for (int k = 1; k <= b.segmentTotal(); ++k) b.drag(k, k + 1);
    QImage img = grab(b.window());
    const QImage& picture = ui::qt::imageOf(&pictures::finishedPicture(n));
    ASSERT_FALSE(picture.isNull());
    // The client area keeps its size: what lies beyond it of the picture is not shown.
    const QSize client(int(b.window().design().clientWidth) / 15,
                       int(b.window().design().clientHeight) / 15);
    ASSERT_EQ(img.size(), client) << n;
    // Wherever no visible element paints, the client area shows the picture's own pixels.
    QImage covered(client, QImage::Format_Grayscale8);
    covered.fill(0);
    QPainter mask(&covered);
    for (const auto& e : b.window().drawingOrder()) {
      if (!e->Visible()) continue;
      ui::PixelRect r = e->paintBounds();
      mask.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), Qt::white);
    }
    mask.end();
    int compared = 0, differ = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        if (covered.pixelColor(x, y) != Qt::black) continue;
        ++compared;
        differ += img.pixel(x, y) != picture.pixel(x, y);
      }
    EXPECT_GT(compared, client.width() * client.height() / 4) << n;
    EXPECT_EQ(differ, 0) << n;
    // The first segment starts on dot 1, over the dot and the picture.
    EXPECT_EQ(img.pixelColor(int(b.centre(1).x / 15), int(b.centre(1).y / 15)),
              QColor(128, 128, 128));
  }
}

// The picture's SVG drawing as the backend renders it above a device pixel ratio of 1, here at
// the GIF's own size.
QImage renderVector(const ui::PictureData& p) {
  QSvgRenderer svg(
      QByteArray::fromRawData(reinterpret_cast<const char*>(p.vector), qsizetype(p.vectorSize)));
  QImage img(p.width(), p.height(), QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  svg.render(&painter, QRectF(0, 0, p.width(), p.height()));
  return img;
}

TEST_F(QtTest, SharpPicturesDrawnFromTheirSourcesShowWhatTheGifsShow) {
  // Screens scaled above 100 % get the picture from its SVG drawing: Qt's renderer must draw it
  // as the GIF was made, apart from the soft edges of shapes.
  for (int n = 1; n <= 6; ++n) {
    const ui::PictureData& p = pictures::finishedPicture(n);
    ASSERT_NE(p.vector, nullptr) << n;
    QImage vector = renderVector(p);
    const QImage& gif = ui::qt::imageOf(&p);
    ASSERT_EQ(vector.size(), gif.size()) << n;
    int differ = 0;
    for (int y = 0; y < gif.height(); ++y)
      for (int x = 0; x < gif.width(); ++x)
        differ += !near(vector.pixelColor(x, y), gif.pixelColor(x, y), 64);
    EXPECT_LT(differ, gif.width() * gif.height() / 1000) << "picture " << n << ": " << differ;
  }
}

}  // namespace
