// Writes the program icon, app::programIcon(), as the icon file the program's resources embed
// (app/fnork.ico): one 32 x 32 image in 256 colours with a transparency mask.
//   write_icon PATH
// The Windows program's tests check that the file and the program file's icon show the same
// pixels.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/icon.h"

namespace {

void put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, unsigned v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_icon PATH\n");
    return 2;
  }
  constexpr int n = ui::IconImage::kSize;
  const ui::IconImage& icon = app::programIcon();

  // The palette: the icon's opaque colours in order of first appearance; transparent pixels use
  // entry 0 and are masked out.
  std::vector<std::uint32_t> palette;
  std::vector<std::uint8_t> index(n * n, 0);
  for (int i = 0; i < n * n; ++i) {
    std::uint32_t p = icon.pixels[i];
    if ((p >> 24) == 0) continue;
    std::uint32_t rgb = p & 0xFFFFFF;
    std::size_t k = 0;
    while (k < palette.size() && palette[k] != rgb) ++k;
    if (k == palette.size()) palette.push_back(rgb);
    if (k > 255) {
      std::fprintf(stderr, "write_icon: more than 256 colours\n");
      return 1;
    }
    index[std::size_t(i)] = std::uint8_t(k);
  }
  palette.resize(256, 0);

  const unsigned maskRow = 4;  // 32 bits, already a multiple of 4 bytes
  const unsigned imageSize = 40 + 256 * 4 + n * n + maskRow * n;
  std::vector<std::uint8_t> out;
  // The icon directory with its one entry.
  put16(out, 0);
  put16(out, 1);
  put16(out, 1);
  out.push_back(n);
  out.push_back(n);
  out.push_back(0);  // 256 colours
  out.push_back(0);
  put16(out, 1);
  put16(out, 8);
  put32(out, imageSize);
  put32(out, 22);
  // The bitmap header: twice the height, for the colours and the mask.
  put32(out, 40);
  put32(out, n);
  put32(out, 2 * n);
  put16(out, 1);
  put16(out, 8);
  put32(out, 0);
  put32(out, n * n + maskRow * n);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  for (std::uint32_t c : palette) put32(out, c);  // blue, green, red, 0
  // Rows bottom first: the colour indexes, then the mask (1 = transparent).
  for (int y = n - 1; y >= 0; --y)
    for (int x = 0; x < n; ++x) out.push_back(index[std::size_t(y * n + x)]);
  for (int y = n - 1; y >= 0; --y)
    for (int byte = 0; byte < n / 8; ++byte) {
      std::uint8_t bits = 0;
      for (int b = 0; b < 8; ++b)
        if ((icon.pixels[y * n + byte * 8 + b] >> 24) == 0) bits |= std::uint8_t(0x80 >> b);
      out.push_back(bits);
    }

  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "write_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
