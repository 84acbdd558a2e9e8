// Drives a picture window as the player does, through the runtime's mouse input in twips.
#pragma once

#include "board/windows.h"
#include "support/fake_platform.h"

namespace testing_support {

struct Point {
  float x, y;
};

class BoardDriver {
 public:
  explicit BoardDriver(int n) : w_(static_cast<board::PictureWindow&>(board::frmBild(n)())) {}
  board::PictureWindow& window() const { return w_; }
  board::BoardState state() const { return w_.state(); }
  ui::Shape& dot(int i) const { return element<ui::Shape>(w_, "Shape1", i); }
  ui::Label& label(int i) const { return element<ui::Label>(w_, "Label1", i); }
  ui::Line& segment(int i) const { return element<ui::Line>(w_, "Line1", i); }
  ui::Line& band() const { return element<ui::Line>(w_, "Line2"); }
  int segmentTotal() const { return w_.variation().SegmentTotal; }
  // The centre of a dot as the window holds it now.
  Point centre(int i) const {
    return {(dot(i).Left() + dot(i).Width() / 2).value(),
            (dot(i).Top() + dot(i).Height() / 2).value()};
  }
  void press(Point p, int button = 1, int shift = 0) { w_.mouseDown(button, shift, p.x, p.y); }
  void move(Point p, int buttons = 1) { w_.mouseMove(buttons, 0, p.x, p.y); }
  void release(Point p, int button = 1) { w_.mouseUp(button, 0, p.x, p.y); }
  // A whole drag from the centre of dot `from` to the centre of dot `to`.
  void drag(int from, int to) {
    press(centre(from));
    move({(centre(from).x + centre(to).x) / 2, (centre(from).y + centre(to).y) / 2});
    release(centre(to));
  }
  void startOver() { w_.menu("mnuIgen")->click(); }
  void close() { w_.menu("mnuAvsluta")->click(); }

 private:
  board::PictureWindow& w_;
};

}  // namespace testing_support
