#include "ui/elements.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "ui/form.h"
#include "ui/runtime.h"

namespace ui {

namespace {

// Pixel coordinates far beyond any screen are clamped, so that far-off twips never overflow
// the conversion to int.
constexpr float kFarPixels = 1.0e6f;

int floorPixel(float twips) {
  return static_cast<int>(std::clamp(std::floor(twips / kTwipsPerPixel), -kFarPixels, kFarPixels));
}
int ceilPixel(float twips) {
  return static_cast<int>(std::clamp(std::ceil(twips / kTwipsPerPixel), -kFarPixels, kFarPixels));
}

}  // namespace

PixelRect PixelRect::united(const PixelRect& o) const {
  if (empty()) return o;
  if (o.empty()) return *this;
  return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
          std::max(bottom, o.bottom)};
}

PixelRect PixelRect::intersected(const PixelRect& o) const {
  PixelRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
              std::min(bottom, o.bottom)};
  return r.empty() ? PixelRect{} : r;
}

Element::Element(Form& form, const ElementDesign& d)
    : form_(&form), design_(d), name_(d.name), index_(d.index), visible_(d.visible) {}

void Element::Visible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  form_->invalidate(paintBounds());
}

void Element::ZOrder(Integer position) {
  form_->reorder(*this, position == 0);
}

void Element::changed(const PixelRect& before) {
  if (visible_) form_->repaintChange(*this, before);
}

BoxElement::BoxElement(Form& form, const ElementDesign& d)
    : Element(form, d), left_(d.left), top_(d.top), width_(d.width), height_(d.height) {}

void BoxElement::Width(Single v) {
  PixelRect before = paintBounds();
  width_ = v.value();
  changed(before);
}

void BoxElement::Height(Single v) {
  PixelRect before = paintBounds();
  height_ = v.value();
  changed(before);
}

PixelRect BoxElement::paintBounds() const {
  return {floorPixel(left_) - 1, floorPixel(top_) - 1, ceilPixel(left_ + width_) + 1,
          ceilPixel(top_ + height_) + 1};
}

Line::Line(Form& form, const ElementDesign& d)
    : Element(form, d), x1_(d.x1), y1_(d.y1), x2_(d.x2), y2_(d.y2), drawMode_(d.drawMode) {}

void Line::set(float& field, Single v) {
  PixelRect before = paintBounds();
  field = v.value();
  changed(before);
}

void Line::DrawMode(Integer mode) {
  PixelRect before = paintBounds();
  drawMode_ = mode;
  changed(before);
}

PixelRect Line::paintBounds() const {
  // The pen reaches half its width beyond the end points; a pixel more covers rounding.
  int reach = BorderWidth() / 2 + 2;
  return {floorPixel(std::min(x1_, x2_)) - reach, floorPixel(std::min(y1_, y2_)) - reach,
          ceilPixel(std::max(x1_, x2_)) + reach, ceilPixel(std::max(y1_, y2_)) + reach};
}

bool Menu::isSeparator() const {
  return std::string_view(design_.caption) == "-";
}

void Menu::Visible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (form_->host()) form_->host()->menuChanged(*this);
}

void Menu::click() const {
  form_->click(*this);
}

}  // namespace ui
