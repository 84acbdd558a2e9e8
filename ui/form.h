// Windows built from designs: loading and unloading, element arrays, the drawing order, the
// background picture, menus and the routing of mouse events.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/design.h"
#include "ui/elements.h"
#include "ui/values.h"

namespace ui {

class Host;
class Form;

// The elements of one name in a window, addressed by a 16-bit index. A single element (one
// without an index) is an array with just the entry kNoIndex.
class ArrayBase {
 public:
  ArrayBase(const ArrayBase&) = delete;
  ArrayBase& operator=(const ArrayBase&) = delete;
  // Indexes are 16-bit: a value beyond that range raises the overflow error.
  bool exists(long long index) const;
  // Creates element `index` as a hidden copy of element 0, in front of every other element.
  void Load(long long index);

 protected:
  ArrayBase(Form& form, std::string name, Kind kind, bool single);
  Element& at(long long index) const;

 private:
  friend class Form;
  Form* form_;
  std::string name_;
  Kind kind_;
  bool single_;
  std::vector<Element*> slots_;  // by index; a single element is the only one, in slot 0
};

template <class T>
constexpr Kind kindOf() {
  if constexpr (std::is_same_v<T, Shape>) return Kind::Shape;
  if constexpr (std::is_same_v<T, Line>) return Kind::Line;
  if constexpr (std::is_same_v<T, Label>) return Kind::Label;
  static_assert(std::is_same_v<T, Shape> || std::is_same_v<T, Line> || std::is_same_v<T, Label> ||
                std::is_same_v<T, Image>);
  return Kind::Image;
}

template <class T>
class ControlArray : public ArrayBase {
 public:
  ControlArray(Form& form, std::string name)
      : ArrayBase(form, std::move(name), kindOf<T>(), false) {}
  // The element at `index`; the run-time error 340 if there is none.
  T& operator()(long long index) const { return static_cast<T&>(at(index)); }
};

// A single element of a window, reached by its name.
template <class T>
class Control : public ArrayBase {
 public:
  Control(Form& form, std::string name) : ArrayBase(form, std::move(name), kindOf<T>(), true) {}
  T* operator->() const { return &static_cast<T&>(at(kNoIndex)); }
  T& operator*() const { return static_cast<T&>(at(kNoIndex)); }
};

// A menu entry of a window, reached by its name (and index, in a menu array).
class MenuRef {
 public:
  MenuRef(Form& form, std::string name) : form_(&form), name_(std::move(name)) {}
  Menu* operator->() const;
  Menu& operator()(long long index) const;

 private:
  Form* form_;
  std::string name_;
};

// Mouse buttons and modifier keys as handlers receive them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftKey : int { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

class Form {
 public:
  explicit Form(const FormDesign& design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const FormDesign& design() const { return design_; }
  bool loaded() const { return loaded_; }

  // Loads the window if needed, shows it and returns at once; an open window only comes to the
  // front.
  void Show();
  // The background picture, drawn unscaled from the client area's top-left corner under the
  // elements; nullptr is the plain background.
  ui::Picture Picture() const { return picture_; }
  void Picture(ui::Picture p);

  // Elements in drawing order, back to front. Empty while the window is not loaded.
  const std::vector<std::unique_ptr<Element>>& drawingOrder() const { return order_; }
  const std::vector<std::unique_ptr<Menu>>& menuBar() const { return menus_; }
  Menu* menu(const std::string& name, Integer index = kNoIndex) const;
  Host* host() const { return host_.get(); }

  // Input from the backend, in twips. Presses on a visible label go to the label and are
  // swallowed with the moves and the release that follow; a press on the window keeps the mouse
  // there until every button is up, wherever the pointer goes. Run-time errors are caught here.
  void mouseDown(Integer button, Integer shift, Single x, Single y);
  void mouseMove(Integer buttons, Integer shift, Single x, Single y);
  void mouseUp(Integer button, Integer shift, Single x, Single y);
  // The backend lost the mouse (a menu or another window took it): forget the held buttons. A
  // move that finds a held button up does the same.
  void mouseCaptureLost();
  // The frame's close control.
  void closeRequested();
  // Asks the backend to repaint these pixels.
  void invalidate(const PixelRect& r);

 protected:
  virtual void Form_Load() {}
  virtual void Form_MouseDown(Integer /*Button*/, Integer /*Shift*/, Single /*X*/, Single /*Y*/) {}
  virtual void Form_MouseMove(Integer /*Button*/, Integer /*Shift*/, Single /*X*/, Single /*Y*/) {}
  virtual void Form_MouseUp(Integer /*Button*/, Integer /*Shift*/, Single /*X*/, Single /*Y*/) {}
  // Binds a click handler to the menu entries of a name (the index is kNoIndex for a single one).
  void onClick(const std::string& menuName, std::function<void(Integer)> handler);

 private:
  friend class ArrayBase;
  friend class Element;
  friend class Menu;
  friend class Runtime;
  friend void Unload(Form& form);
  void load();
  void unload();
  void addElement(std::unique_ptr<Element> e);
  void reorder(Element& e, bool toFront);
  // Repaints after a visible element changed from covering `before`. Within an event handler,
  // its place before the handler is repainted at once and its place after it once the handler is
  // over, so that the steps in between (one end of a line set, the other not yet) are never
  // repainted; outside a handler both at once.
  void repaintChange(const Element& e, const PixelRect& before);
  void repaintChanged();
  void forgetChanges();
  bool labelAt(Single x, Single y) const;
  void click(const Menu& m);

  const FormDesign& design_;
  bool loaded_ = false;
  ui::Picture picture_ = nullptr;
  std::vector<std::unique_ptr<Element>> order_;
  std::vector<ArrayBase*> arrays_;
  std::vector<std::unique_ptr<Menu>> menus_;
  std::map<std::string, std::function<void(Integer)>> clickHandlers_;
  std::unique_ptr<Host> host_;
  // Mouse routing: the buttons held since a press reached this window, and who took the press.
  int held_ = 0;
  bool heldByLabel_ = false;
  std::vector<const Element*> changed_;  // visible elements changed by the running handler
};

// Destroys the window and its elements; the window object and its fields stay. No effect on a
// window that is not loaded. The program ends when no window is left loaded.
void Unload(Form& form);
// The system's default sound.
void Beep();

// A window class: one instance, created on first reference without loading or showing it, that
// lives for the rest of the run.
class WindowClass {
 public:
  using Factory = std::unique_ptr<Form> (*)();
  constexpr WindowClass(const char* name, Factory factory) : name_(name), factory_(factory) {}
  const char* name() const { return name_; }
  Form& operator()() const;
  bool exists() const;

 private:
  friend class Runtime;
  const char* name_;
  Factory factory_;
};

}  // namespace ui
