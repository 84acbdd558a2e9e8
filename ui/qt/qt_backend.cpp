#include "ui/qt/qt_backend.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/program.h"

namespace ui::qt {

namespace {

QRect toQRect(const PixelRect& r) {
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QPointF toPixels(float x, float y) {
  return {x / kTwipsPerPixel, y / kTwipsPerPixel};
}

QRectF toPixels(const TwipRect& r) {
  return {toPixels(r.left, r.top), QSizeF(r.width, r.height) / kTwipsPerPixel};
}

QColor toQColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

QFont makeFont(const FontChoice& c) {
  QFont f;
  QStringList families;
  for (const auto& name : c.families) families << QString::fromStdString(name);
  f.setFamilies(families);
  // Points at the design resolution of 96 pixels to the inch.
  f.setPixelSize(int(c.points * 96.0f / 72.0f + 0.5f));
  f.setWeight(c.weight >= 700 ? QFont::Bold : QFont::Normal);
  return f;
}

// A picture as drawn on a device with `ratio` device pixels to a pixel: at one to one (or where the
// program has no drawing to make it from) the stored GIF itself; above that, the picture's SVG
// drawing rendered at device resolution onto white, as the GIF was made, so that it stays sharp.
const QImage& imageAt(Picture picture, qreal ratio) {
  if (ratio <= 1 || !picture || !picture->vector) return imageOf(picture);
  static std::map<std::pair<Picture, qreal>, QImage> cache;
  auto it = cache.find({picture, ratio});
  if (it != cache.end()) return it->second;
  QSvgRenderer svg(QByteArray::fromRawData(reinterpret_cast<const char*>(picture->vector),
                                           qsizetype(picture->vectorSize)));
  if (!svg.isValid()) return imageOf(picture);
  QSizeF size = QSizeF(picture->width(), picture->height()) * ratio;
  QImage img(int(std::ceil(size.width())), int(std::ceil(size.height())), QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  svg.render(&p, QRectF(QPointF(0, 0), size));
  p.end();
  img.setDevicePixelRatio(ratio);
  return cache.emplace(std::make_pair(picture, ratio), std::move(img)).first->second;
}

// The drawing primitives on a QPainter, in logical pixels of the widget.
class QtPainter final : public Painter {
 public:
  QtPainter(QPainter& p, const QPalette& pal, std::vector<std::optional<QFont>>& fonts)
      : p_(p), pal_(pal), fonts_(fonts) {}
  Rgb systemColor(Color::System s) const override {
    QColor c = pal_.color(s == Color::System::ButtonFace   ? QPalette::Button
                          : s == Color::System::ButtonText ? QPalette::ButtonText
                                                           : QPalette::WindowText);
    return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
  }
  void fillRect(const PixelRect& r, Rgb c) override { p_.fillRect(toQRect(r), toQColor(c)); }
  void drawPicture(Picture picture, float left, float top) override {
    // The device's pixels to a pixel: the screen's, or those of an image painted at a scale.
    qreal ratio = std::max(p_.device()->devicePixelRatioF(), p_.deviceTransform().m11());
    const QImage& img = imageAt(picture, ratio);
    if (!img.isNull()) p_.drawImage(toPixels(left, top), img);
  }
  void drawLine(float x1, float y1, float x2, float y2, int width, Rgb c, bool invert) override {
    p_.setPen(QPen(toQColor(c), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p_.setCompositionMode(invert ? QPainter::RasterOp_NotDestination
                                 : QPainter::CompositionMode_SourceOver);
    p_.drawLine(toPixels(x1, y1), toPixels(x2, y2));
    p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  void fillCircle(const TwipRect& box, Rgb fill, Rgb outline) override {
    p_.setPen(QPen(toQColor(outline), 1));
    p_.setBrush(toQColor(fill));
    // The one-pixel outline lies inside the box.
    p_.drawEllipse(toPixels(box).adjusted(0.5, 0.5, -0.5, -0.5));
    p_.setBrush(Qt::NoBrush);
  }
  void drawText(const TwipRect& box, const char* text, const FontChoice& font, Rgb c) override {
    if (fonts_.size() <= std::size_t(font.id)) fonts_.resize(std::size_t(font.id) + 1);
    std::optional<QFont>& f = fonts_[std::size_t(font.id)];
    if (!f) f = makeFont(font);
    p_.setPen(toQColor(c));
    p_.setFont(*f);
    p_.drawText(toPixels(box),
                Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                QString::fromUtf8(text));
  }

 private:
  QPainter& p_;
  const QPalette& pal_;
  std::vector<std::optional<QFont>>& fonts_;  // by FontChoice::id, made on first use
};

Integer buttonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return kLeftButton;
    case Qt::RightButton:
      return kRightButton;
    case Qt::MiddleButton:
      return kMiddleButton;
    default:
      return 0;
  }
}

Integer buttonsOf(Qt::MouseButtons b) {
  return (b & Qt::LeftButton ? kLeftButton : 0) | (b & Qt::RightButton ? kRightButton : 0) |
         (b & Qt::MiddleButton ? kMiddleButton : 0);
}

Integer shiftOf(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? kShiftKey : 0) | (m & Qt::ControlModifier ? kCtrlKey : 0) |
         (m & Qt::AltModifier ? kAltKey : 0);
}

QIcon iconOf(const IconImage& icon) {
  QImage img(reinterpret_cast<const uchar*>(icon.pixels), IconImage::kSize, IconImage::kSize,
             IconImage::kSize * 4, QImage::Format_ARGB32);
  return QIcon(QPixmap::fromImage(img.copy()));
}

// The client area: paints the form and forwards the mouse in twips.
class Canvas final : public QWidget {
 public:
  Canvas(Form* form, QWidget* parent) : QWidget(parent), form_(form) {
    setFixedSize(int(form->design().clientWidth) / kTwipsPerPixel,
                 int(form->design().clientHeight) / kTwipsPerPixel);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  void detach() { form_ = nullptr; }
  Form* form() const { return form_; }

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (!form_) return;
    QPainter p(this);
    QtPainter painter(p, palette(), fonts_);
    QRect r = e->rect();
    paintForm(*form_, {r.left(), r.top(), r.right() + 1, r.bottom() + 1}, painter);
  }
  void mousePressEvent(QMouseEvent* e) override { press(e); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { press(e); }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!form_) return;
    QPointF at = e->position() * kTwipsPerPixel;
    form_->mouseMove(buttonsOf(e->buttons()), shiftOf(e->modifiers()), float(at.x()),
                     float(at.y()));
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    Integer b = buttonOf(e->button());
    if (!form_ || b == 0) return;
    QPointF at = e->position() * kTwipsPerPixel;
    form_->mouseUp(b, shiftOf(e->modifiers()), float(at.x()), float(at.y()));
  }

 private:
  void press(QMouseEvent* e) {
    Integer b = buttonOf(e->button());
    if (!form_ || b == 0) return;
    QPointF at = e->position() * kTwipsPerPixel;
    form_->mouseDown(b, shiftOf(e->modifiers()), float(at.x()), float(at.y()));
  }
  Form* form_;
  std::vector<std::optional<QFont>> fonts_;
};

class FormWindow final : public QWidget {
 public:
  explicit FormWindow(Form& form)
      : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                             Qt::WindowCloseButtonHint) {
    setWindowTitle(QString::fromUtf8(form.design().caption));
    setAccessibleName(windowTitle());
    if (const IconImage* icon = runtime().icon()) setWindowIcon(iconOf(*icon));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (!form.menuBar().empty()) {
      auto* bar = new QMenuBar(this);
      for (const auto& top : form.menuBar()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(top->Caption()));
        // Qt reads menu entries out without their "&"; the drop-down itself needs its name.
        menu->setAccessibleName(QString::fromStdString(withoutAccessKey(top->Caption())));
        menu->menuAction()->setVisible(top->Visible());
        actions_[top.get()] = menu->menuAction();
        // An open menu takes the mouse: a button let go over it never reaches the window.
        connect(menu, &QMenu::aboutToShow, this, [this] {
          if (Form* f = canvas_->form()) f->mouseCaptureLost();
        });
        for (const auto& m : top->children()) addEntry(menu, *m);
      }
      layout->setMenuBar(bar);
    }
    canvas_ = new Canvas(&form, this);
    layout->addWidget(canvas_);
  }
  Canvas* canvas() const { return canvas_; }
  void detach() {
    canvas_->detach();
    actions_.clear();
  }
  void menuChanged(const Menu& m) {
    auto it = actions_.find(&m);
    if (it != actions_.end()) it->second->setVisible(m.Visible());
  }

