// The window runtime without a toolkit: instances, loading, element arrays, drawing order,
// mouse routing, run-time errors and the end of the program.
#include <gtest/gtest.h>

#include <cfloat>

#include "app/start_window.h"
#include "board/windows.h"
#include "support/fake_platform.h"
#include "ui/values.h"

using namespace testing_support;
using ui::Integer;
using ui::Single;

namespace {

ui::FormDesign testDesign() {
  ui::FormDesign f;
  f.caption = "Test";
  f.clientWidth = 3000;
  f.clientHeight = 3000;
  ui::ElementDesign dot;
  dot.kind = ui::Kind::Shape;
  dot.name = "Shape1";
  dot.index = 0;
  dot.width = dot.height = 150;
  ui::ElementDesign line;
  line.kind = ui::Kind::Line;
  line.name = "Line1";
  line.index = 0;
  line.x1 = 150;
  line.x2 = 300;
  line.y1 = line.y2 = 150;
  line.borderWidth = 2;
  ui::ElementDesign label;
  label.kind = ui::Kind::Label;
  label.name = "Label1";
  label.left = 1500;
  label.top = 1500;
  label.width = 240;
  label.height = 210;
  f.elements = {dot, line, label};
  f.menus = {{0, "mnuMeny", ui::kNoIndex, "&Meny"},
             {1, "mnuGo", ui::kNoIndex, "&Go"},
             {1, "mnuSep", ui::kNoIndex, "-"},
             {1, "mnuClose", ui::kNoIndex, "&Close"}};
  return f;
}

struct Event {
  std::string what;
  int button, shift;
  float x, y;
};

// A window that records its events and keeps a field across unloads.
class TestForm : public ui::Form {
 public:
  TestForm() : ui::Form(design()) {
    onClick("mnuGo", [this](Integer) { events.push_back({"go", 0, 0, 0, 0}); });
    onClick("mnuClose", [this](Integer) { ui::Unload(*this); });
  }
  static const ui::FormDesign& design() {
    static const ui::FormDesign d = testDesign();
    return d;
  }
  std::vector<Event> events;
  int loads = 0;
  ui::Byte counter = 0;
  ui::ControlArray<ui::Shape> Shape1{*this, "Shape1"};
  ui::ControlArray<ui::Line> Line1{*this, "Line1"};
  bool failOnPress = false;

