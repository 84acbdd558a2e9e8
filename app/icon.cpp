#include "app/icon.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {

constexpr std::uint32_t kClear = 0x00000000;
constexpr std::uint32_t kTile = 0xFFF7F3F7;  // red 247, green 243, blue 247
constexpr std::uint32_t kBlack = 0xFF000000;

constexpr double kTileMin = 1.5, kTileMax = 30.5, kCorner = 5.0;
constexpr double kDiscRadius = 4.6;  // about nine pixels across
constexpr double kBarHalfWidth = 2.3;
const double kUpperRightX = 24.5, kUpperRightY = 7.5;
const double kLowerLeftX = 7.5, kLowerLeftY = 24.5;

bool onTile(double x, double y) {
  if (x < kTileMin || x > kTileMax || y < kTileMin || y > kTileMax) return false;
  double cx = std::clamp(x, kTileMin + kCorner, kTileMax - kCorner);
  double cy = std::clamp(y, kTileMin + kCorner, kTileMax - kCorner);
  return std::hypot(x - cx, y - cy) <= kCorner;
}

std::uint32_t pixelAt(double x, double y) {
  double toUpper = std::hypot(x - kUpperRightX, y - kUpperRightY);
  double toLower = std::hypot(x - kLowerLeftX, y - kLowerLeftY);
  if (toUpper <= kDiscRadius || toLower <= kDiscRadius) return kBlack;
  // The bar runs along the diagonal between the discs, one pixel clear of each.
  double acrossBar = std::fabs((x - kLowerLeftX) + (y - kLowerLeftY)) / std::sqrt(2.0);
  bool clearOfDiscs = toUpper > kDiscRadius + 1.5 && toLower > kDiscRadius + 1.5;
  bool betweenDiscs = x > kLowerLeftX && x < kUpperRightX;
  if (acrossBar <= kBarHalfWidth && clearOfDiscs && betweenDiscs) return kBlack;
  return onTile(x, y) ? kTile : kClear;
}

}  // namespace

const ui::IconImage& programIcon() {
  static const ui::IconImage icon = [] {
    ui::IconImage img{};
    for (int y = 0; y < ui::IconImage::kSize; ++y)
      for (int x = 0; x < ui::IconImage::kSize; ++x)
        img.pixels[y * ui::IconImage::kSize + x] = pixelAt(x + 0.5, y + 0.5);
    return img;
  }();
  return icon;
}

}  // namespace app
