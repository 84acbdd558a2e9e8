#include "ui/runtime.h"

#include <cstdio>
#include <new>

#include "ui/form.h"
#include "ui/program.h"
#include "ui/values.h"

namespace ui {

Runtime& runtime() {
  static Runtime r;
  return r;
}

void Runtime::run(const std::function<void()>& handler) {
  if (ended_) return;
  // What the handler changed is repainted once it is over, however it ends.
  struct Running {
    explicit Running(Runtime& r) : rt(r) { ++rt.running_; }
    ~Running() {
      if (--rt.running_ == 0) rt.repaintChanges();
    }
    Runtime& rt;
  } running(*this);
  try {
    handler();
  } catch (const RuntimeError& e) {
    std::fprintf(stderr, "%s: run-time error %d: %s\n", name_, int(e.number()), e.what());
    end(1);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s: run-time error %d: Out of memory\n", name_,
                 int(ErrorNumber::OutOfMemory));
    end(1);
  }
}

void Runtime::repaintChanges() {
  std::vector<Form*> forms;
  forms.swap(changed_);
  for (Form* f : forms) f->repaintChanged();
}

void Runtime::formUnloaded() {
  if (--loaded_ == 0) end(0);
}

void Runtime::end(int status) {
  if (ended_) return;
  ended_ = true;
  exitStatus_ = status;
  if (platform_) platform_->quit(status);
}

void Runtime::reset() {
  // Windows are unloaded newest first, then their objects discarded; none of it counts as the
  // program ending.
  for (auto it = instances_.rbegin(); it != instances_.rend(); ++it) {
    Form& f = *it->second;
    if (f.loaded()) {
      ended_ = true;  // keeps the last unload from ending the program
      Unload(f);
    }
  }
  instances_.clear();
  loaded_ = 0;
  ended_ = false;
  exitStatus_ = 0;
}

void setUp(const ProgramInfo& info) {
  Runtime& rt = runtime();
  rt.setProgramName(info.name);
  rt.setIcon(info.icon);
  setFontStandIns(info.fontStandIns);
}

bool startProgram(Platform& platform, const WindowClass& startWindow, const ProgramInfo& info) {
  Runtime& rt = runtime();
  setUp(info);
  rt.setPlatform(&platform);
  rt.run([&] { startWindow().Show(); });
  return !rt.ended();
}

int endProgram(int loopStatus) {
  Runtime& rt = runtime();
  int status = rt.ended() ? rt.exitStatus() : loopStatus;
  rt.reset();
  rt.setPlatform(nullptr);
  return status;
}

}  // namespace ui