 protected:
  void Form_Load() override { ++loads; }
  void Form_MouseDown(Integer b, Integer s, Single x, Single y) override {
    events.push_back({"down", b, s, x.value(), y.value()});
    if (failOnPress) counter = counter - 1;  // below 0: the overflow error
  }
  void Form_MouseMove(Integer b, Integer s, Single x, Single y) override {
    events.push_back({"move", b, s, x.value(), y.value()});
  }
  void Form_MouseUp(Integer b, Integer s, Single x, Single y) override {
    events.push_back({"up", b, s, x.value(), y.value()});
  }
};

const ui::WindowClass frmTest("frmTest", [] { return std::unique_ptr<ui::Form>(new TestForm); });
TestForm& test() {
  return static_cast<TestForm&>(frmTest());
}

// The number of the run-time error `fn` raises, 0 for none.
template <class F>
int number(F fn) {
  try {
    fn();
  } catch (const ui::RuntimeError& e) {
    return int(e.number());
  }
  return 0;
}

std::string kinds(const std::vector<Event>& ev) {
  std::string s;
  for (const auto& e : ev) s += e.what + " ";
  return s;
}

using RuntimeLifetime = RuntimeTest;
using RuntimeArrays = RuntimeTest;
using RuntimeMouse = RuntimeTest;
using RuntimeErrors = RuntimeTest;
using StartWindow = RuntimeTest;

TEST_F(RuntimeLifetime, InstanceIsCreatedOnReferenceAndOutlivesUnload) {
  EXPECT_FALSE(frmTest.exists());
  TestForm& f = test();
  EXPECT_TRUE(frmTest.exists());
  EXPECT_FALSE(f.loaded());
  EXPECT_TRUE(f.drawingOrder().empty());
  EXPECT_EQ(f.loads, 0);

  f.Show();
  EXPECT_TRUE(f.loaded());
  EXPECT_EQ(f.loads, 1);
  EXPECT_EQ(f.drawingOrder().size(), 3u);
  f.counter = 7;
  f.Show();  // already open: only to the front
  EXPECT_EQ(f.loads, 1);
  EXPECT_EQ(platform.events, (std::vector<std::string>{"show Test", "front Test"}));

  ui::Unload(f);
  EXPECT_FALSE(f.loaded());
  EXPECT_TRUE(f.drawingOrder().empty());
  EXPECT_EQ(&test(), &f);  // the same object, with its field
  EXPECT_EQ(f.counter, 7);
  EXPECT_EQ(platform.quits, std::vector<int>{0});  // no window left: the program ends

  ui::Unload(f);  // not loaded: nothing happens
  EXPECT_EQ(platform.quits.size(), 1u);
}

TEST_F(RuntimeArrays, LoadCopiesElementZeroHiddenInFront) {
  TestForm& f = test();
  f.Show();
  f.Line1(0).X1(600);
  f.Line1.Load(5);
  ui::Line& copy = f.Line1(5);
  EXPECT_FALSE(copy.Visible());
  EXPECT_EQ(copy.X1(), Single(600));
  EXPECT_EQ(copy.Y2(), Single(150));
  EXPECT_EQ(copy.BorderWidth(), 2);
  EXPECT_EQ(depthOf(f, "Line1", 5), 3);  // in front of everything
  EXPECT_FALSE(f.Line1.exists(4));

  // Missing elements, doubles and indexes beyond 16 bits are run-time errors.
  EXPECT_EQ(number([&] { f.Line1(4); }), 340);
  EXPECT_EQ(number([&] { f.Line1(-1); }), 340);
  EXPECT_EQ(number([&] { f.Line1.Load(5); }), 360);
  EXPECT_EQ(number([&] { f.Line1.Load(40000); }), 6);
  EXPECT_EQ(number([&] { f.Shape1(1); }), 340);
  ui::Unload(f);
  EXPECT_EQ(number([&] { f.Line1(0); }), 340);  // elements die with the window
  f.Show();
  EXPECT_FALSE(f.Line1.exists(5));  // a new load has only the designed elements
}

TEST_F(RuntimeArrays, ZOrderAndRepaintOfChanges) {
  TestForm& f = test();
  f.Show();
  f.Shape1(0).ZOrder(0);
  EXPECT_EQ(depthOf(f, "Shape1", 0), 2);
  EXPECT_EQ(depthOf(f, "Label1"), 1);
  f.Shape1(0).ZOrder(1);
  EXPECT_EQ(depthOf(f, "Shape1", 0), 0);

  // Moving a line repaints its old and its new place, no more.
  hostOf(f).invalidated = {};
  f.Line1(0).X2(1500);
  EXPECT_EQ(hostOf(f).invalidated, (ui::PixelRect{10 - 3, 10 - 3, 100 + 3, 10 + 3}));
  // A hidden element repaints nothing when it changes.
  f.Line1.Load(1);
  hostOf(f).invalidated = {};
  f.Line1(1).X1(2000);
  EXPECT_TRUE(hostOf(f).invalidated.empty());
}

TEST_F(RuntimeMouse, LabelsSwallowTheirPressWithItsMovesAndRelease) {
  TestForm& f = test();
  f.Show();
  f.mouseDown(1, 0, 1600, 1600);  // on the label
  f.mouseMove(1, 0, 100, 100);    // dragged away from it
  f.mouseDown(2, 0, 100, 100);    // a second button while the first is held
  f.mouseUp(1, 0, 100, 100);
  f.mouseUp(2, 0, 100, 100);
  EXPECT_EQ(kinds(f.events), "");

  f.mouseMove(0, 0, 1600, 1600);  // over the label without a button: the label's
  f.mouseMove(0, 0, 1499, 1600);  // beside it: the window's
  EXPECT_EQ(kinds(f.events), "move ");
}

TEST_F(RuntimeMouse, WindowKeepsTheMouseUntilEveryButtonIsUp) {
  TestForm& f = test();
  f.Show();
  f.mouseDown(2, ui::kShiftKey, 100, 100);
  f.mouseMove(2, 0, 1600, 1600);   // over the label
  f.mouseMove(2, 0, -500, 99999);  // outside the window
  f.mouseDown(1, 0, 1600, 1600);   // second button over the label: still the window's
  f.mouseUp(2, 0, 1600, 1600);
  f.mouseUp(1, 0, -7.5f, 3.25f);
  f.mouseDown(4, 0, 1600, 1600);  // all buttons were up: this press is the label's
  f.mouseUp(4, 0, 1600, 1600);
  EXPECT_EQ(kinds(f.events), "down move move down up up ");
  EXPECT_EQ(f.events[0].shift, ui::kShiftKey);
  EXPECT_EQ(f.events[0].button, 2);
  EXPECT_FLOAT_EQ(f.events[2].x, -500);
  EXPECT_FLOAT_EQ(f.events[5].x, -7.5f);
  EXPECT_FLOAT_EQ(f.events[5].y, 3.25f);
}

TEST_F(RuntimeMouse, AMoveThatFindsTheButtonUpEndsTheHold) {
  // The release went to a menu or another window: the next move over the label is the label's.
  TestForm& f = test();
  f.Show();
  f.mouseDown(1, 0, 100, 100);
  f.mouseMove(1, 0, 1600, 1600);
  f.mouseMove(0, 0, 1600, 1600);
  f.mouseDown(1, 0, 1600, 1600);
  f.mouseUp(1, 0, 1600, 1600);
  f.mouseDown(1, 0, 100, 100);
  f.mouseCaptureLost();  // the same, told by the backend
  f.mouseUp(1, 0, 1600, 1600);
  EXPECT_EQ(kinds(f.events), "down move down ");
}

TEST_F(RuntimeMouse, MenuCommandsRunTheirHandlersAndMayCloseTheWindow) {
  TestForm& f = test();
  f.Show();
  f.menu("mnuSep")->click();  // a separator does nothing
  f.menu("mnuGo")->click();
  EXPECT_EQ(kinds(f.events), "go ");
  f.menu("mnuClose")->click();
  EXPECT_FALSE(f.loaded());
  EXPECT_EQ(platform.quits, std::vector<int>{0});
}

TEST_F(RuntimeErrors, CheckedValuesRaiseTheirErrors) {
  ui::Byte b = 255;
  EXPECT_EQ(number([&] { b = b + 1; }), 6);
  EXPECT_EQ(b, 255);  // unchanged by the failed store
  EXPECT_EQ(number([&] {
              b = 0;
              b = b - 1;
            }),
            6);
  EXPECT_EQ(number([&] {
              ui::Byte c = 300;
              (void)c;
            }),
            6);
  EXPECT_EQ(number([&] {
              Integer i = 32768;
              (void)i;
            }),
            6);
  EXPECT_EQ(number([&] {
              Integer i = -32768;
              (void)i;
            }),
            0);
  EXPECT_EQ(number([&] { (void)(Single(FLT_MAX) + Single(FLT_MAX)); }), 6);
  EXPECT_EQ(number([&] { (void)(Single(1) / Single(0)); }), 11);
}

TEST_F(RuntimeErrors, UnhandledErrorIsReportedAndEndsTheProgram) {
  TestForm& f = test();
  f.Show();
  f.failOnPress = true;
  testing::internal::CaptureStderr();
  f.mouseDown(1, 0, 10, 10);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("run-time error 6: Overflow"), std::string::npos) << err;
  EXPECT_EQ(platform.quits, std::vector<int>{1});
  EXPECT_EQ(ui::runtime().exitStatus(), 1);
  // Nothing runs after the end.
  f.mouseUp(1, 0, 10, 10);
  EXPECT_EQ(kinds(f.events), "down ");
}

