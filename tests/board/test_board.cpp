// The board of the picture windows: set-up and the drawing order, the hit test, the drag
// protocol, completion and start over.
#include <gtest/gtest.h>

#include "facts.h"
#include "pictures/designs.h"
#include "support/fake_platform.h"

using namespace testing_support;

namespace {

using Board = RuntimeTest;

TEST_F(Board, SetUpPutsEveryDotInPlayAndEachElementInItsPlaceInTheDrawingOrder) {
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    const facts::Picture& p = facts::picture(n);
    BoardDriver b(n);
    b.window().Show();
    ASSERT_EQ(b.segmentTotal(), p.segments());
    for (int k = 0; k <= b.segmentTotal(); ++k) EXPECT_EQ(b.segment(k).Visible(), k == 0) << k;
    EXPECT_EQ(b.state().bytDot + b.state().bytLine + b.state().blnDrawing, 0);
    // Every dot in play at the centre the player sees, 150 x 150, with its number in place.
    for (int k = 1; k <= p.segments() + 1; ++k) {
      const facts::Dot& d = p.dots[std::size_t(k - 1)];
      const ui::Label& l = b.label(k);
      EXPECT_EQ(
          std::vector<float>({b.centre(k).x, b.centre(k).y, b.dot(k).Width().value(),
                              b.dot(k).Height().value(), l.Left().value(), l.Top().value(),
                              l.Width().value()}),
          std::vector<float>({d.x, d.y, 150, 150, d.labelLeft, d.labelTop, k < 10 ? 120.f : 240}))
          << "dot " << k;
      EXPECT_STREQ(l.Caption(), std::to_string(k).c_str());
    }
    // Back to front: picture, dots with the template, rubber band, labels (in window 4 dots 15 to
    // 26 in front of them), then the segments set-up made.
    const auto& w = b.window();
    EXPECT_EQ(depthOf(w, "imgBild"), 0);
    EXPECT_LT(depthOf(w, "Shape1", 1), depthOf(w, "Line2"));
    EXPECT_LT(depthOf(w, "Line2"), depthOf(w, "Label1", 1));
    EXPECT_EQ(depthOf(w, "Shape1", 15) > depthOf(w, "Label1", 15), n == 4);
    EXPECT_LT(depthOf(w, "Shape1", 14), depthOf(w, "Label1", 1));
    EXPECT_GT(depthOf(w, "Line1", 1), depthOf(w, "Label1", 1));
    EXPECT_GT(depthOf(w, "Line1", 1), depthOf(w, "Shape1", n == 4 ? 26 : 1));
    // Windows 2, 5 and 6 bring each placed segment to the very front; the others keep the order.
    const int before = depthOf(w, "Line1", 1), last = int(w.drawingOrder().size()) - 1;
    b.drag(1, 2);
    b.drag(2, 3);
    const bool front = n == 2 || n == 5 || n == 6;
    EXPECT_EQ(depthOf(w, "Line1", 2), front ? last : before + 1);
    EXPECT_EQ(depthOf(w, "Line1", 1), front ? last - 1 : before);
  }
}

TEST_F(Board, APressIsTakenInTheOpenRectangleCentredOnTheDotsCorner) {
  BoardDriver b(1), two(2);
  b.window().Show();
  auto accepted = [&](Point p) {
    b.press(p);
    bool started = b.state().blnDrawing == ui::True;
    b.release({-1000, -1000});  // a miss that ends the drag
    return started;
  };
  for (Point p : {Point{270, 1905}, Point{540, 1905}, Point{480, 1695}, Point{480, 1965},
                  Point{255.01f, 1905}, Point{554.99f, 1905}})
    EXPECT_TRUE(accepted(p)) << p.x << "," << p.y;
  for (Point p : {Point{255, 1905}, Point{555, 1905}, Point{480, 1680}, Point{480, 1980},
                  Point{4470, 1905}})  // the last: dot 2, not the current dot
    EXPECT_FALSE(accepted(p)) << p.x << "," << p.y;
  // Window 2's dots are stored narrower: set-up widened them, and the hit test reads them anew.
  two.window().Show();
  two.press({60 + 140, 3480 + 75});
  EXPECT_EQ(two.state().blnDrawing, ui::True);
}

TEST_F(Board, StrayEventsMissesAndEveryButton) {
  BoardDriver b(1);
  b.window().Show();
  b.press({480, 1905}, ui::kRightButton, ui::kShiftKey | ui::kCtrlKey);
  b.release({4470, 2220}, ui::kRightButton);  // dot 3: a miss
  EXPECT_EQ(b.state().bytDot, 0);
  // A second button re-anchors on the current dot; the first release ends the drag.
  b.drag(1, 2);
  b.press({4470, 1905}, ui::kLeftButton);
  b.move({3000, 3000});
  b.press({4475, 1950}, ui::kRightButton);  // still in dot 2's area: re-anchored
  EXPECT_FLOAT_EQ(b.band().X2().value(), 4475);
  b.press({100, 100}, ui::kMiddleButton);      // a miss: the drag goes on
  b.release({4470, 2220}, ui::kMiddleButton);  // on dot 3
  EXPECT_EQ(b.state().bytDot, 2);
  b.release({4275, 3510}, ui::kLeftButton);  // the next dot, but no drag any more
  EXPECT_EQ(b.state().bytDot, 2);
  EXPECT_FLOAT_EQ(b.band().X1().value(), 4470);
  EXPECT_FLOAT_EQ(b.band().Y1().value(), 2220);
}

TEST_F(Board, TheLastSegmentShowsThePictureAndBeepsOnceAndStartOverHidesEverySegment) {
  BoardDriver b(4);
  b.window().Show();
  for (int k = 1; k <= b.segmentTotal(); ++k) b.drag(k, k + 1);
  EXPECT_EQ(b.window().Picture(), &pictures::finishedPicture(4));
  EXPECT_EQ(platform.beeps, 1);
  b.drag(1, 2);  // a second pass over the finished picture
  EXPECT_EQ(platform.beeps, 1);
  b.startOver();
  for (int k = 1; k <= b.segmentTotal(); ++k) EXPECT_FALSE(b.segment(k).Visible()) << k;
}

TEST_F(Board, StartOverLeavesTheRubberBandAndADragGoingAsTheyWere) {
  BoardDriver b(1);
  b.window().Show();
  for (int k = 1; k <= 4; ++k) b.drag(k, k + 1);
  b.startOver();
  EXPECT_FLOAT_EQ(b.band().X1().value(), 3990);
  b.press(b.centre(1));
  b.startOver();
  EXPECT_EQ(b.state().blnDrawing, ui::True);
}

}  // namespace
