// Window designs as data: what a window and its elements look like when the window has just been
// loaded. Lengths are in twips, 15 to a pixel at the design resolution.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ui {

inline constexpr int kTwipsPerPixel = 15;

// A colour: either a fixed one or one of the system's colours, which the backend resolves.
struct Color {
  enum class System : std::uint8_t { None, ButtonFace, ButtonText, WindowText };
  std::uint8_t r = 0, g = 0, b = 0;
  System system = System::None;

  static constexpr Color rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Color{r, g, b, System::None};
  }
  static constexpr Color of(System s) { return Color{0, 0, 0, s}; }
  friend constexpr bool operator==(const Color&, const Color&) = default;
};

struct FontDesign {
  const char* name = "";
  float points = 0;
  int weight = 400;
};

// A picture held in the program: GIF data embedded at build time, and optionally the SVG drawing
// it was made from (one unit to a pixel), for screens with more than one device pixel to a pixel.
struct PictureData {
  const unsigned char* bytes = nullptr;
  std::size_t size = 0;
  const unsigned char* vector = nullptr;  // SVG bytes, or nullptr
  std::size_t vectorSize = 0;
  int width() const;   // logical screen width in pixels, from the GIF header
  int height() const;  // logical screen height in pixels
};
// A picture object: a picture held in the program, or none (nullptr).
using Picture = const PictureData*;

// A 32 x 32 icon as rows of 0xAARRGGBB pixels, top row first.
struct IconImage {
  static constexpr int kSize = 32;
  std::uint32_t pixels[kSize * kSize];
};

enum class Kind : std::uint8_t { Shape, Line, Label, Image };

// Draw modes of lines: 13 draws the line in its own colour, 6 inverts what lies under it.
enum DrawMode : int { kDrawInvert = 6, kDrawCopyPen = 13 };

inline constexpr std::int16_t kNoIndex = -1;

// One element of a window design. Which fields count depends on the kind.
struct ElementDesign {
  Kind kind = Kind::Shape;
  const char* name = "";
  std::int16_t index = kNoIndex;  // index in its element array, or kNoIndex for a single element
  bool visible = true;
  // Shapes, labels and images: the box.
  float left = 0, top = 0, width = 0, height = 0;
  // Lines: end points, width in pixels, draw mode and colour.
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int borderWidth = 1;
  int drawMode = kDrawCopyPen;
  Color color = Color::rgb(0, 0, 0);
  // Labels: text (centred), font and text colour (color above).
  const char* caption = "";
  FontDesign font{};
  // Images: the picture.
  Picture picture = nullptr;
};

// One entry of the menu bar or of a drop-down: level 0 is the menu bar, level 1 a drop-down below
// the nearest level-0 entry before it. A caption "-" is a separator; "&" marks the access key.
struct MenuDesign {
  int level = 0;
  const char* name = "";
  std::int16_t index = kNoIndex;
  const char* caption = "";
};

struct FormDesign {
  const char* caption = "";
  float clientWidth = 0, clientHeight = 0;  // twips
  std::vector<ElementDesign> elements;      // in drawing order, back to front
  std::vector<MenuDesign> menus;            // top to bottom
};

}  // namespace ui
