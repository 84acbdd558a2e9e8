#include "program_driver.h"

#include <wincodec.h>

#include <cstdio>
#include <stdexcept>

#include "app/program_info.h"
#include "app/start_window.h"
#include "ui/program.h"

namespace win32_tests {

namespace {

constexpr DWORD kAnswerMs = 5000;

void sendAndWait(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, kAnswerMs, &result);
}

struct Search {
  DWORD thread;
  std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (GetWindowThreadProcessId(hwnd, nullptr) == s->thread && IsWindowVisible(hwnd))
    s->found.push_back(hwnd);
  return TRUE;
}

template <class Done>
bool waitFor(DWORD timeoutMs, Done done) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

void key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
  Sleep(50);
}

}  // namespace

std::uint32_t rgbOf(COLORREF c) {
  return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

std::uint32_t inverse(std::uint32_t rgb) {
  return ~rgb & 0xFFFFFF;
}

std::uint32_t buttonFace() {
  return rgbOf(GetSysColor(COLOR_BTNFACE));
}

void Pixels::save(const std::wstring& path) const {
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = width;
  ih.biHeight = -height;
  ih.biPlanes = 1;
  ih.biBitCount = 32;
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = DWORD(fh.bfOffBits + rgb.size() * 4);
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return;
  std::fwrite(&fh, sizeof fh, 1, f);
  std::fwrite(&ih, sizeof ih, 1, f);
  std::fwrite(rgb.data(), 4, rgb.size(), f);
  std::fclose(f);
}

// ---- running programs ----

std::vector<HWND> Running::windows() const {
  Search s{threadId(), {}};
  EnumWindows(&collect, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND Running::window(const std::wstring& caption, DWORD timeoutMs) const {
  HWND found = nullptr;
  waitFor(timeoutMs, [&] {
    for (HWND h : windows())
      if (captionOf(h) == caption) found = h;
    return found != nullptr;
  });
  return found;
}

bool Running::gone(const std::wstring& caption, DWORD timeoutMs) const {
  return waitFor(timeoutMs, [&] {
    for (HWND h : windows())
      if (captionOf(h) == caption) return false;
    return true;
  });
}

RunningProgram::RunningProgram() {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring command = L"\"" + programPath() + L"\"";
  if (!CreateProcessW(programPath().c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi_))
    throw std::runtime_error("cannot start the program");
  WaitForInputIdle(pi_.hProcess, 10000);
  window(kStartCaption, 10000);
}

RunningProgram::~RunningProgram() {
  if (waitForEnd(0) < 0) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
}

int RunningProgram::waitForEnd(DWORD timeoutMs) {
  if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return int(code);
}

ProgramThread::ProgramThread() {
  thread_ = CreateThread(nullptr, 0, &ProgramThread::run, this, 0, &threadId_);
  if (!thread_) throw std::runtime_error("cannot start the program thread");
  window(kStartCaption, 10000);
}

DWORD WINAPI ProgramThread::run(void* self) {
  // What FnorkTillFnork.exe's main does.
  static_cast<ProgramThread*>(self)->status_ =
      ui::runProgram(0, nullptr, app::frmMain, app::programInfo());
  return 0;
}

ProgramThread::~ProgramThread() {
  if (waitForEnd(0) < 0) {
    // A test that stopped half-way: its program ends as at the end of the event loop.
    PostThreadMessageW(threadId_, WM_QUIT, 99, 0);
    WaitForSingleObject(thread_, 10000);
  }
  CloseHandle(thread_);
}

int ProgramThread::waitForEnd(DWORD timeoutMs) {
  if (WaitForSingleObject(thread_, timeoutMs) != WAIT_OBJECT_0) return -1;
  return status_;
}

// ---- windows, menus, input, pixels ----

std::wstring captionOf(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

std::wstring menuBarEntry(HWND hwnd) {
  wchar_t text[256] = {};
  GetMenuStringW(GetMenu(hwnd), 0, text, 256, MF_BYPOSITION);
  return text;
}

std::vector<std::wstring> menuEntries(HWND hwnd) {
  std::vector<std::wstring> entries;
  HMENU menu = GetSubMenu(GetMenu(hwnd), 0);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STRING;
    mi.dwTypeData = text;
    mi.cch = 256;
    GetMenuItemInfoW(menu, UINT(i), TRUE, &mi);
    entries.push_back((mi.fType & MFT_SEPARATOR) ? L"-" : text);
  }
  return entries;
}

bool choose(HWND hwnd, const std::wstring& entry) {
  HMENU menu = GetSubMenu(GetMenu(hwnd), 0);
  std::vector<std::wstring> entries = menuEntries(hwnd);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] != entry) continue;
    UINT id = GetMenuItemID(menu, int(i));
    sendAndWait(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
  }
  return false;
}

void typeKeys(HWND hwnd, std::initializer_list<WORD> keys) {
  // Keys go to the window that has the keyboard focus in the program's thread, which follows
  // the foreground once that thread has taken note of it.
  SetForegroundWindow(hwnd);
  waitFor(2000, [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) &&
           info.hwndFocus == hwnd;
  });
  for (WORD k : keys) {
    key(k, false);
    key(k, true);
  }
}

