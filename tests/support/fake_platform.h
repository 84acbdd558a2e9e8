// A backend without windows for the toolkit-free tests: it notes what the runtime asks of it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/runtime.h"

namespace testing_support {

struct FakePlatform final : ui::Platform {
  // The window of a form: notes "show Bild1", "front Bild1", "close Bild1" and what to repaint.
  struct Host final : ui::Host {
    Host(FakePlatform& p, ui::Form& f) : platform(p), caption(f.design().caption) {}
    ~Host() override { platform.events.push_back("close " + caption); }
    void show() override { platform.events.push_back((shown++ ? "front " : "show ") + caption); }
    void invalidate(const ui::PixelRect& r) override { invalidated = invalidated.united(r); }
    void menuChanged(const ui::Menu&) override {}
    FakePlatform& platform;
    std::string caption;
    int shown = 0;
    ui::PixelRect invalidated;
  };
  std::unique_ptr<ui::Host> createHost(ui::Form& f) override {
    return std::make_unique<Host>(*this, f);
  }
  void beep() override { ++beeps; }
  void quit(int status) override { quits.push_back(status); }
  int beeps = 0;
  std::vector<int> quits;
  std::vector<std::string> events;
};

// Each test starts with no window instances and this fake backend.
class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::runtime().reset();
    ui::runtime().setPlatform(&platform);
  }
  void TearDown() override {
    ui::runtime().reset();
    ui::runtime().setPlatform(nullptr);
  }
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

}  // namespace testing_support
