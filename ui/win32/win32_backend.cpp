// The Win32 backend: one top-level window per loaded form, painted with GDI. It creates, paints
// and forwards; what the windows do is the runtime's business.
#include <objbase.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "ui/program.h"
#include "ui/runtime.h"
#include "ui/win32/painting.h"

namespace ui::win32 {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;
constexpr UINT kFirstCommand = 100;

// Functions of newer versions of Windows (10 and later), looked up at run time so that the
// program still starts on older ones, where the whole desktop has one resolution.
struct DpiFunctions {
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  BOOL(WINAPI* adjustWindowRectExForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;

  DpiFunctions() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return;
    find(user32, "GetDpiForWindow", getDpiForWindow);
    find(user32, "AdjustWindowRectExForDpi", adjustWindowRectExForDpi);
  }
  template <class Fn>
  static void find(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  }
};

const DpiFunctions& dpiFunctions() {
  static const DpiFunctions f;
  return f;
}

UINT dpiOf(HWND hwnd) {
  if (dpiFunctions().getDpiForWindow) return dpiFunctions().getDpiForWindow(hwnd);
  HDC dc = GetDC(nullptr);
  UINT dpi = UINT(GetDeviceCaps(dc, LOGPIXELSX));
  ReleaseDC(nullptr, dc);
  return dpi;
}

// The outer size of a window whose client area is `client` device pixels, menu bar included.
SIZE frameFor(SIZE client, UINT dpi) {
  RECT r{0, 0, client.cx, client.cy};
  if (dpiFunctions().adjustWindowRectExForDpi)
    dpiFunctions().adjustWindowRectExForDpi(&r, kStyle, TRUE, kExStyle, dpi);
  else
    AdjustWindowRectEx(&r, kStyle, TRUE, kExStyle);
  return {r.right - r.left, r.bottom - r.top};
}

Integer shiftOf(WPARAM keys) {
  return ((keys & MK_SHIFT) ? kShiftKey : 0) | ((keys & MK_CONTROL) ? kCtrlKey : 0) |
         (GetKeyState(VK_MENU) < 0 ? kAltKey : 0);
}

Integer buttonsOf(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? kLeftButton : 0) | ((keys & MK_RBUTTON) ? kRightButton : 0) |
         ((keys & MK_MBUTTON) ? kMiddleButton : 0);
}

// The program icon as a window icon: 32-bit colour with alpha, and a mask for the transparent
// pixels.
HICON makeIcon(const IconImage& icon) {
  constexpr int n = IconImage::kSize;
  BITMAPV5HEADER bi{};
  bi.bV5Size = sizeof bi;
  bi.bV5Width = n;
  bi.bV5Height = -n;  // top row first
  bi.bV5Planes = 1;
  bi.bV5BitCount = 32;
  bi.bV5Compression = BI_BITFIELDS;
  bi.bV5RedMask = 0x00FF0000;
  bi.bV5GreenMask = 0x0000FF00;
  bi.bV5BlueMask = 0x000000FF;
  bi.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS,
                                   &bits, nullptr, 0);
  if (!color) return nullptr;
  std::copy(std::begin(icon.pixels), std::end(icon.pixels), static_cast<std::uint32_t*>(bits));
  // The mask: one bit a pixel, rows padded to 16 bits, set where the icon is transparent.
  std::vector<BYTE> maskBits(std::size_t(n * n / 8), 0);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x)
      if ((icon.pixels[y * n + x] >> 24) == 0)
        maskBits[std::size_t(y * (n / 8) + x / 8)] |= BYTE(0x80 >> (x % 8));
  HBITMAP mask = CreateBitmap(n, n, 1, 1, maskBits.data());
  ICONINFO ii{TRUE, 0, 0, mask, color};
  HICON h = CreateIconIndirect(&ii);
  DeleteObject(mask);
  DeleteObject(color);
  return h;
}

