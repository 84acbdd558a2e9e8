// The program with its real windows, driven as the player drives it: windows found by their
// captions, menu entries chosen by their texts, the left mouse button in client pixels, and the
// client areas read back as they are painted. Each backend's tests supply one driver.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace window_tests {

// A picture of a client area, as 0xRRGGBB pixels, top row first.
struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t at(int x, int y) const {
    return rgb[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  }
};

class Driver {
 public:
  virtual ~Driver() = default;
  // Starts the program and waits for its start window.
  virtual void start() = 0;
  // Ends a program that a test left running.
  virtual void stop() = 0;
  // The program's exit status once it has ended; -1 while it runs.
  virtual int exitStatus() = 0;
  // The visible windows of the program, by caption.
  virtual std::vector<std::string> windows() = 0;
  // The client area as it is painted now.
  virtual Pixels grab(const std::string& caption) = 0;
  // The menu bar's first entry, then the entries of its drop-down ("-" for a separator).
  virtual std::vector<std::string> menu(const std::string& caption) = 0;
  virtual void choose(const std::string& caption, const std::string& entry) = 0;
  virtual void closeFrame(const std::string& caption) = 0;
  virtual void press(const std::string& caption, int x, int y) = 0;
  virtual void move(const std::string& caption, int x, int y) = 0;
  virtual void release(const std::string& caption, int x, int y) = 0;
  // The plain background of a window.
  virtual std::uint32_t background() = 0;
  // Picture n's finished picture as the system decodes it.
  virtual Pixels finishedPicture(int n) = 0;
};

Driver& driver();

}  // namespace window_tests
