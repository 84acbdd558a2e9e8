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
#include <cmath>
#include <map>
#include <string>
#include <tuple>

#include "ui/program.h"

namespace ui::qt {

namespace {

QColor resolve(Color c, const QPalette& pal) {
  switch (c.system) {
    case Color::System::ButtonFace:
      return pal.color(QPalette::Button);
    case Color::System::ButtonText:
      return pal.color(QPalette::ButtonText);
    case Color::System::WindowText:
      return pal.color(QPalette::WindowText);
    case Color::System::None:
      break;
  }
  return QColor(c.r, c.g, c.b);
}

// The fonts of one window's labels, each made once per name, size and weight: labels are painted
// again on every repaint of the area they lie in, the rubber band's included.
class Fonts {
 public:
  const QFont& of(const FontDesign& d) {
    auto key = std::make_tuple(std::string(d.name), d.points, d.weight);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) it = fonts_.emplace(key, make(d)).first;
    return it->second;
  }

 private:
  static QFont make(const FontDesign& d) {
    QFont f;
    // The designs name fonts of the Windows desktop; where they are missing, close relatives
    // stand in.
    QStringList families{QString::fromUtf8(d.name)};
    if (families.front() == "Comic Sans MS") families << "Comic Neue";
    families << "DejaVu Sans";
    f.setFamilies(families);
    // Points at the design resolution of 96 pixels to the inch.
    f.setPixelSize(int(d.points * 96.0f / 72.0f + 0.5f));
    f.setWeight(d.weight >= 700 ? QFont::Bold : QFont::Normal);
    return f;
  }
  std::map<std::tuple<std::string, float, int>, QFont> fonts_;
};

QPointF toPixels(Single x, Single y) {
  return {x.value() / kTwipsPerPixel, y.value() / kTwipsPerPixel};
}

QRectF boxOf(const BoxElement& e) {
  return {e.Left().value() / kTwipsPerPixel, e.Top().value() / kTwipsPerPixel,
          e.Width().value() / kTwipsPerPixel, e.Height().value() / kTwipsPerPixel};
}

QRect toQRect(const PixelRect& r) {
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void paintLine(QPainter& p, const Line& l, const QPalette& pal) {
  if (l.drawsNothing()) return;
  QPointF a = toPixels(l.X1(), l.Y1()), b = toPixels(l.X2(), l.Y2());
  QPen pen(resolve(l.BorderColor(), pal), l.BorderWidth(), Qt::SolidLine, Qt::RoundCap,
           Qt::RoundJoin);
  p.setPen(pen);
  p.setCompositionMode(l.DrawMode() == kDrawInvert ? QPainter::RasterOp_NotDestination
                                                   : QPainter::CompositionMode_SourceOver);
  p.drawLine(a, b);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void paintShape(QPainter& p, const Shape& s, const QPalette& pal) {
  QRectF box = boxOf(s);
  qreal d = std::min(box.width(), box.height());
  if (d <= 0) return;
  QRectF circle(box.center().x() - d / 2, box.center().y() - d / 2, d, d);
  p.setPen(QPen(pal.color(QPalette::WindowText), 1));
  p.setBrush(Qt::black);
  // The one-pixel outline lies inside the box.
  p.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
  p.setBrush(Qt::NoBrush);
}

void paintLabel(QPainter& p, const Label& l, const QPalette& pal, Fonts& fonts) {
  p.setPen(resolve(l.ForeColor(), pal));
  p.setFont(fonts.of(l.font()));
  // A label fits its text: where a stand-in font is wider than the box, the text reaches out
  // on both sides of its centre.
  p.drawText(boxOf(l), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
             QString::fromUtf8(l.Caption()));
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

// Paints the client area of a form: the background, then its elements back to front.
void paintForm(QPainter& p, const Form& form, const QPalette& pal, const QRect& clip,
               Fonts& fonts) {
  p.fillRect(clip, pal.color(QPalette::Button));
  if (form.Picture()) {
    const QImage& img = imageAt(form.Picture(), p.device()->devicePixelRatioF());
    if (!img.isNull()) p.drawImage(QPointF(0, 0), img);
  }
  for (const auto& e : form.drawingOrder()) {
    if (!e->Visible() || !toQRect(e->paintBounds()).intersects(clip)) continue;
    switch (e->kind()) {
      case Kind::Shape:
        paintShape(p, static_cast<const Shape&>(*e), pal);
        break;
      case Kind::Line:
        paintLine(p, static_cast<const Line&>(*e), pal);
        break;
      case Kind::Label:
        paintLabel(p, static_cast<const Label&>(*e), pal, fonts);
        break;
      case Kind::Image:
        if (auto pic = static_cast<const Image&>(*e).Picture())
          p.drawImage(boxOf(static_cast<const Image&>(*e)).topLeft(),
                      imageAt(pic, p.device()->devicePixelRatioF()));
        break;
    }
  }
}

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

// A menu caption as read out: without the "&" that marks the access key ("&&" stands for "&").
QString withoutAccessKey(const char* caption) {
  QString text = QString::fromUtf8(caption), read;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && ++i == text.size()) break;
    read += text[i];
  }
  return read;
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
    paintForm(p, *form_, palette(), e->rect(), fonts_);
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
  Fonts fonts_;
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
        menu->setAccessibleName(withoutAccessKey(top->Caption()));
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

int ui::runProgram(int argc, char** argv, const WindowClass& startWindow, const IconImage& icon) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationName("FnorkTillFnork");
  // The desktop entry it is installed with (packaging/), for the desktop to match its windows.
  QGuiApplication::setDesktopFileName("se.fnork.FnorkTillFnork");
  qt::QtPlatform platform;
  Runtime& rt = runtime();
  rt.setPlatform(&platform);
  rt.setIcon(&icon);
  rt.run([&] { startWindow().Show(); });
  int status = rt.ended() ? rt.exitStatus() : QApplication::exec();
  rt.reset();
  rt.setPlatform(nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return status;
}