class Win32Host final : public Host {
 public:
  Win32Host(Form& form, const wchar_t* windowClass, HICON icon);
  ~Win32Host() override;
  void show() override;
  void invalidate(const PixelRect& r) override;
  void menuChanged(const Menu&) override { buildMenu(); }

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void buildMenu();
  void addEntries(HMENU menu, const Menu& m);
  // Sizes the window so that its client area is exactly the design's size at `dpi`.
  void fitClient(UINT dpi, const RECT* suggested);
  SIZE clientSize() const {
    return {scale_.pixels(form_.design().clientWidth), scale_.pixels(form_.design().clientHeight)};
  }
  void paint();
  void press(Integer button, WPARAM wp, LPARAM lp);
  void release(Integer button, WPARAM wp, LPARAM lp);
  float x(LPARAM lp) const { return scale_.twips(GET_X_LPARAM(lp)); }
  float y(LPARAM lp) const { return scale_.twips(GET_Y_LPARAM(lp)); }

  Form& form_;
  HWND hwnd_ = nullptr;
  Scale scale_;
  FontCache fonts_;
  std::vector<const Menu*> commands_;  // by command number, from kFirstCommand on
  bool shown_ = false;
};

Win32Host::Win32Host(Form& form, const wchar_t* windowClass, HICON icon) : form_(form) {
  std::wstring caption = widen(form.design().caption);
  hwnd_ = CreateWindowExW(kExStyle, windowClass, caption.c_str(), kStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) Raise(ErrorNumber::OutOfMemory);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (icon) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  buildMenu();
  fitClient(dpiOf(hwnd_), nullptr);
}

Win32Host::~Win32Host() {
  // The window may be in the middle of delivering the message that unloaded its form (a menu
  // command, the close control): from here on its messages reach no form.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

void Win32Host::buildMenu() {
  HMENU bar = CreateMenu();
  commands_.clear();
  for (const auto& top : form_.menuBar()) {
    if (!top->Visible()) continue;
    HMENU popup = CreatePopupMenu();
    for (const auto& m : top->children()) addEntries(popup, *m);
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                widen(top->Caption()).c_str());
  }
  HMENU old = GetMenu(hwnd_);
  SetMenu(hwnd_, bar);
  if (old) DestroyMenu(old);
  DrawMenuBar(hwnd_);
}

void Win32Host::addEntries(HMENU menu, const Menu& m) {
  if (!m.Visible()) return;
  if (m.isSeparator()) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  if (!m.children().empty()) {
    HMENU sub = CreatePopupMenu();
    for (const auto& c : m.children()) addEntries(sub, *c);
    AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                widen(m.Caption()).c_str());
    return;
  }
  // "&" marks the access key, as in the designs.
  AppendMenuW(menu, MF_STRING, kFirstCommand + commands_.size(), widen(m.Caption()).c_str());
  commands_.push_back(&m);
}

void Win32Host::fitClient(UINT dpi, const RECT* suggested) {
  scale_.dpi = dpi;
  fonts_.clear();
  SIZE client = clientSize();
  SIZE frame = frameFor(client, dpi);
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE);
  int left = suggested ? suggested->left : 0, top = suggested ? suggested->top : 0;
  SetWindowPos(hwnd_, nullptr, left, top, frame.cx, frame.cy, flags);
  // A menu bar that wraps onto a second line takes room from the client area: the window grows
  // by what is missing.
  RECT now;
  GetClientRect(hwnd_, &now);
  int dw = client.cx - now.right, dh = client.cy - now.bottom;
  if (dw != 0 || dh != 0)
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx + dw, frame.cy + dh,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32Host::show() {
  if (!shown_) {
    shown_ = true;
    // Centred on the work area of the primary screen.
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    RECT r;
    GetWindowRect(hwnd_, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (mi.rcWork.left + mi.rcWork.right - w) / 2,
                 (mi.rcWork.top + mi.rcWork.bottom - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_SHOW);
  } else if (IsIconic(hwnd_)) {
    ShowWindow(hwnd_, SW_RESTORE);
  }
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
}

void Win32Host::invalidate(const PixelRect& r) {
  RECT rc = scale_.device(r);
  InvalidateRect(hwnd_, &rc, FALSE);
}

void Win32Host::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  paintBuffered(dc, ps.rcPaint, form_, scale_, fonts_);
  EndPaint(hwnd_, &ps);
}

