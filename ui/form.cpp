#include "ui/form.h"

#include <algorithm>

#include "ui/runtime.h"

namespace ui {

namespace {

std::unique_ptr<Element> makeElement(Form& form, const ElementDesign& d) {
  switch (d.kind) {
    case Kind::Shape:
      return std::make_unique<Shape>(form, d);
    case Kind::Line:
      return std::make_unique<Line>(form, d);
    case Kind::Label:
      return std::make_unique<Label>(form, d);
    case Kind::Image:
      return std::make_unique<Image>(form, d);
  }
  Raise(ErrorNumber::InvalidCall);
}

// Slot of an index in an array's slot vector: single elements sit in slot 0.
std::size_t slotOf(std::int16_t index) {
  return index == kNoIndex ? 0 : std::size_t(index);
}

}  // namespace

// ---- element arrays ----

ArrayBase::ArrayBase(Form& form, std::string name, Kind kind, bool single)
    : form_(&form), name_(std::move(name)), kind_(kind), single_(single) {
  form.arrays_.push_back(this);
}

bool ArrayBase::exists(long long i) const {
  Integer index = i;
  if (single_ ? index != kNoIndex : index < 0) return false;
  std::size_t slot = slotOf(std::int16_t(index));
  return slot < slots_.size() && slots_[slot] != nullptr;
}

Element& ArrayBase::at(long long i) const {
  Integer index = i;
  if (!exists(index)) Raise(ErrorNumber::ElementDoesNotExist, index);
  return *slots_[slotOf(std::int16_t(index))];
}

void ArrayBase::Load(long long i) {
  Integer index = i;
  if (single_ || index < 0) Raise(ErrorNumber::ElementDoesNotExist, index);
  if (exists(index)) Raise(ErrorNumber::ObjectAlreadyLoaded);
  std::unique_ptr<Element> copy = at(0).clone();
  copy->index_ = std::int16_t(index);
  copy->visible_ = false;
  form_->addElement(std::move(copy));
}

Menu* MenuRef::operator->() const {
  return &(*this)(kNoIndex);
}

Menu& MenuRef::operator()(long long i) const {
  Integer index = i;
  Menu* m = form_->menu(name_, index);
  if (m == nullptr) Raise(ErrorNumber::ElementDoesNotExist, index);
  return *m;
}

// ---- windows ----

Form::Form(const FormDesign& design) : design_(design) {}

Form::~Form() {
  forgetChanges();
}

void Form::Show() {
  if (!loaded_) {
    load();
    Form_Load();
    // The load handler may have unloaded the window again.
    if (!loaded_) return;
  }
  if (host_) host_->show();
}

void Form::load() {
  loaded_ = true;
  runtime().formLoaded();
  for (const ElementDesign& d : design_.elements) addElement(makeElement(*this, d));
  Menu* top = nullptr;
  for (const MenuDesign& d : design_.menus) {
    auto m = std::make_unique<Menu>(*this, d);
    if (d.level == 0 || top == nullptr) {
      top = m.get();
      menus_.push_back(std::move(m));
    } else {
      top->children_.push_back(std::move(m));
    }
  }
  if (Platform* p = runtime().platform()) host_ = p->createHost(*this);
}

void Form::addElement(std::unique_ptr<Element> e) {
  for (ArrayBase* a : arrays_) {
    if (a->name_ != e->name()) continue;
    // A design whose element does not fit the window's code cannot be loaded.
    if (a->kind_ != e->kind() || a->single_ != (e->index_ == kNoIndex))
      Raise(ErrorNumber::InvalidCall);
    std::size_t slot = slotOf(e->index_);
    if (a->slots_.size() <= slot) a->slots_.resize(slot + 1, nullptr);
    a->slots_[slot] = e.get();
  }
  // New elements come in front of the others.
  order_.push_back(std::move(e));
}

void Form::unload() {
  // The real window goes first, so that nothing paints elements that are being discarded.
  host_.reset();
  for (ArrayBase* a : arrays_) a->slots_.clear();
  order_.clear();
  menus_.clear();
  picture_ = nullptr;
  held_ = 0;
  heldByLabel_ = false;
  forgetChanges();
  loaded_ = false;
  runtime().formUnloaded();
}

void Unload(Form& form) {
  if (form.loaded_) form.unload();
}

void Beep() {
  if (Platform* p = runtime().platform()) p->beep();
}

void Form::Picture(ui::Picture p) {
  if (p == picture_) return;
  picture_ = p;
  invalidate({0, 0, int(design_.clientWidth) / kTwipsPerPixel + 1,
              int(design_.clientHeight) / kTwipsPerPixel + 1});
}

void Form::reorder(Element& e, bool toFront) {
  auto it =
      std::find_if(order_.begin(), order_.end(), [&](const auto& p) { return p.get() == &e; });
  if (it == order_.end()) return;
  if (toFront) {
    std::rotate(it, it + 1, order_.end());
  } else {
    std::rotate(order_.begin(), it, it + 1);
  }
  if (e.Visible()) invalidate(e.paintBounds());
}

Menu* Form::menu(const std::string& name, Integer index) const {
  for (const auto& top : menus_) {
    if (top->name() == name && top->Index() == index) return top.get();
    for (const auto& m : top->children_)
      if (m->name() == name && m->Index() == index) return m.get();
  }
  return nullptr;
}

void Form::invalidate(const PixelRect& r) {
  if (host_ && !r.empty()) host_->invalidate(r);
}

void Form::repaintChange(const Element& e, const PixelRect& before) {
  Runtime& rt = runtime();
  if (rt.running_ == 0) {
    invalidate(before);
    invalidate(e.paintBounds());
    return;
  }
  if (std::find(changed_.begin(), changed_.end(), &e) != changed_.end()) return;
  invalidate(before);
  if (changed_.empty()) rt.changed_.push_back(this);
  changed_.push_back(&e);
}

void Form::repaintChanged() {
  for (const Element* e : changed_)
    if (e->Visible()) invalidate(e->paintBounds());
  changed_.clear();
}

void Form::forgetChanges() {
  // The runtime lists exactly the windows with changes to repaint.
  if (changed_.empty()) return;
  std::erase(runtime().changed_, this);
  changed_.clear();
}

void Form::onClick(const std::string& menuName, std::function<void(Integer)> handler) {
  clickHandlers_[menuName] = std::move(handler);
}

void Form::click(const Menu& m) {
  if (!loaded_ || m.isSeparator()) return;
  auto it = clickHandlers_.find(m.name());
  if (it == clickHandlers_.end()) return;
  Integer index = m.Index();
  // The handler may unload this window, and with it the entry: only the copies above are used.
  auto handler = it->second;
  runtime().run([&] { handler(index); });
}

void Form::closeRequested() {
  runtime().run([&] { Unload(*this); });
}

// ---- mouse routing ----

bool Form::labelAt(Single x, Single y) const {
  for (const auto& e : order_) {
    if (e->kind() != Kind::Label || !e->Visible()) continue;
    const auto& l = static_cast<const Label&>(*e);
    if (x >= l.Left() && x < l.Left() + l.Width() && y >= l.Top() && y < l.Top() + l.Height())
      return true;
  }
  return false;
}

void Form::mouseDown(Integer button, Integer shift, Single x, Single y) {
  runtime().run([&] {
    if (!loaded_) return;
    // A press with no button held decides who keeps the mouse until every button is up.
    if (held_ == 0) heldByLabel_ = labelAt(x, y);
    held_ |= int(button);
    if (!heldByLabel_) Form_MouseDown(button, shift, x, y);
  });
}

void Form::mouseMove(Integer buttons, Integer shift, Single x, Single y) {
  runtime().run([&] {
    if (!loaded_) return;
    // A held button that the move finds up was let go where this window could not see it (a menu
    // or another window had taken the mouse): the mouse is no longer kept.
    if (held_ & ~int(buttons)) mouseCaptureLost();
    bool toLabel = held_ != 0 ? heldByLabel_ : labelAt(x, y);
    if (!toLabel) Form_MouseMove(buttons, shift, x, y);
  });
}

void Form::mouseUp(Integer button, Integer shift, Single x, Single y) {
  runtime().run([&] {
    if (!loaded_) return;
    bool toLabel = held_ != 0 ? heldByLabel_ : labelAt(x, y);
    held_ &= ~int(button);
    if (held_ == 0) heldByLabel_ = false;
    if (!toLabel) Form_MouseUp(button, shift, x, y);
  });
}

void Form::mouseCaptureLost() {
  held_ = 0;
  heldByLabel_ = false;
}

// ---- window classes and the runtime ----

Form& WindowClass::operator()() const {
  auto& list = runtime().instances_;
  for (auto& [cls, form] : list)
    if (cls == this) return *form;
  list.emplace_back(this, factory_());
  return *list.back().second;
}

bool WindowClass::exists() const {
  for (auto& [cls, form] : runtime().instances_)
    if (cls == this) return true;
  return false;
}

}  // namespace ui
