#include "stress/play.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <exception>
#include <map>
#include <tuple>

#include "app/start_window.h"
#include "board/windows.h"
#include "pictures/designs.h"
#include "ui/form.h"
#include "ui/runtime.h"

namespace stress {

namespace {

// The game's rules per picture window, written down here once more so that the model does not
// lean on the program's own table: the number of segments, whether set-up leaves bytDot as it
// was (the others give every dot the size of Shape1(0) and start afresh), and whether a placed
// segment comes to the front.
struct Rules {
  int total;
  bool keepsDot;
  bool frontWhenPlaced;
};
constexpr Rules kRules[kPictures] = {{13, true, false}, {9, false, true},  {10, true, false},
                                     {25, true, false}, {10, false, true}, {9, false, true}};

// A backend without windows that remembers what the checks need: beeps, the end of the program,
// how often each window was shown and which pixels it was asked to repaint.
struct CheckingHost final : ui::Host {
  void show() override { ++shows; }
  void invalidate(const ui::PixelRect& r) override { invalidated = invalidated.united(r); }
  void menuChanged(const ui::Menu&) override {}
  int shows = 0;
  ui::PixelRect invalidated;
};

struct CheckingPlatform final : ui::Platform {
  std::unique_ptr<ui::Host> createHost(ui::Form&) override {
    return std::make_unique<CheckingHost>();
  }
  void beep() override { ++beeps; }
  void quit(int status) override { quits.push_back(status); }
  int beeps = 0;
  std::vector<int> quits;
};

const ui::WindowClass& classOf(int window) {
  return window == 0 ? app::frmMain : board::frmBild(window);
}

std::string nameOf(int window) {
  return window == 0 ? std::string("start window") : "Bild" + std::to_string(window);
}

std::string num(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", double(v));
  return buf;
}

std::string point(float x, float y) {
  return "(" + num(x) + ", " + num(y) + ")";
}

std::string show(const Segment& s) {
  return std::string(s.visible ? "shown " : "hidden ") + point(s.x1, s.y1) + "-" +
         point(s.x2, s.y2);
}

Segment live(const ui::Line& l) {
  return {l.Visible(), l.X1().value(), l.Y1().value(), l.X2().value(), l.Y2().value()};
}

// The accepted area of a dot: the open rectangle of twice its size around its top-left corner.
bool hits(const Box& d, float x, float y) {
  return std::fabs(x - d.left) < d.width && std::fabs(y - d.top) < d.height;
}
float centreX(const Box& d) {
  return d.width / 2 + d.left;
}
float centreY(const Box& d) {
  return d.height / 2 + d.top;
}

bool labelAt(const WindowModel& w, float x, float y) {
  for (const Box& l : w.labels)
    if (x >= l.left && x < l.left + l.width && y >= l.top && y < l.top + l.height) return true;
  return false;
}

Segment lineOf(const ui::ElementDesign& d) {
  return {d.visible, d.x1, d.y1, d.x2, d.y2};
}

// A picture window as its design and rules make it, before it is first referenced.
PictureModel pictureModel(int n) {
  const Rules& r = kRules[n - 1];
  const ui::FormDesign& d = pictures::design(n);
  PictureModel p;
  p.number = n;
  p.total = r.total;
  p.keepsDotOnReopen = r.keepsDot;
  p.frontWhenPlaced = r.frontWhenPlaced;
  p.clientWidth = d.clientWidth;
  p.clientHeight = d.clientHeight;
  std::map<int, Box> dots;
  for (const ui::ElementDesign& e : d.elements) {
    const std::string name = e.name;
    if (e.kind == ui::Kind::Label && e.visible)
      p.labels.push_back({e.left, e.top, e.width, e.height});
    if (e.kind == ui::Kind::Shape && name == "Shape1")
      dots[e.index] = {e.left, e.top, e.width, e.height};
    if (e.kind == ui::Kind::Line && name == "Line1" && e.index == 0) p.templateSegment = lineOf(e);
    if (e.kind == ui::Kind::Line && name == "Line2") p.bandAtLoad = lineOf(e);
  }
  for (int i = 0; i <= p.total + 1; ++i) p.dots.push_back(dots.at(i));
  if (!r.keepsDot) {
    for (int i = 1; i <= p.total + 1; ++i) {
      p.dots[std::size_t(i)].width = p.dots[0].width;
      p.dots[std::size_t(i)].height = p.dots[0].height;
    }
  }
  return p;
}

struct Outcome {
  int window = 0;  // the picture whose board placed a segment
  int placed = 0;  // that segment, 0 for none
  bool completed = false;
  int shown = 0;  // the picture the start window's menu showed
  bool wasLoaded = false;
};

// What a window looked like before an event, for the repaint check.
struct Snapshot {
  const ui::Form* form = nullptr;
  const ui::Host* host = nullptr;
  ui::Picture picture = nullptr;
  int shows = 0;
  struct Element {
    const ui::Element* element;
    bool visible;
    ui::PixelRect bounds;
  };
  std::vector<Element> elements;  // in drawing order
  // The element's look before the event: found where it stood unless the drawing order changed.
  const Element* find(const ui::Element* e, std::size_t at) const {
    if (at < elements.size() && elements[at].element == e) return &elements[at];
    for (const Element& s : elements)
      if (s.element == e) return &s;
    return nullptr;
  }
};

bool covers(const ui::PixelRect& outer, const ui::PixelRect& r) {
  return r.empty() || r.intersected(outer) == r;
}

std::string rect(const ui::PixelRect& r) {
  return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + " - " +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

}  // namespace

std::string describe(const Event& e) {
  const std::string w = nameOf(e.window);
  const std::string how = " button " + std::to_string(e.button) + " shift " +
                          std::to_string(e.shift) + " at " + point(e.x, e.y);
  switch (e.action) {
    case Action::Press:
      return "press        " + w + how;
    case Action::Move:
      return "move         " + w + how;
    case Action::Release:
      return "release      " + w + how;
    case Action::CaptureLost:
      return "capture lost " + w;
    case Action::StartOver:
      return "Börja om     " + w;
    case Action::Close:
      return "Avsluta      " + w;
    case Action::CloseControl:
      return "close control " + w;
    case Action::Open:
      return "Bild" + std::to_string(e.window) + "        from the start window's menu";
    case Action::Exit:
      return "Avsluta      from the start window's menu";
  }
  return "?";
}

void Coverage::add(const Coverage& o) {
  events += o.events;
  for (std::size_t i = 0; i < completions.size(); ++i) completions[i] += o.completions[i];
  reopenedMidPicture += o.reopenedMidPicture;
  completedAfterReopen += o.completedAfterReopen;
  dragsEndedAfterReopen += o.dragsEndedAfterReopen;
  pressesTakenByLabels += o.pressesTakenByLabels;
  startOversMidDrag += o.startOversMidDrag;
  programEnds += o.programEnds;
  farOffEvents += o.farOffEvents;
}

// ---- the harness ----

// A check that failed: its name and what it found.
using Problem = std::optional<std::pair<std::string, std::string>>;

struct Harness::Impl {
  explicit Impl(ModelFault f) : fault(f) {}