void Win32Host::press(Integer button, WPARAM wp, LPARAM lp) {
  // The window keeps the mouse from the press until every button is up, wherever it goes.
  if (GetCapture() != hwnd_) SetCapture(hwnd_);
  form_.mouseDown(button, shiftOf(wp), x(lp), y(lp));
}

void Win32Host::release(Integer button, WPARAM wp, LPARAM lp) {
  HWND hwnd = hwnd_;
  bool last = buttonsOf(wp) == 0;
  form_.mouseUp(button, shiftOf(wp), x(lp), y(lp));
  // The handler may have unloaded the form and destroyed this host: only the copies are used.
  if (last && GetCapture() == hwnd) ReleaseCapture();
}

LRESULT Win32Host::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_PRINTCLIENT: {
      RECT all;
      GetClientRect(hwnd_, &all);
      paintBuffered(reinterpret_cast<HDC>(wp), all, form_, scale_, fonts_);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // painting covers every pixel
    case WM_LBUTTONDOWN:
      press(kLeftButton, wp, lp);
      return 0;
    case WM_RBUTTONDOWN:
      press(kRightButton, wp, lp);
      return 0;
    case WM_MBUTTONDOWN:
      press(kMiddleButton, wp, lp);
      return 0;
    case WM_LBUTTONUP:
      release(kLeftButton, wp, lp);
      return 0;
    case WM_RBUTTONUP:
      release(kRightButton, wp, lp);
      return 0;
    case WM_MBUTTONUP:
      release(kMiddleButton, wp, lp);
      return 0;
    case WM_MOUSEMOVE:
      form_.mouseMove(buttonsOf(wp), shiftOf(wp), x(lp), y(lp));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd_) form_.mouseCaptureLost();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == 0 && LOWORD(wp) >= kFirstCommand &&
          LOWORD(wp) - kFirstCommand < commands_.size()) {
        // The click may unload the form: nothing of this host is used after it.
        commands_[LOWORD(wp) - kFirstCommand]->click();
        return 0;
      }
      break;
    case WM_CLOSE:
      // The runtime decides: unloading the form destroys this window.
      form_.closeRequested();
      return 0;
    case WM_DPICHANGED:
      fitClient(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_GETDPISCALEDSIZE: {
      // The size the window will have at the new resolution, so that Windows keeps it exact.
      UINT dpi = UINT(wp);
      Scale at{dpi};
      *reinterpret_cast<SIZE*>(lp) = frameFor(
          {at.pixels(form_.design().clientWidth), at.pixels(form_.design().clientHeight)}, dpi);
      return TRUE;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Win32Host::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (host) return host->handle(msg, wp, lp);
  // A window whose form is gone (or not yet attached) closes only through its form.
  if (msg == WM_CLOSE) return 0;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class Win32Platform final : public Platform {
 public:
  // The window class is named after the program.
  explicit Win32Platform(const ProgramInfo& info)
      : class_(widen(info.name) + L"Window"), icon_(info.icon ? makeIcon(*info.icon) : nullptr) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32Host::windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = icon_;
    wc.hIconSm = icon_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = class_.c_str();
    RegisterClassExW(&wc);
  }
  ~Win32Platform() override {
    UnregisterClassW(class_.c_str(), GetModuleHandleW(nullptr));
    if (icon_) DestroyIcon(icon_);
  }
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  std::unique_ptr<Host> createHost(Form& form) override {
    return std::make_unique<Win32Host>(form, class_.c_str(), icon_);
  }
  void beep() override { MessageBeep(MB_OK); }
  void quit(int status) override { PostQuitMessage(status); }

 private:
  std::wstring class_;
  HICON icon_;
};

int messageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}

}  // namespace

}  // namespace ui::win32

int ui::runProgram(int, char**, const WindowClass& startWindow, const ProgramInfo& info) {
  // The imaging component that decodes the pictures is a COM component.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int status = 0;
  {
    win32::Win32Platform platform(info);
    status = endProgram(startProgram(platform, startWindow, info) ? win32::messageLoop() : 0);
  }
  win32::releasePictures();
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}