 protected:
  void closeEvent(QCloseEvent* e) override {
    // The runtime decides: unloading the form destroys this window.
    e->ignore();
    if (Form* f = canvas_->form()) f->closeRequested();
  }

 private:
  void addEntry(QMenu* menu, const Menu& m) {
    QAction* a =
        m.isSeparator() ? menu->addSeparator() : menu->addAction(QString::fromUtf8(m.Caption()));
    a->setVisible(m.Visible());
    actions_[&m] = a;
    if (m.isSeparator()) return;
    const Menu* entry = &m;
    connect(a, &QAction::triggered, this, [this, entry] {
      // The entry lives as long as its form is loaded, which the canvas knows.
      if (canvas_->form()) entry->click();
    });
  }
  Canvas* canvas_;
  std::map<const Menu*, QAction*> actions_;
};

class QtHost final : public Host {
 public:
  explicit QtHost(Form& form) : window_(new FormWindow(form)) {}
  ~QtHost() override {
    // The window may be in the middle of delivering the event that unloaded its form (a menu
    // command, the close control): it is hidden now and deleted once that event is over.
    window_->detach();
    window_->hide();
    window_->deleteLater();
  }
  void show() override {
    if (!shown_) {
      shown_ = true;
      window_->adjustSize();
      if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect area = s->availableGeometry();
        window_->move(area.center() - window_->rect().center());
      }
      window_->show();
    } else {
      window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
      window_->show();
    }
    window_->raise();
    window_->activateWindow();
  }
  void invalidate(const PixelRect& r) override { window_->canvas()->update(toQRect(r)); }
  void menuChanged(const Menu& m) override { window_->menuChanged(m); }
  FormWindow* window() const { return window_; }