  // The model's side of an event.
  Outcome apply(Model& m, Coverage& c, const Event& e);
  void load(PictureModel& p, Coverage& c);
  void unload(Model& m, WindowModel& w);
  void release(Model& m, Coverage& c, PictureModel& p, const Event& e, Outcome& o);
  // The program's side.
  void perform(const Event& e);
  // The window's instance, if there is one; looked up once per program run.
  ui::Form* formOf(int window) {
    ui::Form*& f = forms[std::size_t(window)];
    if (f == nullptr && classOf(window).exists()) f = &classOf(window)();
    return f;
  }
  // The checks.
  void snapshot(const Event& e, Snapshot& s);
  Problem check(const Model& m, const Event& e, const Outcome& o, const Snapshot& before,
                int beepsBefore, bool everything);
  Problem checkBoard(const PictureModel& p, const Outcome& o);

  ModelFault fault;
  CheckingPlatform platform;
  std::array<bool, kPictures> dragSpansClose{};  // for the coverage only
  std::array<ui::Form*, kPictures + 1> forms{};
  // Reused from event to event.
  Snapshot lastLook;
  std::vector<const ui::Line*> segments;
  std::vector<const ui::Shape*> dots;
};

Harness::Harness(ModelFault fault) : impl_(std::make_unique<Impl>(fault)) {}

Harness::~Harness() {
  ui::runtime().reset();
  ui::runtime().setPlatform(nullptr);
}

void Harness::start() {
  ui::runtime().reset();
  ui::runtime().setPlatform(&impl_->platform);
  impl_->platform.beeps = 0;
  impl_->platform.quits.clear();
  impl_->dragSpansClose = {};
  impl_->forms = {};
  model_ = Model{};
  for (int n = 1; n <= kPictures; ++n) model_.picture(n) = pictureModel(n);
  ui::Form& start = app::frmMain();
  start.Show();
  model_.start.created = model_.start.loaded = true;
  model_.start.clientWidth = start.design().clientWidth;
  model_.start.clientHeight = start.design().clientHeight;
  for (const ui::ElementDesign& e : start.design().elements)
    if (e.kind == ui::Kind::Label && e.visible)
      model_.start.labels.push_back({e.left, e.top, e.width, e.height});
}

void Harness::Impl::load(PictureModel& p, Coverage& c) {
  p.loaded = true;
  p.segments.assign(std::size_t(p.total) + 1, p.templateSegment);
  for (int k = 1; k <= p.total; ++k) p.segments[std::size_t(k)].visible = false;
  p.band = p.bandAtLoad;
  p.picture = false;
  p.line = 0;
  if (!p.keepsDotOnReopen) {
    p.dot = 0;
  } else if (p.dot > 0) {
    ++c.reopenedMidPicture;
  }
}

void Harness::Impl::unload(Model& m, WindowModel& w) {
  if (!w.loaded) return;
  w.loaded = false;
  w.held = 0;
  w.heldByLabel = false;
  if (&w != &m.start) {
    auto& p = static_cast<PictureModel&>(w);
    if (p.drawing) dragSpansClose[std::size_t(p.number - 1)] = true;
  }
  bool any = m.start.loaded;
  for (const PictureModel& q : m.pictures) any = any || q.loaded;
  if (!any) m.ended = true;
}

void Harness::Impl::release(Model& m, Coverage& c, PictureModel& p, const Event& e, Outcome& o) {
  if (!p.drawing) return;
  p.drawing = false;
  bool& spans = dragSpansClose[std::size_t(p.number - 1)];
  if (spans) ++c.dragsEndedAfterReopen;
  spans = false;
  if (hits(p.dots[std::size_t(p.dot + 2)], e.x, e.y)) {
    ++p.line;
    ++p.dot;
    const Box& from = p.dots[std::size_t(p.dot)];
    const Box& to = p.dots[std::size_t(p.dot + 1)];
    p.segments[std::size_t(p.line)] = {true, centreX(from), centreY(from), centreX(to),
                                       centreY(to)};
    o.window = p.number;
    o.placed = p.line;
    const int completesAt = fault == ModelFault::CompletesOneEarly ? p.total - 1 : p.total;
    if (p.dot == completesAt) {
      p.picture = true;
      ++m.beeps;
      o.completed = true;
      ++c.completions[std::size_t(p.number - 1)];
      if (p.dot > p.line) ++c.completedAfterReopen;
      p.dot = 0;
      p.line = 0;
    }
  }
  const Segment& last = p.segments[std::size_t(p.line)];
  p.band.x1 = p.band.x2 = last.x2;
  p.band.y1 = p.band.y2 = last.y2;
}

Outcome Harness::Impl::apply(Model& m, Coverage& c, const Event& e) {
  Outcome o;
  WindowModel& w = e.window == 0 ? m.start : m.picture(e.window);
  PictureModel* p = e.window == 0 ? nullptr : &m.picture(e.window);
  const bool mouse =
      e.action == Action::Press || e.action == Action::Move || e.action == Action::Release;
  if (mouse && (std::fabs(e.x) > 1e5f || std::fabs(e.y) > 1e5f)) ++c.farOffEvents;
  switch (e.action) {
    case Action::Press: {
      if (!w.loaded) break;
      if (w.held == 0)
        w.heldByLabel = labelAt(w, e.x, e.y) && fault != ModelFault::LabelsPassPresses;
      w.held |= e.button;
      if (p == nullptr) break;
      const Box& current = p->dots[std::size_t(p->dot + 1)];
      if (w.heldByLabel) {
        if (hits(current, e.x, e.y)) ++c.pressesTakenByLabels;
        break;
      }
      if (!hits(current, e.x, e.y)) break;
      p->band.x1 = centreX(current);
      p->band.y1 = centreY(current);
      p->band.x2 = e.x;
      p->band.y2 = e.y;
      p->drawing = true;
      dragSpansClose[std::size_t(p->number - 1)] = false;
      break;
    }
    case Action::Move: {
      if (!w.loaded) break;
      const bool toLabel = w.held != 0 ? w.heldByLabel : labelAt(w, e.x, e.y);
      if (!toLabel && p != nullptr && p->drawing) {
        p->band.x2 = e.x;
        p->band.y2 = e.y;
      }
      break;
    }
    case Action::Release: {
      if (!w.loaded) break;
      const bool toLabel = w.held != 0 ? w.heldByLabel : labelAt(w, e.x, e.y);
      w.held &= ~int(e.button);
      if (w.held == 0) w.heldByLabel = false;
      if (!toLabel && p != nullptr) release(m, c, *p, e, o);
      break;
    }
    case Action::CaptureLost:
      w.held = 0;
      w.heldByLabel = false;
      break;
    case Action::StartOver:
      if (p == nullptr || !p->loaded) break;
      if (p->drawing) ++c.startOversMidDrag;
      p->picture = false;
      for (int k = 1; k <= p->total; ++k) p->segments[std::size_t(k)].visible = false;
      p->dot = 0;
      p->line = 0;
      break;
    case Action::Close:
      if (p != nullptr) unload(m, w);
      break;
    case Action::CloseControl:
      unload(m, w);
      break;
    case Action::Open:
      if (!m.start.loaded || p == nullptr) break;
      p->created = true;
      o.shown = p->number;
      o.wasLoaded = p->loaded;
      if (!p->loaded) load(*p, c);
      break;
    case Action::Exit:
      if (!m.start.loaded) break;
      for (PictureModel& q : m.pictures) {
        q.created = true;
        unload(m, q);
      }
      unload(m, m.start);
      break;
  }
  return o;
}

void Harness::Impl::perform(const Event& e) {
  ui::Form* form = formOf(e.action == Action::Open || e.action == Action::Exit ? 0 : e.window);
  if (form == nullptr) return;  // no window of it was ever made, so it gets no input
  ui::Form& f = *form;
  auto click = [&](const char* name, int index = ui::kNoIndex) {
    if (ui::Menu* m = f.menu(name, index)) m->click();
  };
  switch (e.action) {
    case Action::Press:
      f.mouseDown(e.button, e.shift, e.x, e.y);
      break;
    case Action::Move:
      f.mouseMove(e.button, e.shift, e.x, e.y);
      break;
    case Action::Release:
      f.mouseUp(e.button, e.shift, e.x, e.y);
      break;
    case Action::CaptureLost:
      f.mouseCaptureLost();
      break;
    case Action::StartOver:
      if (e.window != 0) click("mnuIgen");
      break;
    case Action::Close:
      if (e.window != 0) click("mnuAvsluta");
      break;
    case Action::CloseControl:
      f.closeRequested();
      break;
    case Action::Open:
      click("mnuBild", e.window);
      break;
    case Action::Exit:
      click("mnuAvsluta");
      break;
  }
}

void Harness::Impl::snapshot(const Event& e, Snapshot& s) {
  s.form = nullptr;
  s.host = nullptr;
  s.elements.clear();
  if (e.action == Action::Exit || formOf(e.window) == nullptr) return;
  const ui::Form& f = *formOf(e.window);
  if (!f.loaded() || f.host() == nullptr) return;
  auto* host = static_cast<CheckingHost*>(f.host());
  host->invalidated = {};
  s.form = &f;
  s.host = host;
  s.picture = f.Picture();
  s.shows = host->shows;
  // Labels and the hidden picture holder have nothing that the game changes.
  for (const auto& el : f.drawingOrder())
    if (el->kind() == ui::Kind::Line || el->kind() == ui::Kind::Shape)
      s.elements.push_back({el.get(), el->Visible(), el->paintBounds()});
}

Problem Harness::Impl::checkBoard(const PictureModel& p, const Outcome& o) {
  using Result = std::pair<std::string, std::string>;
  const auto& w = static_cast<const board::PictureWindow&>(*formOf(p.number));
  const std::string name = nameOf(p.number);
  segments.assign(std::size_t(p.total) + 1, nullptr);
  dots.assign(std::size_t(p.total) + 2, nullptr);
  const ui::Line* band = nullptr;
  for (const auto& el : w.drawingOrder()) {
    const std::string& n = el->name();
    const int i = el->Index();
    if (n == "Line1") {
      if (i < 0 || i > p.total || segments[std::size_t(i)] != nullptr)
        return Result{"segments", name + " has an unexpected Line1(" + std::to_string(i) + ")"};
      segments[std::size_t(i)] = static_cast<const ui::Line*>(el.get());
    } else if (n == "Line2") {
      band = static_cast<const ui::Line*>(el.get());
    } else if (n == "Shape1" && i >= 0 && i <= p.total + 1) {
      dots[std::size_t(i)] = static_cast<const ui::Shape*>(el.get());
    }
  }
  for (int k = 0; k <= p.total; ++k)
    if (segments[std::size_t(k)] == nullptr)
      return Result{"segments", name + " lacks Line1(" + std::to_string(k) + ")"};
  for (int i = 0; i <= p.total + 1; ++i)
    if (dots[std::size_t(i)] == nullptr)
      return Result{"dots", name + " lacks Shape1(" + std::to_string(i) + ")"};
  if (band == nullptr) return Result{"rubber band", name + " lacks Line2"};

  for (int i = 1; i <= p.total + 1; ++i) {
    const ui::Shape& s = *dots[std::size_t(i)];
    const Box& b = p.dots[std::size_t(i)];
    if (s.Left().value() != b.left || s.Top().value() != b.top || s.Width().value() != b.width ||
        s.Height().value() != b.height)
      return Result{"dots", name + " dot " + std::to_string(i) + " is " + num(s.Width().value()) +
                                " x " + num(s.Height().value()) + " at " +
                                point(s.Left().value(), s.Top().value()) + ", expected " +
                                num(b.width) + " x " + num(b.height) + " at " +
                                point(b.left, b.top)};
  }

  // Segments 1 ... bytLine join the centres of the dots passed in this pass, the first of them
  // being the dot the pass resumed from.
  const board::BoardState st = w.state();
  const int firstDot = st.bytDot - st.bytLine;
  for (int k = 1; k <= st.bytLine; ++k) {
    const ui::Shape& a = *dots[std::size_t(firstDot + k)];
    const ui::Shape& b = *dots[std::size_t(firstDot + k + 1)];
    const Segment want{true, (a.Width() / 2 + a.Left()).value(), (a.Height() / 2 + a.Top()).value(),
                       (b.Width() / 2 + b.Left()).value(), (b.Height() / 2 + b.Top()).value()};
    const Segment got = live(*segments[std::size_t(k)]);
    if (got != want)
      return Result{"segment placement", name + " Line1(" + std::to_string(k) + ") is " +
                                             show(got) + ", but joins dots " +
                                             std::to_string(firstDot + k) + " and " +
                                             std::to_string(firstDot + k + 1) + ": " + show(want)};
  }
  for (int k = 1; k <= p.total; ++k) {
    const Segment got = live(*segments[std::size_t(k)]);
    if (got != p.segments[std::size_t(k)])
      return Result{"segments", name + " Line1(" + std::to_string(k) + ") is " + show(got) +
                                    ", expected " + show(p.segments[std::size_t(k)])};
  }
  const Segment gotBand = live(*band);
  if (gotBand != p.band)
    return Result{"rubber band",
                  name + " Line2 is " + show(gotBand) + ", expected " + show(p.band)};

  const ui::Picture want = p.picture ? &pictures::finishedPicture(p.number) : nullptr;
  if (w.Picture() != want)
    return Result{"finished picture",
                  name + (p.picture ? " does not show its finished picture"
                                    : " shows a background picture it should not")};
  if (o.window == p.number && o.placed > 0 && p.frontWhenPlaced &&
      w.drawingOrder().back().get() != segments[std::size_t(o.placed)])
    return Result{"drawing order",
                  name + " Line1(" + std::to_string(o.placed) + ") did not come to the front"};
  return std::nullopt;
}

Problem Harness::Impl::check(const Model& m, const Event& e, const Outcome& o,
                             const Snapshot& before, int beepsBefore, bool everything) {
  using Result = std::pair<std::string, std::string>;
  const ui::Runtime& rt = ui::runtime();
  if (rt.ended() && rt.exitStatus() != 0)
    return Result{"run-time error", "the program ended with status " +
                                        std::to_string(rt.exitStatus()) + " (error above)"};
  if (rt.ended() != m.ended)
    return Result{"program end", m.ended ? "no window is loaded, yet the program goes on"
                                         : "the program ended with windows loaded"};
  if (platform.quits != (m.ended ? std::vector<int>{0} : std::vector<int>{}))
    return Result{"program end", "the backend was asked to quit " +
                                     std::to_string(platform.quits.size()) + " times"};

  const int beeps = platform.beeps - beepsBefore;
  if (beeps != (o.completed ? 1 : 0))
    return Result{"beep", std::to_string(beeps) + " beeps" +
                              (o.completed ? " on completing the picture, expected one"
                                           : " without a picture being completed")};
  if (rt.beeps() != m.beeps)
    return Result{"beep", "the runtime counted " + std::to_string(rt.beeps()) +
                              " beeps, expected " + std::to_string(m.beeps)};

  int loaded = 0;
  for (int w = 0; w <= kPictures; ++w) {
    const WindowModel& wm = w == 0 ? m.start : m.picture(w);
    const ui::Form* form = formOf(w);
    const bool exists = form != nullptr;
    if (exists != wm.created)
      return Result{"window lifetime", nameOf(w) + (wm.created ? " has no instance"
                                                               : " was made without a reference")};
    if (exists && form->loaded() != wm.loaded)
      return Result{"window lifetime", nameOf(w) + (wm.loaded ? " is not loaded" : " is loaded")};
    loaded += wm.loaded;
  }
  if (rt.loadedCount() != loaded)
    return Result{"window lifetime", "the runtime counts " + std::to_string(rt.loadedCount()) +
                                         " windows loaded, expected " + std::to_string(loaded)};

  for (const PictureModel& p : m.pictures) {
    if (!p.created) continue;
    const auto& w = static_cast<const board::PictureWindow&>(*formOf(p.number));
    const board::BoardState st = w.state();
    const int dot = st.bytDot, line = st.bytLine;
    if (dot < 0 || dot > p.total - 1 || line < 0 || line > dot ||
        (st.blnDrawing != ui::True && st.blnDrawing != ui::False))
      return Result{"counters",
                    nameOf(p.number) + " has bytDot " + std::to_string(dot) + ", bytLine " +
                        std::to_string(line) +
                        ": not 0 <= bytLine <= bytDot <= " + std::to_string(p.total - 1)};
    if ((st.blnDrawing == ui::True) != p.drawing || line != p.line || dot != p.dot)
      return Result{"board state", nameOf(p.number) + " has blnDrawing " +
                                       std::to_string(st.blnDrawing) + ", bytLine " +
                                       std::to_string(line) + ", bytDot " + std::to_string(dot) +
                                       "; expected " + (p.drawing ? "True" : "False") + ", " +
                                       std::to_string(p.line) + ", " + std::to_string(p.dot)};
    // An event reaches one window; the others are looked at in full now and then.
    if (p.loaded && (p.number == e.window || everything))
      if (auto r = checkBoard(p, o)) return r;
  }

  if (o.shown != 0) {
    const auto* host = static_cast<const CheckingHost*>(formOf(o.shown)->host());
    const int want = o.wasLoaded ? before.shows + 1 : 1;
    if (host == nullptr || host->shows != want)
      return Result{"window shown", nameOf(o.shown) + " was not shown once by its menu entry"};
  }

  // Whatever changed on a window was repainted, where it was and where it is now.
  if (before.form != nullptr && before.form->loaded() && before.form->host() == before.host) {
    const auto& inv = static_cast<const CheckingHost*>(before.host)->invalidated;
    const ui::FormDesign& d = before.form->design();
    const ui::PixelRect client{0, 0, int(std::ceil(d.clientWidth / ui::kTwipsPerPixel)),
                               int(std::ceil(d.clientHeight / ui::kTwipsPerPixel))};
    if (before.form->Picture() != before.picture && !covers(inv, client))
      return Result{"repaint", nameOf(e.window) + ": the background picture changed, repainted " +
                                   rect(inv) + " only"};
    std::size_t at = 0;  // where the element stood in the snapshot if the order stayed
    for (const auto& owned : before.form->drawingOrder()) {
      const ui::Element* el = owned.get();
      if (el->kind() != ui::Kind::Line && el->kind() != ui::Kind::Shape) continue;
      const Snapshot::Element* old = before.find(el, at++);
      if (old == nullptr) continue;
      const bool wasVisible = old->visible, isVisible = el->Visible();
      const ui::PixelRect was = old->bounds, is = el->paintBounds();
      if (wasVisible == isVisible && was == is) continue;
      const int index = el->Index();
      const std::string what = nameOf(e.window) + " " + el->name() +
                               (index == ui::kNoIndex ? "" : "(" + std::to_string(index) + ")");
      if (wasVisible && !covers(inv, was))
        return Result{"repaint", what + " left " + rect(was) + ", repainted " + rect(inv)};
      if (isVisible && !covers(inv, is))
        return Result{"repaint", what + " now covers " + rect(is) + ", repainted " + rect(inv)};
    }
  }
  return std::nullopt;
}

std::optional<Failure> Harness::step(const Event& e) {
  Impl& s = *impl_;
  const std::size_t index = coverage_.events++;
  s.snapshot(e, s.lastLook);
  const int beepsBefore = s.platform.beeps;
  const Outcome o = s.apply(model_, coverage_, e);
  try {
    s.perform(e);
  } catch (const std::exception& x) {
    return Failure{index, "exception", x.what()};
  }
  if (auto r = s.check(model_, e, o, s.lastLook, beepsBefore, index % 32 == 0))
    return Failure{index, std::move(r->first), std::move(r->second)};
  if (model_.ended) {
    ++coverage_.programEnds;
    start();
  }
  return std::nullopt;
}

// ---- the generator ----

Generator::Generator(std::uint64_t seed) : state_(seed) {}

std::uint64_t Generator::bits() {
  // splitmix64: the same stream from the same seed on every machine.
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int Generator::below(int n) {
  return int(bits() % std::uint64_t(n));
}

double Generator::unit() {
  return double(bits() >> 11) * (1.0 / 9007199254740992.0);
}

float Generator::inside(float from, float to) {
  return from + float(unit()) * (to - from);
}

float Generator::quantised(float v) {
  switch (below(10)) {
    case 0:
    case 1:
    case 2:
    case 3:
      return std::round(v / ui::kTwipsPerPixel) * ui::kTwipsPerPixel;  // a whole pixel
    case 4:
    case 5:
    case 6:
      return std::round(v);
    case 7:
    case 8:
      return std::round(v * 8) / 8;  // a fraction of a twip, as on a scaled screen
    default:
      return v;
  }
}

void Generator::pointNearDot(const PictureModel& p, int dot, Event& e) {
  const Box& d = p.dots[std::size_t(dot)];
  const int kind = below(10);
  if (kind <= 5) {  // inside the accepted area
    e.x = quantised(inside(d.left - d.width, d.left + d.width));
    e.y = quantised(inside(d.top - d.height, d.top + d.height));
  } else if (kind == 6) {
    e.x = centreX(d);
    e.y = centreY(d);
  } else if (kind <= 8) {  // on the edge of the accepted area, or one step either side of it
    const bool across = chance(0.5);
    const float lo = across ? d.left - d.width : d.top - d.height;
    const float hi = across ? d.left + d.width : d.top + d.height;
    float edge = chance(0.5) ? lo : hi;
    const int step = below(3) - 1;
    if (step != 0) edge = std::nextafter(edge, step > 0 ? FLT_MAX : -FLT_MAX);
    const float other = across ? inside(d.top - d.height, d.top + d.height)
                               : inside(d.left - d.width, d.left + d.width);
    e.x = across ? edge : other;
    e.y = across ? other : edge;
  } else if (chance(0.5)) {  // just outside, to the side
    e.x = d.left + (chance(0.5) ? 1.0f : -1.0f) * (d.width + inside(0, 60));
    e.y = quantised(inside(d.top - d.height, d.top + d.height));
  } else {  // just outside, above or below
    e.x = quantised(inside(d.left - d.width, d.left + d.width));
    e.y = d.top + (chance(0.5) ? 1.0f : -1.0f) * (d.height + inside(0, 60));
  }
}

void Generator::pointAnywhere(const WindowModel& w, const PictureModel* p, Event& e) {
  const float cw = w.clientWidth, ch = w.clientHeight;
  switch (below(12)) {
    case 0:
    case 1:
    case 2: {  // on a label, now and then exactly on its edges
      if (w.labels.empty()) break;
      const Box& l = w.labels[std::size_t(below(int(w.labels.size())))];
      e.x = quantised(inside(l.left, l.left + l.width));
      e.y = quantised(inside(l.top, l.top + l.height));
      if (chance(0.2)) e.x = chance(0.5) ? l.left : l.left + l.width;
      if (chance(0.2)) e.y = chance(0.5) ? l.top : l.top + l.height;
      return;
    }
    case 3:
    case 4:
    case 5:
      break;
    case 6:
    case 7:  // outside the client area
      e.x = chance(0.5) ? -inside(0, 3000) : cw + inside(0, 3000);
      e.y = chance(0.5) ? inside(-3000, ch + 3000) : (chance(0.5) ? -inside(0, 3000) : ch);
      if (chance(0.5)) std::swap(e.x, e.y);
      e.x = quantised(e.x);
      e.y = quantised(e.y);
      return;
    case 8: {  // far off
      const float far[] = {1e5f, 3.3e7f, 1e12f, 1e20f, 1e30f, FLT_MAX};
      e.x = far[below(6)] * (chance(0.5) ? 1 : -1);
      e.y = chance(0.5) ? far[below(6)] * (chance(0.5) ? 1 : -1) : inside(0, ch);
      if (chance(0.5)) std::swap(e.x, e.y);
      return;
    }
    default:
      if (p != nullptr) return pointNearDot(*p, below(p->total + 2), e);
      break;
  }
  e.x = quantised(inside(0, cw));
  e.y = quantised(inside(0, ch));
}

void Generator::mouse(const WindowModel& w, const PictureModel* p, Event& e) {
  // Careful play hits its dots; wild play hits anything.
  const double aim = mode_ == 0 ? 0.9 : mode_ == 2 ? 0.75 : 0.4;
  const bool drawing = p != nullptr && p->drawing;
  const int r = below(100);
  if (mode_ == 1) {
    e.action = r < 30 ? Action::Press : r < 70 ? Action::Move : Action::Release;
  } else if (!drawing) {
    e.action = r < 80 ? Action::Press : r < 92 ? Action::Move : Action::Release;
  } else {
    e.action = r < 45 ? Action::Move : r < 95 ? Action::Release : Action::Press;
  }
  // Mostly the left button, then the right and the middle one, and now and then any mask.
  const int b = below(20);
  e.button = std::int16_t(b < 15 ? 1 : b < 17 ? 2 : b < 18 ? 4 : below(8));
  if (e.action == Action::Move)
    e.button = chance(0.7) ? std::int16_t(drawing ? 1 : 0) : std::int16_t(below(8));
  e.shift = chance(0.8) ? 0 : std::int16_t(below(8));
  if (p != nullptr && chance(aim)) {
    const int target = e.action == Action::Press ? p->dot + 1 : p->dot + 2;
    if (e.action == Action::Move && chance(0.5)) return pointAnywhere(w, p, e);
    return pointNearDot(*p, target, e);
  }
  pointAnywhere(w, p, e);
}

Event Generator::next(const Model& m) {
  if (modeLeft_-- <= 0) {
    mode_ = below(3);
    modeLeft_ = 50 + below(450);
  }
  Event e;
  if (chance(mode_ == 1 ? 0.05 : 0.01)) focus_ = 1 + below(kPictures);
  if (!m.picture(focus_).loaded) {
    if (m.start.loaded && chance(0.8)) {
      e.action = Action::Open;
      e.window = std::int8_t(focus_);
      return e;
    }
    std::vector<int> open;
    for (const PictureModel& q : m.pictures)
      if (q.loaded) open.push_back(q.number);
    if (open.empty() || (m.start.loaded && chance(0.2))) {
      e.window = 0;
      mouse(m.start, nullptr, e);
      return e;
    }
    focus_ = open[std::size_t(below(int(open.size())))];
  }
  const PictureModel& p = m.picture(focus_);
  e.window = std::int8_t(focus_);
  const double disrupt = mode_ == 0 ? 0.004 : mode_ == 1 ? 0.04 : (p.drawing ? 0.1 : 0.01);
  if (!chance(disrupt)) {
    mouse(p, &p, e);
    return e;
  }
  const int r = below(100);
  if (r < 28) {
    e.action = Action::StartOver;
  } else if (r < 48) {
    e.action = Action::Close;
  } else if (r < 56) {
    e.action = Action::CloseControl;
  } else if (r < 80) {
    e.action = Action::Open;
    e.window = std::int8_t(1 + below(kPictures));
  } else if (r < 90) {
    e.action = Action::CaptureLost;
  } else if (r < 92) {
    e.action = Action::Exit;
  } else if (r < 93) {
    e.action = Action::CloseControl;
    e.window = 0;
  } else if (r < 97) {
    e.window = 0;
    mouse(m.start, nullptr, e);
  } else {  // input for a window that may not be loaded
    e.window = std::int8_t(1 + below(kPictures));
    mouse(m.picture(e.window), &m.picture(e.window), e);
  }
  return e;
}

// ---- playing, replaying, shrinking ----

Played play(std::uint64_t seed, std::size_t count, ModelFault fault) {
  Played run;
  Harness h(fault);
  h.start();
  Generator g(seed);
  run.events.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    run.events.push_back(g.next(h.model()));
    if ((run.failure = h.step(run.events.back()))) break;
  }
  run.coverage = h.coverage();
  return run;
}

std::optional<Failure> replay(const std::vector<Event>& events, ModelFault fault) {
  Harness h(fault);
  h.start();
  for (const Event& e : events)
    if (auto f = h.step(e)) return f;
  return std::nullopt;
}

std::vector<Event> shrink(std::vector<Event> events, const Failure& failure, ModelFault fault) {
  events.resize(std::min(events.size(), failure.event + 1));
  int budget = 20000;  // replays
  auto failsAlike = [&](std::vector<Event>& candidate) {
    if (candidate.empty() || budget-- <= 0) return false;
    const auto f = replay(candidate, fault);
    if (!f || f->check != failure.check) return false;
    candidate.resize(f->event + 1);
    return true;
  };
  // Leave out runs of events, halving their length; at single events, go on until none can go.
  for (std::size_t chunk = std::max<std::size_t>(1, events.size() / 2);;) {
    bool removed = false;
    for (std::size_t i = 0; i < events.size();) {
      std::vector<Event> c(events.begin(), events.begin() + std::ptrdiff_t(i));
      c.insert(c.end(), events.begin() + std::ptrdiff_t(std::min(i + chunk, events.size())),
               events.end());
      if (failsAlike(c)) {
        events = std::move(c);
        removed = true;
      } else {
        i += chunk;
      }
    }
    if (chunk > 1) {
      chunk /= 2;
    } else if (!removed || budget <= 0) {
      break;
    }
  }
  // Plainer values where they fail just as well.
  for (std::size_t i = 0; i < events.size(); ++i) {
    auto attempt = [&](auto change) {
      std::vector<Event> c = events;
      change(c[i]);
      if (std::tie(c[i].button, c[i].shift, c[i].x, c[i].y) ==
          std::tie(events[i].button, events[i].shift, events[i].x, events[i].y))
        return;
      if (failsAlike(c) && c.size() == events.size()) events = std::move(c);
    };
    attempt([](Event& e) { e.button = e.action == Action::Move ? 0 : 1; });
    attempt([](Event& e) { e.button = 1; });
    attempt([](Event& e) { e.shift = 0; });
    attempt([](Event& e) {
      e.x = std::round(e.x);
      e.y = std::round(e.y);
    });
  }
  return events;
}

}  // namespace stress
