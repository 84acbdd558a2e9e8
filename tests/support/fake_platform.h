// A backend without windows for the toolkit-free tests: it records what the runtime asks of it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/runtime.h"

namespace testing_support {

struct FakePlatform;

struct FakeHost final : ui::Host {
  FakeHost(FakePlatform& p, ui::Form& f);
  ~FakeHost() override;
  void show() override;
  void invalidate(const ui::PixelRect& r) override { invalidated = invalidated.united(r); }
  void menuChanged(const ui::Menu&) override { ++menuChanges; }
  FakePlatform& platform;
  ui::Form& form;
  int shows = 0;
  int menuChanges = 0;
  ui::PixelRect invalidated;
};

struct FakePlatform final : ui::Platform {
  std::unique_ptr<ui::Host> createHost(ui::Form& f) override {
    return std::make_unique<FakeHost>(*this, f);
  }
  void beep() override { ++beeps; }
  void quit(int status) override { quits.push_back(status); }
  int beeps = 0;
  std::vector<int> quits;
  std::vector<std::string> events;  // "show Bild1", "front Bild1", "close Bild1"
};

inline FakeHost::FakeHost(FakePlatform& p, ui::Form& f) : platform(p), form(f) {}
inline FakeHost::~FakeHost() {
  platform.events.push_back(std::string("close ") + form.design().caption);
}
inline void FakeHost::show() {
  platform.events.push_back(std::string(shows++ == 0 ? "show " : "front ") + form.design().caption);
}

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
  FakeHost& hostOf(const ui::Form& f) { return static_cast<FakeHost&>(*f.host()); }
  FakePlatform platform;
};

// An element of a loaded window, found by name and index as the player sees it.
template <class T>
T& element(const ui::Form& f, const std::string& name, int index = ui::kNoIndex) {
  for (const auto& e : f.drawingOrder())
    if (e->name() == name && e->Index() == index) return static_cast<T&>(*e);
  ADD_FAILURE() << "no element " << name << "(" << index << ")";
  throw std::runtime_error("missing element");
}

// Position of an element in the drawing order, 0 at the back.
inline int depthOf(const ui::Form& f, const std::string& name, int index = ui::kNoIndex) {
  const auto& order = f.drawingOrder();
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i]->name() == name && order[i]->Index() == index) return int(i);
  return -1;
}

}  // namespace testing_support
