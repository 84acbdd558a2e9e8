// The drawing primitives on GDI, at the window's dots per inch, and the pictures decoded by the
// system's imaging component.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ui/paint.h"

namespace ui::win32 {

// Twips to device pixels and back: 1440 twips to the inch, so 15 to a pixel at 96 dots per inch
// (100 %). Above 100 % everything is drawn at the display's own resolution, at the same size.
struct Scale {
  UINT dpi = 96;
  int pixels(float twips) const { return int(std::lround(double(twips) * dpi / 1440.0)); }
  float twips(int pixels) const { return float(double(pixels) * 1440.0 / dpi); }
  // A width given in pixels at 100 %, never less than one device pixel.
  int width(int logicalPixels) const {
    return std::max(1, int(std::lround(double(logicalPixels) * dpi / 96.0)));
  }
  // The device pixels covering a rectangle of pixels at 100 %.
  RECT device(const PixelRect& r) const;
  // The pixels at 100 % covering a rectangle of device pixels.
  PixelRect logical(const RECT& r) const;
};

// The fonts of one window at its current resolution, made on first use: the first family of the
// choice that the system has, else its first, which the system's font mapper replaces.
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache() { clear(); }
  HFONT get(const FontChoice& c, UINT dpi);
  void clear();

 private:
  std::vector<HFONT> fonts_;  // by FontChoice::id
};

// Paints `area` (device pixels of the client area) of a form into `target` through an off-screen
// bitmap, so that the screen never shows a half-painted state.
void paintBuffered(HDC target, const RECT& area, const Form& form, const Scale& scale,
                   FontCache& fonts);

// The picture decoded by the system's imaging component into a 32-bit bitmap (cached for the
// run); nullptr if it cannot be decoded.
HBITMAP bitmapOf(Picture picture);
// Frees the decoded pictures (at the end of the program).
void releasePictures();

std::wstring widen(const char* utf8);

}  // namespace ui::win32
