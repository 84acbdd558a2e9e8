// The runtime that ties windows to a backend: which backend draws them, the window instances,
// the end of the program and the fate of an unhandled run-time error.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "ui/design.h"
#include "ui/elements.h"

namespace ui {

class Form;
class Menu;
class WindowClass;

// A real window of a backend, made for a loaded form and destroyed when it is unloaded.
class Host {
 public:
  virtual ~Host() = default;
  // Shows the window: centred on the screen the first time after loading, otherwise only
  // brought to the front.
  virtual void show() = 0;
  virtual void invalidate(const PixelRect& r) = 0;
  virtual void menuChanged(const Menu& m) = 0;
};

// A windowing backend.
class Platform {
 public:
  virtual ~Platform() = default;
  // Creates the (not yet shown) window of a form that is being loaded; its menus and elements
  // are there already.
  virtual std::unique_ptr<Host> createHost(Form& form) = 0;
  virtual void beep() = 0;
  // Ends the event loop; the program then ends with this status.
  virtual void quit(int status) = 0;
};

class Runtime {
 public:
  // The backend; without one, windows have no host and nothing is drawn (as in the tests).
  void setPlatform(Platform* p) { platform_ = p; }
  Platform* platform() const { return platform_; }
  // The program's name, which its run-time error messages begin with.
  void setProgramName(const char* name) { name_ = name; }
  // The program icon shown by every window.
  void setIcon(const IconImage* icon) { icon_ = icon; }
  const IconImage* icon() const { return icon_; }

  // Runs an event handler. An unhandled run-time error is reported on standard error with its
  // number and text and ends the program with status 1; once the program has ended no handler
  // runs any more.
  void run(const std::function<void()>& handler);
  bool ended() const { return ended_; }
  int exitStatus() const { return exitStatus_; }

  // Discards every window instance and returns to the state before program start. The program
  // uses it once on its way out; the tests between cases.
  void reset();

 private:
  friend class Form;
  friend class WindowClass;
  void formLoaded() { ++loaded_; }
  void formUnloaded();
  void end(int status);
  void repaintChanges();

  Platform* platform_ = nullptr;
  const char* name_ = "";
  const IconImage* icon_ = nullptr;
  std::vector<std::pair<const WindowClass*, std::unique_ptr<Form>>> instances_;
  int loaded_ = 0;
  bool ended_ = false;
  int exitStatus_ = 0;
  int running_ = 0;             // handlers running, one inside the other
  std::vector<Form*> changed_;  // windows whose elements the running handler changed
};

Runtime& runtime();

}  // namespace ui
