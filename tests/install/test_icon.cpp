// The program icon as installed for the desktop, rendered from packaging/icon.svg, and as the
// Windows program's icon file holds it, against the icon the program carries in its windows.
#include <gtest/gtest.h>

#include <QImage>

#include "app/icon.h"

namespace {

// What a pixel shows: the clear ground (0), the near-white tile (1), the black marks (2), or a
// blend of them at an edge (-1).
int shows(QColor c) {
  auto near = [&](QColor o) {
    return std::max({std::abs(c.red() - o.red()), std::abs(c.green() - o.green()),
                     std::abs(c.blue() - o.blue())}) <= 24;
  };
  return c.alpha() <= 24               ? 0
         : c.alpha() < 232             ? -1
         : near(QColor(247, 243, 247)) ? 1
         : near(Qt::black)             ? 2
                                       : -1;
}

TEST(ProgramIcon, EveryRenderingAndTheIconFileShowTheIconOfTheWindows) {
  const ui::IconImage& icon = app::programIcon();
  for (int size : {16, 24, 32, 48, 64, 128, 256, 0}) {  // 0: the icon file
    QString file = size ? QString(RENDERED_ICONS "/%1.png").arg(size) : QString(ICON_FILE);
    QImage img = QImage(file).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(img.size(), size ? QSize(size, size) : QSize(32, 32)) << file.toStdString();
    img = img.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Every pixel shown whole (not blended at an edge) is the windows' pixel.
    int whole = 0, differing = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        int here = shows(img.pixelColor(x, y));
        whole += here >= 0;
        differing += here >= 0 && here != shows(QColor::fromRgba(icon.pixels[y * 32 + x]));
      }
    EXPECT_GE(whole, 32 * 32 * 4 / 10) << file.toStdString();
    EXPECT_LE(differing, 32 * 32 / 50) << file.toStdString();
  }
}

}  // namespace
