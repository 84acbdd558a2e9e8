// The window tests on the Windows program: its start, ui::runProgram, runs on a thread of the test
// so that its menus and client areas can be read; messages sent to its windows return once they
// are handled; the mouse is given in client pixels.
#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "app/program_info.h"
#include "app/start_window.h"
#include "facts.h"
#include "pictures/designs.h"
#include "window/driver.h"

namespace win32_tests {

namespace {

std::string narrow(const wchar_t* text) {
  char s[512] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, s, sizeof s, nullptr, nullptr);
  return s;
}

// The visible top-level windows of a thread (the program's windows are all of one thread).
std::vector<HWND> windowsOf(DWORD thread) {
  std::vector<HWND> found;
  auto add = [](HWND h, LPARAM list) -> BOOL {
    if (IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
    return TRUE;
  };
  EnumThreadWindows(thread, add, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string captionOf(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return narrow(text);
}

// The visible window of that thread with this caption, waiting for it a while; nullptr if none.
HWND windowOf(DWORD thread, const std::string& caption, DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(10))
    for (HWND h : windowsOf(thread))
      if (captionOf(h) == caption) return h;
  return nullptr;
}

using window_tests::Pixels;

class Win32Driver final : public window_tests::Driver {
 public:
  void start() override {
    HDC screen = GetDC(nullptr);
    scale_ = GetDeviceCaps(screen, LOGPIXELSX) / 96.0;
    ReleaseDC(nullptr, screen);
    thread_ = CreateThread(nullptr, 0, &run, this, 0, &threadId_);
    if (!thread_ || !windowOf(threadId_, facts::kStartCaption, 10000))
      throw std::runtime_error("the program did not start");
  }
  void stop() override {
    if (WaitForSingleObject(thread_, 0) != WAIT_OBJECT_0) {
      // A test that stopped half-way: its program ends as at the end of the event loop.
      PostThreadMessageW(threadId_, WM_QUIT, 99, 0);
      WaitForSingleObject(thread_, 10000);
    }
    CloseHandle(thread_);
  }
  int exitStatus() override { return WaitForSingleObject(thread_, 2000) ? -1 : status_; }
  std::vector<std::string> windows() override {
    std::vector<std::string> captions;
    for (HWND h : windowsOf(threadId_)) captions.push_back(captionOf(h));
    return captions;
  }
  Pixels grab(const std::string& caption) override {
    HWND w = window(caption);
    RECT r{};
    GetClientRect(w, &r);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    PrintWindow(w, dc, PW_CLIENTONLY);
    GdiFlush();
    // In pixels of the design: on a display above 100 %, the pixel at each one's middle.
    Pixels p{int(r.right / scale_), int(r.bottom / scale_), {}};
    const auto* src = static_cast<const std::uint32_t*>(bits);
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        p.rgb.push_back(src[device(y) * r.right + device(x)] & 0xFFFFFF);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return p;
  }
  std::vector<std::string> menu(const std::string& caption) override {
    HMENU bar = GetMenu(window(caption)), menu = GetSubMenu(bar, 0);
    wchar_t text[256] = {};
    GetMenuStringW(bar, 0, text, 256, MF_BYPOSITION);
    std::vector<std::string> entries{narrow(text)};
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      bool separator = GetMenuStringW(menu, UINT(i), text, 256, MF_BYPOSITION) == 0;
      entries.push_back(separator ? "-" : narrow(text));
    }
    return entries;
  }
  void choose(const std::string& caption, const std::string& entry) override {
    std::vector<std::string> entries = menu(caption);
    auto it = std::find(entries.begin() + 1, entries.end(), entry);
    if (it == entries.end()) return ADD_FAILURE() << "no entry " << entry << " in " << caption;
    HWND w = window(caption);
    UINT id = GetMenuItemID(GetSubMenu(GetMenu(w), 0), int(it - entries.begin() - 1));
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  }
  void closeFrame(const std::string& caption) override {
    SendMessageW(window(caption), WM_CLOSE, 0, 0);
  }
  void press(const std::string& caption, int x, int y) override {
    SendMessageW(window(caption), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(device(x), device(y)));
  }
  void move(const std::string& caption, int x, int y) override {
    SendMessageW(window(caption), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(device(x), device(y)));
  }
  void release(const std::string& caption, int x, int y) override {
    SendMessageW(window(caption), WM_LBUTTONUP, 0, MAKELPARAM(device(x), device(y)));
  }
  std::uint32_t background() override {
    COLORREF c = GetSysColor(COLOR_BTNFACE);
    return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
  }
  // Decoded by the system's imaging component.
  Pixels finishedPicture(int n) override {
    const ui::PictureData& picture = pictures::finishedPicture(n);
    IWICImagingFactory* wic = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* bgr = nullptr;
    UINT w = 0, h = 0;
    Pixels p;  // stays empty, and fails the comparison, where the system cannot decode it
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&wic))) &&
        SUCCEEDED(wic->CreateStream(&stream)) &&
        SUCCEEDED(
            stream->InitializeFromMemory(const_cast<BYTE*>(picture.bytes), DWORD(picture.size))) &&
        SUCCEEDED(wic->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                               &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame, &bgr)) &&
        SUCCEEDED(bgr->GetSize(&w, &h))) {
      p = {int(w), int(h), std::vector<std::uint32_t>(std::size_t(w) * h)};
      bgr->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(p.rgb.data()));
      for (auto& v : p.rgb) v &= 0xFFFFFF;
    }
    for (IUnknown* u : std::initializer_list<IUnknown*>{bgr, frame, decoder, stream, wic})
      if (u) u->Release();
    return p;
  }

 private:
  // A pixel of the design as a pixel of the display.
  int device(int pixel) const { return int((pixel + 0.5) * scale_); }
  static DWORD WINAPI run(void* self) {
    // What FnorkTillFnork.exe's main does.
    static_cast<Win32Driver*>(self)->status_ =
        ui::runProgram(0, nullptr, app::frmMain, app::programInfo());
    return 0;
  }
  HWND window(const std::string& caption) const {
    HWND h = windowOf(threadId_, caption, 2000);
    if (!h) throw std::runtime_error("no window " + caption);
    return h;
  }
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  int status_ = -1;
  double scale_ = 1;  // pixels of the display to a pixel of the design
};

}  // namespace

}  // namespace win32_tests

window_tests::Driver& window_tests::driver() {
  static win32_tests::Win32Driver d;
  return d;
}
