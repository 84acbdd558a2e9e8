// The program's real windows driven as the player drives them, by caption, menu entry and the left
// mouse button in client pixels, and read back as painted. Each backend's tests supply one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace window_tests {

// A client area as 0xRRGGBB pixels, top row first.
struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t at(int x, int y) const { return rgb[std::size_t(y * width + x)]; }
};

class Driver {
 public:
  virtual ~Driver() = default;
  virtual void start() = 0;                        // the program's start, up to its start window
  virtual void stop() = 0;                         // ends what a test left running
  virtual int exitStatus() = 0;                    // once the program has ended; -1 while it runs
  virtual std::vector<std::string> windows() = 0;  // the captions of the visible windows
  virtual Pixels grab(const std::string& caption) = 0;
  // The menu bar's first entry, then the visible entries of its drop-down ("-" for a separator).
  virtual std::vector<std::string> menu(const std::string& caption) = 0;
  virtual void choose(const std::string& caption, const std::string& entry) = 0;
  virtual void closeFrame(const std::string& caption) = 0;
  virtual void press(const std::string& caption, int x, int y) = 0;
  virtual void move(const std::string& caption, int x, int y) = 0;
  virtual void release(const std::string& caption, int x, int y) = 0;
  virtual std::uint32_t background() = 0;     // the plain background of a window
  virtual Pixels finishedPicture(int n) = 0;  // as the system decodes it
};

Driver& driver();

}  // namespace window_tests
