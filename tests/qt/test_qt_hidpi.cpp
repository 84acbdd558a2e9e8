// The windows on a screen with two device pixels to a pixel: they keep their size in pixels of the
// design, while dots, numbers, lines and the finished picture are drawn at device resolution.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QSvgRenderer>

#include "board/windows.h"
#include "facts.h"
#include "pictures/designs.h"
#include "ui/qt/qt_backend.h"
#include "window/driver.h"

namespace {

using window_tests::driver;
constexpr int kRatio = 2;

// Whether the area (in design pixels) holds a block of 2 x 2 device pixels that is not of one
// colour: drawn at device resolution rather than at design resolution and enlarged.
bool finerThanAPixel(const QImage& img, QRect area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      QRgb c = img.pixel(x * kRatio, y * kRatio);
      if (img.pixel(x * kRatio + 1, y * kRatio) != c || img.pixel(x * kRatio, y * kRatio + 1) != c)
        return true;
    }
  return false;
}

int count(const QImage& img, QRect area, QColor colour) {
  int n = 0;
  for (int y = area.top() * kRatio; y < (area.bottom() + 1) * kRatio; ++y)
    for (int x = area.left() * kRatio; x < (area.right() + 1) * kRatio; ++x)
      n += img.pixelColor(x, y) == colour;
  return n;
}

class QtHiDpi : public ::testing::Test {
 protected:
  void SetUp() override {
    driver().start();
    driver().choose(facts::kStartCaption, "Bild&1");
  }
  void TearDown() override { driver().stop(); }
  static QImage grab(int n) { return ui::qt::grabClient(board::frmBild(n)()); }
  // Picture n played to dot `last`.
  static void play(int n, int last) {
    const auto& c = facts::picture(n).centres;
    if (n != 1) driver().choose(facts::kStartCaption, "Bild&" + std::to_string(n));
    for (int k = 1; k < last; ++k) {
      const char* w = facts::picture(n).caption;
      driver().press(w, int(c[k - 1].x) / 15, int(c[k - 1].y) / 15);
      driver().release(w, int(c[k].x) / 15, int(c[k].y) / 15);
    }
  }
};

TEST_F(QtHiDpi, DotsNumbersAndLinesAreDrawnAtDeviceResolutionInAWindowOfDesignSize) {
  ASSERT_EQ(qApp->devicePixelRatio(), kRatio);
  EXPECT_EQ(ui::qt::clientOf(board::frmBild1())->size(), QSize(317, 360));
  play(1, 3);  // (32, 127) to (298, 127) to (298, 148)
  QImage img = grab(1);
  ASSERT_EQ(img.size(), QSize(317, 360) * kRatio);
  // Dot 14, box (26, 142) to (36, 152): a round disc 20 device pixels across.
  QRect dot(26, 142, 10, 10);
  EXPECT_NEAR(count(img, dot, Qt::black), 314, 30);  // pi * 10 * 10
  EXPECT_TRUE(finerThanAPixel(img, dot));
  // Number 1, (19, 110) 8 x 14, drawn with the detail of the device.
  EXPECT_TRUE(finerThanAPixel(img, QRect(19, 110, 8, 14)));
  // Lines are four device pixels wide.
  int across = 0;
  for (int y = 240; y < 270; ++y)
    across += img.pixelColor(150 * kRatio, y) == QColor(128, 128, 128);
  EXPECT_EQ(across, 4);
}

TEST_F(QtHiDpi, FinishedPictureIsDrawnFromItsDrawingAtDeviceResolution) {
  play(4, facts::picture(4).segments() + 1);
  QImage img = grab(4);
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
  int differing = 0, likeSharp = 0;
  for (int y = 0; y < img.height(); y += 3)
    for (int x = 0; x < img.width(); x += 3) {
      QRgb s = sharp.pixel(x, y), e = enlarged.pixel(x, y);
      if (qGray(s) / 16 == qGray(e) / 16) continue;
      ++differing;
      likeSharp += std::abs(qGray(img.pixel(x, y)) - qGray(s)) <= 6;
    }
  ASSERT_GT(differing, 500);
  EXPECT_GT(likeSharp, differing * 8 / 10);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_SCALE_FACTOR", QByteArray::number(kRatio));
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
