// The toolkit-free tests' backend without windows, which notes what the runtime asks of it, and
// their driver of a picture window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "board/windows.h"
#include "ui/form.h"
#include "ui/runtime.h"

namespace testing_support {

struct FakePlatform final : ui::Platform {
  // The window of a form: notes what to repaint.
  struct Host final : ui::Host {
    void show() override {}
    void invalidate(const ui::PixelRect& r) override { invalidated = invalidated.united(r); }
    void menuChanged(const ui::Menu&) override {}
    ui::PixelRect invalidated;
  };
  std::unique_ptr<ui::Host> createHost(ui::Form&) override { return std::make_unique<Host>(); }
  void beep() override { ++beeps; }
  void quit(int status) override { quits.push_back(status); }
  int beeps = 0;
  std::vector<int> quits;
};

// Each test starts with no window instances and this fake backend.
class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::runtime().reset(), ui::runtime().setPlatform(&platform); }
  void TearDown() override { ui::runtime().reset(), ui::runtime().setPlatform(nullptr); }
  static FakePlatform::Host& hostOf(const ui::Form& f) {
    return static_cast<FakePlatform::Host&>(*f.host());
  }
  FakePlatform platform;
};

// Where an element lies in the drawing order, 0 at the back; -1 if there is none.
inline int depthOf(const ui::Form& f, const std::string& name, int index = ui::kNoIndex) {
  const auto& order = f.drawingOrder();
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i]->name() == name && order[i]->Index() == index) return int(i);
  return -1;
}

// An element of a loaded window, by name and index.
template <class T>
T& element(const ui::Form& f, const std::string& name, int index = ui::kNoIndex) {
  int at = depthOf(f, name, index);
  if (at < 0) throw std::runtime_error("no element " + name + "(" + std::to_string(index) + ")");
  return static_cast<T&>(*f.drawingOrder()[std::size_t(at)]);
}

// Drives a picture window as the player does, through the runtime's mouse input in twips.
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
