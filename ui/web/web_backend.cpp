// The browser backend, built to WebAssembly: each loaded window is a window of the page's desktop
// (web/shell.js) with a canvas for its client area. The page hands the pointer, the menus and the
// close buttons in here; painting runs the runtime's walk over the drawing primitives below, which
// draw on the window's canvas.
#include <emscripten.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/paint.h"
#include "ui/program.h"
#include "ui/runtime.h"

// clang-format off
EM_JS(void, js_create, (int id, const char* caption, int width, int height), {
  Desktop.create(id, UTF8ToString(caption), width, height);
});
EM_JS(void, js_menu, (int id, int entry, int level, const char* caption, int visible), {
  Desktop.menu(id, entry, level, UTF8ToString(caption), !!visible);
});
EM_JS(void, js_menu_visible, (int id, int entry, int visible), {
  Desktop.menuVisible(id, entry, !!visible);
});
EM_JS(void, js_show, (int id), { Desktop.show(id); });
EM_JS(void, js_destroy, (int id), { Desktop.destroy(id); });
EM_JS(void, js_invalidate, (int id, int left, int top, int right, int bottom), {
  Desktop.invalidate(id, left, top, right, bottom);
});
EM_JS(void, js_picture, (int id, const unsigned char* gif, int gifSize, const unsigned char* svg,
                         int svgSize, int width, int height), {
  Desktop.picture(id, HEAPU8.slice(gif, gif + gifSize), svg ? HEAPU8.slice(svg, svg + svgSize) : null,
                width, height);
});
EM_JS(void, js_fill_rect, (int x, int y, int w, int h, int rgb), { Desktop.fillRect(x, y, w, h, rgb); });
EM_JS(void, js_draw_picture, (int picture, double x, double y), { Desktop.drawPicture(picture, x, y); });
EM_JS(void, js_draw_line, (double x1, double y1, double x2, double y2, int width, int rgb, int invert), {
  Desktop.drawLine(x1, y1, x2, y2, width, rgb, !!invert);
});
EM_JS(void, js_fill_circle, (double x, double y, double d, int fill, int outline), {
  Desktop.fillCircle(x, y, d, fill, outline);
});
EM_JS(void, js_draw_text, (double x, double y, double w, const char* text, const char* font, int rgb), {
  Desktop.drawText(x, y, w, UTF8ToString(text), UTF8ToString(font), rgb);
});
EM_JS(int, js_system_color, (int which), { return Desktop.systemColor(which); });
EM_JS(void, js_beep, (), { Desktop.beep(); });
EM_JS(void, js_quit, (int status), { Desktop.quit(status); });
// clang-format on

