#include "ui/design.h"

namespace ui {

// The logical screen size sits in bytes 6 to 9 of a GIF file, little-endian.
static int gifField(const PictureData& p, std::size_t at) {
  if (p.bytes == nullptr || p.size < 10) return 0;
  return p.bytes[at] | (p.bytes[at + 1] << 8);
}

int PictureData::width() const {
  return gifField(*this, 6);
}
int PictureData::height() const {
  return gifField(*this, 8);
}

}  // namespace ui
