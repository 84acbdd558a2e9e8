// The program icon as installed for the desktop, rendered from packaging/icon.svg, against the
// icon the program carries in its windows.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>

#include "app/icon.h"

namespace {

QImage rendered(int size) {
  return QImage(QString(RENDERED_ICONS "/%1.png").arg(size)).convertToFormat(QImage::Format_ARGB32);
}

const QColor kTile(247, 243, 247);

// How far apart two colours with transparency look: the largest difference of the channels,
// with the colour of (nearly) transparent pixels left out.
int distance(QColor a, QColor b) {
  int d = std::abs(a.alpha() - b.alpha());
  if (a.alpha() < 32 || b.alpha() < 32) return d;
  return std::max({d, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                   std::abs(a.blue() - b.blue())});
}

// What a pixel shows: the clear ground, the tile, the black marks, or a blend of them (-1).
int shows(QColor c) {
  if (c.alpha() <= 24) return 0;
  if (distance(c, kTile) <= 24) return 1;
  if (distance(c, Qt::black) <= 24) return 2;
  return -1;
}

TEST(ProgramIcon, RenderingAt32PixelsMatchesTheIconOfTheWindows) {
  QImage img = rendered(32);
  ASSERT_EQ(img.size(), QSize(32, 32));
  const ui::IconImage& icon = app::programIcon();
  // The windows' icon takes each pixel whole, the rendering blends the pixels that edges run
  // through. Every pixel the rendering shows whole is the windows' pixel.
  int whole = 0, differing = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int here = shows(img.pixelColor(x, y));
      if (here < 0) continue;
      ++whole;
      differing += here != shows(QColor::fromRgba(icon.pixels[y * 32 + x]));
    }
  EXPECT_GE(whole, 32 * 32 * 8 / 10);
  EXPECT_EQ(differing, 0);
}

TEST(ProgramIcon, EverySizeShowsTheSameIcon) {
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    QImage img = rendered(size);
    ASSERT_EQ(img.size(), QSize(size, size)) << size;
    // A point of the 32-pixel icon, at this size.
    auto at = [&](double x, double y) {
      return img.pixelColor(int(x * size / 32), int(y * size / 32));
    };
    EXPECT_EQ(at(0.2, 0.2).alpha(), 0) << size;        // transparent corner
    EXPECT_LE(distance(at(6, 10), kTile), 2) << size;  // the tile
    EXPECT_LE(distance(at(26, 20), kTile), 2) << size;
    for (auto [x, y] : {std::pair{24.5, 7.5}, {7.5, 24.5}, {16.0, 16.0}})  // discs and bar
      EXPECT_LE(distance(at(x, y), QColor(Qt::black)), 24) << size << " at " << x << "," << y;
  }
}

}  // namespace
