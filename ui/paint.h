// The painting of a window's client area, the same for every backend: the background, the
// window's picture, then the visible elements back to front within the area to repaint. A backend
// supplies only the drawing primitives.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/form.h"

namespace ui {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A box in twips.
struct TwipRect {
  float left = 0, top = 0, width = 0, height = 0;
};

// A label's font as a backend makes it: the families to try in turn (the design's font, then the
// stand-ins the program names for it), the size in points and the weight.
struct FontChoice {
  std::vector<std::string> families;
  float points = 0;
  int weight = 400;
  int id = 0;  // the same choice always has the same number, counted from 0: for a backend's cache
};

// Fonts that may be missing, each with the families that stand in for it, in order.
using FontStandIns = std::vector<std::pair<std::string, std::vector<std::string>>>;
void setFontStandIns(FontStandIns standIns);
const FontChoice& fontFor(const FontDesign& d);

// What a backend draws with. Coordinates are twips of the client area, drawn as the backend's
// device needs them.
class Painter {
 public:
  virtual ~Painter() = default;
  virtual Rgb systemColor(Color::System s) const = 0;
  virtual void fillRect(const PixelRect& r, Rgb c) = 0;
  // The picture unscaled in pixels of the design, its top-left corner at (left, top).
  virtual void drawPicture(Picture p, float left, float top) = 0;
  // A line `width` pixels wide with round ends; `invert` inverts the pixels under it instead.
  virtual void drawLine(float x1, float y1, float x2, float y2, int width, Rgb c, bool invert) = 0;
  // A circle filling the square `box`, with a one-pixel outline inside it.
  virtual void fillCircle(const TwipRect& box, Rgb fill, Rgb outline) = 0;
  // One line of text centred at the top of `box`, on a transparent ground and not clipped: a
  // stand-in font wider than the box reaches out on both sides.
  virtual void drawText(const TwipRect& box, const char* text, const FontChoice& font, Rgb c) = 0;
};

Rgb resolve(Color c, const Painter& p);

// Paints the pixels of `area` (and perhaps more) of the window's client area.
void paintForm(const Form& form, const PixelRect& area, Painter& p);

// A menu caption as it is read out: without the "&" that marks the access key ("&&" is "&").
std::string withoutAccessKey(const char* caption);

}  // namespace ui
