// The Qt Widgets backend: one top-level window per loaded form.
#pragma once

#include <QImage>
#include <QWidget>

#include "ui/form.h"
#include "ui/runtime.h"

namespace ui::qt {

class QtPlatform final : public Platform {
 public:
  std::unique_ptr<Host> createHost(Form& form) override;
  void beep() override;
  void quit(int status) override;
};

// The real window of a loaded form (nullptr when it is not loaded), for tests and tools.
QWidget* windowOf(const Form& form);
// The widget that paints the client area.
QWidget* clientOf(const Form& form);
// The client area as painted now.
QImage grabClient(const Form& form);

// The decoded picture (cached); a null image when it cannot be decoded.
const QImage& imageOf(Picture picture);

}  // namespace ui::qt
