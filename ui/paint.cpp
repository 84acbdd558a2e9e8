#include "ui/paint.h"

#include <algorithm>
#include <memory>

namespace ui {

namespace {

struct Fonts {
  FontStandIns standIns;
  std::vector<std::unique_ptr<FontChoice>> made;
};
Fonts& fonts() {
  static Fonts f;
  return f;
}

TwipRect boxOf(const BoxElement& e) {
  return {e.Left().value(), e.Top().value(), e.Width().value(), e.Height().value()};
}

void paintShape(const Shape& s, Painter& p) {
  // The largest circle in the box, centred in it.
  TwipRect box = boxOf(s);
  float d = std::min(box.width, box.height);
  if (d <= 0) return;
  p.fillCircle({box.left + (box.width - d) / 2, box.top + (box.height - d) / 2, d, d}, Rgb{0, 0, 0},
               resolve(s.BorderColor(), p));
}

void paintLine(const Line& l, Painter& p) {
  if (l.drawsNothing()) return;
  p.drawLine(l.X1().value(), l.Y1().value(), l.X2().value(), l.Y2().value(), l.BorderWidth(),
             resolve(l.BorderColor(), p), l.DrawMode() == kDrawInvert);
}

}  // namespace

void setFontStandIns(FontStandIns standIns) {
  fonts().standIns = std::move(standIns);
  fonts().made.clear();
}

const FontChoice& fontFor(const FontDesign& d) {
  auto& made = fonts().made;
  for (const auto& f : made)
    if (f->families.front() == d.name && f->points == d.points && f->weight == d.weight) return *f;
  auto f = std::make_unique<FontChoice>();
  f->families.push_back(d.name);
  for (const auto& [name, standIns] : fonts().standIns)
    if (name == d.name) f->families.insert(f->families.end(), standIns.begin(), standIns.end());
  f->points = d.points;
  f->weight = d.weight;
  f->id = int(made.size());
  made.push_back(std::move(f));
  return *made.back();
}

Rgb resolve(Color c, const Painter& p) {
  if (c.system != Color::System::None) return p.systemColor(c.system);
  return {c.r, c.g, c.b};
}

void paintForm(const Form& form, const PixelRect& area, Painter& p) {
  p.fillRect(area, p.systemColor(Color::System::ButtonFace));
  if (form.Picture()) p.drawPicture(form.Picture(), 0, 0);
  for (const auto& e : form.drawingOrder()) {
    if (!e->Visible() || e->paintBounds().intersected(area).empty()) continue;
    switch (e->kind()) {
      case Kind::Shape:
        paintShape(static_cast<const Shape&>(*e), p);
        break;
      case Kind::Line:
        paintLine(static_cast<const Line&>(*e), p);
        break;
      case Kind::Label: {
        const auto& l = static_cast<const Label&>(*e);
        p.drawText(boxOf(l), l.Caption(), fontFor(l.font()), resolve(l.ForeColor(), p));
        break;
      }
      case Kind::Image: {
        const auto& img = static_cast<const Image&>(*e);
        if (img.Picture()) p.drawPicture(img.Picture(), img.Left().value(), img.Top().value());
        break;
      }
    }
  }
}

std::string withoutAccessKey(const char* caption) {
  std::string read;
  for (const char* c = caption; *c; ++c) {
    if (*c == '&' && *++c == '\0') break;
    read += *c;
  }
  return read;
}

}  // namespace ui
