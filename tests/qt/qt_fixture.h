// Each Qt test starts with no window instances and the Qt backend in place.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>

#include "app/icon.h"
#include "board/windows.h"
#include "pictures/designs.h"
#include "ui/qt/qt_backend.h"

class QtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::runtime().reset();
    ui::runtime().setPlatform(&platform);
    ui::runtime().setIcon(&app::programIcon());
  }
  void TearDown() override {
    ui::runtime().reset();
    ui::runtime().setPlatform(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Paints the client area now.
  static QImage grab(const ui::Form& f) { return ui::qt::grabClient(f); }
  static QColor background() { return QApplication::palette().color(QPalette::Button); }
  ui::qt::QtPlatform platform;
};

inline bool near(QColor a, QColor b, int tolerance = 2) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}
