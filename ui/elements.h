// The lightweight elements drawn on a window (shapes, lines, labels, images) and the menu
// entries. Every setter that changes what is seen asks the window to repaint exactly the area
// that changed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/design.h"
#include "ui/values.h"

namespace ui {

class Form;

// A rectangle of logical pixels, right and bottom exclusive.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
  PixelRect united(const PixelRect& o) const;
  PixelRect intersected(const PixelRect& o) const;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

class Element {
 public:
  virtual ~Element() = default;
  Kind kind() const { return design_.kind; }
  const std::string& name() const { return name_; }
  Integer Index() const { return index_; }
  bool Visible() const { return visible_; }
  void Visible(bool v);
  // Position 0 brings the element to the front of the window's drawing order, 1 sends it to the
  // back.
  void ZOrder(Integer position = 0);
  // The pixels the element may paint, whether visible or not.
  virtual PixelRect paintBounds() const = 0;
  virtual std::unique_ptr<Element> clone() const = 0;

 protected:
  Element(Form& form, const ElementDesign& d);
  Element(const Element&) = default;
  // Called by setters after a change: repaints what the element covered before and covers now.
  void changed(const PixelRect& before);
  const ElementDesign& design() const { return design_; }

 private:
  friend class Form;
  friend class ArrayBase;
  Form* form_;
  ElementDesign design_;  // the look that no handler changes
  std::string name_;
  std::int16_t index_;
  bool visible_;
};

// A box element: shapes, labels and images share their geometry.
class BoxElement : public Element {
 public:
  Single Left() const { return left_; }
  Single Top() const { return top_; }
  Single Width() const { return width_; }
  Single Height() const { return height_; }
  void Width(Single v);
  void Height(Single v);
  PixelRect paintBounds() const override;

 protected:
  BoxElement(Form& form, const ElementDesign& d);

 private:
  float left_, top_, width_, height_;
};

// A shape: drawn as the largest circle in its box, filled black, outlined in the window-text
// colour.
class Shape final : public BoxElement {
 public:
  Shape(Form& form, const ElementDesign& d) : BoxElement(form, d) {}
  Color BorderColor() const { return design().color; }
  std::unique_ptr<Element> clone() const override { return std::make_unique<Shape>(*this); }
};

class Label final : public BoxElement {
 public:
  Label(Form& form, const ElementDesign& d) : BoxElement(form, d) {}
  const char* Caption() const { return design().caption; }
  const FontDesign& font() const { return design().font; }
  Color ForeColor() const { return design().color; }
  std::unique_ptr<Element> clone() const override { return std::make_unique<Label>(*this); }
};

class Image final : public BoxElement {
 public:
  Image(Form& form, const ElementDesign& d) : BoxElement(form, d), picture_(d.picture) {}
  ui::Picture Picture() const { return picture_; }
  std::unique_ptr<Element> clone() const override { return std::make_unique<Image>(*this); }

 private:
  ui::Picture picture_;
};

class Line final : public Element {
 public:
  Line(Form& form, const ElementDesign& d);
  Single X1() const { return x1_; }
  Single Y1() const { return y1_; }
  Single X2() const { return x2_; }
  Single Y2() const { return y2_; }
  void X1(Single v) { set(x1_, v); }
  void Y1(Single v) { set(y1_, v); }
  void X2(Single v) { set(x2_, v); }
  void Y2(Single v) { set(y2_, v); }
  Integer DrawMode() const { return drawMode_; }
  void DrawMode(Integer mode);
  Color BorderColor() const { return design().color; }
  int BorderWidth() const { return design().borderWidth; }
  // A line whose ends coincide (the rubber band collapsed after a release) draws nothing.
  bool drawsNothing() const { return x1_ == x2_ && y1_ == y2_; }
  PixelRect paintBounds() const override;
  std::unique_ptr<Element> clone() const override { return std::make_unique<Line>(*this); }

 private:
  void set(float& field, Single v);
  float x1_, y1_, x2_, y2_;
  int drawMode_;
};

// A menu entry. Entries of level 0 form the menu bar; their children the drop-down.
class Menu {
 public:
  Menu(Form& form, const MenuDesign& d) : form_(&form), design_(d) {}
  const std::string& name() const { return name_; }
  Integer Index() const { return design_.index; }
  const char* Caption() const { return design_.caption; }
  bool isSeparator() const;
  bool Visible() const { return visible_; }
  void Visible(bool v);
  const std::vector<std::unique_ptr<Menu>>& children() const { return children_; }
  // The entry as the player chose it: runs its click handler.
  void click() const;

 private:
  friend class Form;
  Form* form_;
  MenuDesign design_;
  std::string name_ = design_.name;
  bool visible_ = true;
  std::vector<std::unique_ptr<Menu>> children_;
};

}  // namespace ui