 private:
  FormWindow* window_;
  bool shown_ = false;
};

}  // namespace

std::unique_ptr<Host> QtPlatform::createHost(Form& form) {
  return std::make_unique<QtHost>(form);
}

void QtPlatform::beep() {
  QApplication::beep();
}

void QtPlatform::quit(int status) {
  QCoreApplication::exit(status);
}

QWidget* windowOf(const Form& form) {
  auto* host = static_cast<QtHost*>(form.host());
  return host ? host->window() : nullptr;
}

QWidget* clientOf(const Form& form) {
  auto* host = static_cast<QtHost*>(form.host());
  return host ? host->window()->canvas() : nullptr;
}

QImage grabClient(const Form& form) {
  QWidget* c = clientOf(form);
  return c ? c->grab().toImage() : QImage();
}

const QImage& imageOf(Picture picture) {
  static std::map<Picture, QImage> cache;
  auto it = cache.find(picture);
  if (it == cache.end()) {
    QImage img;
    if (picture) img.loadFromData(picture->bytes, int(picture->size), "GIF");
    it = cache.emplace(picture, img.convertToFormat(QImage::Format_RGB32)).first;
  }
  return it->second;
}

}  // namespace ui::qt

int ui::runProgram(int argc, char** argv, const WindowClass& startWindow, const ProgramInfo& info) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationName(QString::fromUtf8(info.name));
  // The desktop entry it is installed with, for the desktop to match its windows.
  QGuiApplication::setDesktopFileName(QString::fromUtf8(info.desktopId));
  qt::QtPlatform platform;
  int status = endProgram(startProgram(platform, startWindow, info) ? QApplication::exec() : 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return status;
}
