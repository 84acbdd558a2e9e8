// Random play against a reference model of the game. The program is driven through the window
// runtime (no toolkit) by a stream of player events; after every event the windows, the board
// states and their elements are compared with a model that follows the game's rules on its own.
// Streams come from a seeded generator, so a failing stream can be played again and shrunk to a
// short one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace stress {

inline constexpr int kPictures = 6;

enum class Action : std::uint8_t {
  Press,         // a mouse button goes down on a window's client area
  Move,          // the mouse moves over it, with the buttons held
  Release,       // a mouse button comes up
  CaptureLost,   // another window took the mouse
  StartOver,     // a picture window's "Börja om"
  Close,         // a picture window's "Avsluta"
  CloseControl,  // the close control of a window's frame
  Open,          // the start window's "Bild1" ... "Bild6"
  Exit,          // the start window's "Avsluta"
};

struct Event {
  Action action = Action::Press;
  std::int8_t window = 0;   // 0 the start window, 1 ... 6 the picture windows
  std::int16_t button = 1;  // the button (press, release) or the buttons held (move), 0 ... 7
  std::int16_t shift = 0;   // modifier keys, 0 ... 7
  float x = 0, y = 0;       // twips from the client area's top-left corner
};

// One line a person can read, with the coordinates exact.
std::string describe(const Event& e);

// ---- the model ----

struct Box {
  float left = 0, top = 0, width = 0, height = 0;
};
struct Segment {
  bool visible = false;
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  friend bool operator==(const Segment&, const Segment&) = default;
};

struct WindowModel {
  bool created = false, loaded = false;
  float clientWidth = 0, clientHeight = 0;
  std::vector<Box> labels;  // the boxes that take presses
  // Mouse routing: buttons held since a press reached the window, and whether a label took it.
  int held = 0;
  bool heldByLabel = false;
};

struct PictureModel : WindowModel {
  // The rules of the window.
  int number = 0;
  int total = 0;                  // SegmentTotal
  bool keepsDotOnReopen = false;  // set-up leaves bytDot as it was
  bool frontWhenPlaced = false;
  std::vector<Box> dots;  // Shape1(0 ... total + 1), at their size in play
  Segment templateSegment, bandAtLoad;
  // The state.
  bool drawing = false;
  int line = 0, dot = 0;
  std::vector<Segment> segments;  // Line1(0 ... total)
  Segment band;
  bool picture = false;
};

struct Model {
  WindowModel start;
  std::array<PictureModel, kPictures> pictures;
  bool ended = false;
  int beeps = 0;
  PictureModel& picture(int n) { return pictures[std::size_t(n - 1)]; }
  const PictureModel& picture(int n) const { return pictures[std::size_t(n - 1)]; }
};

// Mistakes that can be planted in the model, to see the checks and the shrinking at work.
enum class ModelFault { None, CompletesOneEarly, LabelsPassPresses };

// ---- checked play ----

struct Failure {
  std::size_t event = 0;  // index of the event after which the check failed
  std::string check;      // which check
  std::string detail;
};

// What a stream went through, to show that it reached the corners of the game.
struct Coverage {
  std::size_t events = 0;
  std::array<int, kPictures> completions{};
  int reopenedMidPicture = 0;     // a picture window shown again with bytDot kept
  int completedAfterReopen = 0;   // ... and completed from there
  int dragsEndedAfterReopen = 0;  // a drag begun before a close, ended by a release after it
  int pressesTakenByLabels = 0;   // presses inside the current dot's area that a label took
  int startOversMidDrag = 0;
  int programEnds = 0;
  int farOffEvents = 0;
  void add(const Coverage& o);
};

class Harness {
 public:
  explicit Harness(ModelFault fault = ModelFault::None);
  ~Harness();
  Harness(const Harness&) = delete;
  Harness& operator=(const Harness&) = delete;

  // The program as at its start: no window instances, the start window shown.
  void start();
  // Applies one event to the program and to the model and checks all of it. When the event
  // ended the program, the program is started again.
  std::optional<Failure> step(const Event& e);
  const Model& model() const { return model_; }
  const Coverage& coverage() const { return coverage_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  Model model_;
  Coverage coverage_;
};

// Event streams of many kinds: careful play that completes pictures, wild presses everywhere,
// and windows closed and reopened in the middle of drags and pictures.
class Generator {
 public:
  explicit Generator(std::uint64_t seed);
  Event next(const Model& m);

 private:
  std::uint64_t state_;
  int mode_ = 0, modeLeft_ = 0, focus_ = 1;
  std::uint64_t bits();
  int below(int n);
  double unit();
  bool chance(double p) { return unit() < p; }
  float quantised(float v);
  float inside(float from, float to);
  void pointNearDot(const PictureModel& p, int dot, Event& e);
  void pointAnywhere(const WindowModel& w, const PictureModel* p, Event& e);
  void mouse(const WindowModel& w, const PictureModel* p, Event& e);
};

struct Played {
  std::vector<Event> events;
  std::optional<Failure> failure;
  Coverage coverage;
};

// Plays `count` generated events from a fresh program, stopping at the first failure.
Played play(std::uint64_t seed, std::size_t count, ModelFault fault = ModelFault::None);
// Plays the given events from a fresh program; the first failure.
std::optional<Failure> replay(const std::vector<Event>& events,
                              ModelFault fault = ModelFault::None);
// The shortest stream found that still fails the same check: the stream cut after the failure,
// then events left out while it still fails, then buttons, modifiers and coordinates made plain.
std::vector<Event> shrink(std::vector<Event> events, const Failure& failure,
                          ModelFault fault = ModelFault::None);

}  // namespace stress
