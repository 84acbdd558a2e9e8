// A picture window: the board of one connect-the-dots picture.
#pragma once

#include "ui/form.h"

namespace board {

// What differs in the game logic between the six picture windows.
struct Variation {
  ui::Byte SegmentTotal;
  bool FrontAtSetUp;          // set-up brings each segment it creates to the front
  bool CopyPenAtSetUp;        // set-up draws each segment it creates in its own colour
  bool UniformDotSize;        // set-up gives every dot in play the size of Shape1(0)
  bool StartOverAfterResize;  // with UniformDotSize: set-up ends with start over, not bytDot = 0
  bool FrontWhenPlaced;       // a placed segment comes to the front
};

// The three fields of the board state, as a test or a check reads them.
struct BoardState {
  ui::Boolean blnDrawing;
  ui::Byte bytLine;
  ui::Byte bytDot;
};

class PictureWindow : public ui::Form {
 public:
  PictureWindow(const ui::FormDesign& design, const Variation& variation);
  BoardState state() const { return {blnDrawing, bytLine, bytDot}; }
  const Variation& variation() const { return v_; }

 protected:
  void Form_Load() override;
  void Form_MouseDown(ui::Integer Button, ui::Integer Shift, ui::Single X, ui::Single Y) override;
  void Form_MouseMove(ui::Integer Button, ui::Integer Shift, ui::Single X, ui::Single Y) override;
  void Form_MouseUp(ui::Integer Button, ui::Integer Shift, ui::Single X, ui::Single Y) override;

 private:
  void PrepareBoard();
  void mnuIgen_Click();
  void mnuAvsluta_Click();
  bool HitsDot(int i, ui::Single X, ui::Single Y) const;
  ui::Single CentreX(int i) const;
  ui::Single CentreY(int i) const;

  const Variation& v_;
  ui::Boolean blnDrawing = ui::False;
  ui::Byte bytLine = 0;
  ui::Byte bytDot = 0;

  ui::ControlArray<ui::Shape> Shape1{*this, "Shape1"};
  ui::ControlArray<ui::Line> Line1{*this, "Line1"};
  ui::Control<ui::Line> Line2{*this, "Line2"};
  ui::Control<ui::Image> imgBild{*this, "imgBild"};
  ui::MenuRef mnuIgen{*this, "mnuIgen"};
  ui::MenuRef mnuTomt{*this, "mnuTomt"};
};

}  // namespace board