void press(HWND hwnd, int x, int y) {
  sendAndWait(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void moveTo(HWND hwnd, int x, int y) {
  sendAndWait(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
}

void release(HWND hwnd, int x, int y) {
  sendAndWait(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

HWND captureOf(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(threadId, &info)) return nullptr;
  return info.hwndCapture;
}

SIZE clientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

Pixels grab(HWND hwnd) {
  Pixels p;
  SIZE size = clientSize(hwnd);
  p.width = size.cx;
  p.height = size.cy;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size.cx;
  bi.bmiHeader.biHeight = -size.cy;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  PrintWindow(hwnd, dc, PW_CLIENTONLY);
  GdiFlush();
  const auto* src = static_cast<const std::uint32_t*>(bits);
  p.rgb.assign(src, src + std::size_t(size.cx) * std::size_t(size.cy));
  for (auto& v : p.rgb) v &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return p;
}

Pixels decode(const ui::PictureData& picture) {
  Pixels p;
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  UINT w = 0, h = 0;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(
          stream->InitializeFromMemory(const_cast<BYTE*>(picture.bytes), DWORD(picture.size))) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                 &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                      nullptr, 0.0, WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->GetSize(&w, &h))) {
    p.width = int(w);
    p.height = int(h);
    p.rgb.resize(std::size_t(w) * h);
    converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(p.rgb.data()));
    for (auto& v : p.rgb) v &= 0xFFFFFF;
  }
  for (IUnknown* u : std::initializer_list<IUnknown*>{converter, frame, decoder, stream, factory})
    if (u) u->Release();
  return p;
}

std::vector<std::uint32_t> iconPixels(HICON icon) {
  constexpr int n = ui::IconImage::kSize;
  std::vector<std::uint32_t> color(n * n), mask(n * n);
  ICONINFO ii{};
  if (!icon || !GetIconInfo(icon, &ii)) return {};
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = n;
  bi.bmiHeader.biHeight = -n;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, ii.hbmColor, 0, n, color.data(), &bi, DIB_RGB_COLORS);
  bi.bmiHeader.biHeight = -n;
  GetDIBits(dc, ii.hbmMask, 0, n, mask.data(), &bi, DIB_RGB_COLORS);
  DeleteDC(dc);
  DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  std::vector<std::uint32_t> out(n * n);
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = (mask[i] & 0xFFFFFF) ? 0 : 0xFF000000 | (color[i] & 0xFFFFFF);
  return out;
}

std::vector<std::uint32_t> iconPixels(const ui::IconImage& icon) {
  std::vector<std::uint32_t> out;
  for (std::uint32_t p : icon.pixels) out.push_back((p >> 24) == 0 ? 0 : 0xFF000000 | p);
  return out;
}

}  // namespace win32_tests