TEST_F(StartWindow, PictureMenuOpensEachWindowOnceAndIgnoresOtherIndexes) {
  auto& start = static_cast<app::StartWindow&>(app::frmMain());
  start.Show();
  start.mnuBild_Click(0);
  start.mnuBild_Click(7);
  start.mnuBild_Click(-1);
  for (int n = 1; n <= 6; ++n) EXPECT_FALSE(board::frmBild(n).exists()) << n;
  start.menu("mnuBild", 3)->click();
  start.menu("mnuBild", 3)->click();
  EXPECT_TRUE(board::frmBild3().loaded());
  EXPECT_EQ(platform.events, (std::vector<std::string>{"show Fnork till fnork av Bromle",
                                                       "show Bild3", "front Bild3"}));
}

TEST_F(StartWindow, AvslutaUnloadsThePicturesInOrderThenItself) {
  auto& start = app::frmMain();
  start.Show();
  for (int n : {5, 2, 6}) start.menu("mnuBild", n)->click();
  platform.events.clear();
  start.menu("mnuAvsluta")->click();
  EXPECT_EQ(platform.events, (std::vector<std::string>{"close Bild2", "close Bild5", "close Bild6",
                                                       "close Fnork till fnork av Bromle"}));
  EXPECT_EQ(platform.quits, std::vector<int>{0});
  // Windows never opened were created but never shown or loaded.
  EXPECT_TRUE(board::frmBild1.exists());
  EXPECT_FALSE(board::frmBild1().loaded());
}

}  // namespace