namespace ui::web {

namespace {

int rgbOf(Rgb c) {
  return (c.r << 16) | (c.g << 8) | c.b;
}

double px(float twips) {
  return double(twips) / kTwipsPerPixel;
}

// The pictures handed to the page, each once, by number.
int pictureNumber(Picture p) {
  static std::map<Picture, int> numbers;
  auto [it, added] = numbers.emplace(p, int(numbers.size()));
  if (added)
    js_picture(it->second, p->bytes, int(p->size), p->vector, int(p->vectorSize), p->width(),
               p->height());
  return it->second;
}

// The drawing primitives, on the canvas the page is painting (in CSS pixels, which the page
// scales to the device).
class CanvasPainter final : public Painter {
 public:
  Rgb systemColor(Color::System s) const override {
    int v = js_system_color(int(s));
    return {std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
  }
  void fillRect(const PixelRect& r, Rgb c) override {
    js_fill_rect(r.left, r.top, r.right - r.left, r.bottom - r.top, rgbOf(c));
  }
  void drawPicture(Picture p, float left, float top) override {
    js_draw_picture(pictureNumber(p), px(left), px(top));
  }
  void drawLine(float x1, float y1, float x2, float y2, int width, Rgb c, bool invert) override {
    js_draw_line(px(x1), px(y1), px(x2), px(y2), width, rgbOf(c), invert);
  }
  void fillCircle(const TwipRect& box, Rgb fill, Rgb outline) override {
    js_fill_circle(px(box.left), px(box.top), px(box.width), rgbOf(fill), rgbOf(outline));
  }
  void drawText(const TwipRect& box, const char* text, const FontChoice& font, Rgb c) override {
    js_draw_text(px(box.left), px(box.top), px(box.width), text, cssOf(font).c_str(), rgbOf(c));
  }

 private:
  // A font as CSS names it (the weight, the size in pixels at 96 to the inch, the families in
  // turn), made once for each choice.
  static const std::string& cssOf(const FontChoice& font) {
    static std::vector<std::string> made;  // by FontChoice::id
    if (made.size() <= std::size_t(font.id)) made.resize(std::size_t(font.id) + 1);
    std::string& css = made[std::size_t(font.id)];
    if (css.empty()) {
      css = std::to_string(font.weight) + " " +
            std::to_string(int(std::lround(font.points * 96 / 72))) + "px";
      for (std::size_t i = 0; i < font.families.size(); ++i)
        css += (i ? ", \"" : " \"") + font.families[i] + "\"";
    }
    return css;
  }
};

class WebHost;
std::map<int, WebHost*>& hosts() {
  static std::map<int, WebHost*> h;
  return h;
}

class WebHost final : public Host {
 public:
  explicit WebHost(Form& form) : form_(form), id_(nextId()) {
    hosts()[id_] = this;
    js_create(id_, form.design().caption, int(form.design().clientWidth) / kTwipsPerPixel,
              int(form.design().clientHeight) / kTwipsPerPixel);
    for (const auto& top : form.menuBar()) {
      addMenu(*top, 0);
      for (const auto& m : top->children()) addMenu(*m, 1);
    }
    // The pictures the window may show are decoded while the child plays.
    for (const auto& e : form.drawingOrder())
      if (e->kind() == Kind::Image && static_cast<const Image&>(*e).Picture())
        pictureNumber(static_cast<const Image&>(*e).Picture());
  }
  ~WebHost() override {
    hosts().erase(id_);
    js_destroy(id_);
  }
  void show() override { js_show(id_); }
  void invalidate(const PixelRect& r) override {
    js_invalidate(id_, r.left, r.top, r.right, r.bottom);
  }
  void menuChanged(const Menu& m) override {
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i] == &m) js_menu_visible(id_, int(i), m.Visible());
  }
  Form& form() const { return form_; }
  const Menu* entry(int i) const {
    return i >= 0 && std::size_t(i) < entries_.size() ? entries_[std::size_t(i)] : nullptr;
  }

 private:
  static int nextId() {
    static int id = 0;
    return ++id;
  }
  void addMenu(const Menu& m, int level) {
    js_menu(id_, int(entries_.size()), level, m.Caption(), m.Visible());
    entries_.push_back(&m);
  }
  Form& form_;
  int id_;
  std::vector<const Menu*> entries_;  // by the number the page knows them by
};

Form* formOf(int id) {
  auto it = hosts().find(id);
  return it == hosts().end() ? nullptr : &it->second->form();
}

class WebPlatform final : public Platform {
 public:
  std::unique_ptr<Host> createHost(Form& form) override { return std::make_unique<WebHost>(form); }
  void beep() override { js_beep(); }
  void quit(int status) override { js_quit(status); }
};

}  // namespace

}  // namespace ui::web

// What the page calls. A window that is gone takes nothing.
extern "C" {

EMSCRIPTEN_KEEPALIVE void desktop_mouse(int id, int kind, int button, int shift, float x, float y) {
  ui::Form* f = ui::web::formOf(id);
  if (!f) return;
  if (kind == 0) f->mouseDown(button, shift, x, y);
  if (kind == 1) f->mouseMove(button, shift, x, y);  // for a move, the buttons held
  if (kind == 2) f->mouseUp(button, shift, x, y);
}

EMSCRIPTEN_KEEPALIVE void desktop_capture_lost(int id) {
  if (ui::Form* f = ui::web::formOf(id)) f->mouseCaptureLost();
}

EMSCRIPTEN_KEEPALIVE void desktop_menu(int id, int entry) {
  auto it = ui::web::hosts().find(id);
  if (it == ui::web::hosts().end()) return;
  if (const ui::Menu* m = it->second->entry(entry)) m->click();
}

EMSCRIPTEN_KEEPALIVE void desktop_close(int id) {
  if (ui::Form* f = ui::web::formOf(id)) f->closeRequested();
}

EMSCRIPTEN_KEEPALIVE void desktop_paint(int id, int left, int top, int right, int bottom) {
  ui::Form* f = ui::web::formOf(id);
  if (!f) return;
  ui::web::CanvasPainter painter;
  ui::paintForm(*f, {left, top, right, bottom}, painter);
}

}  // extern "C"

int ui::runProgram(int, char**, const WindowClass& startWindow, const ProgramInfo& info) {
  // The program lives on in the page after this returns; the page learns of its end by quit().
  static web::WebPlatform platform;
  startProgram(platform, startWindow, info);
  return 0;
}
