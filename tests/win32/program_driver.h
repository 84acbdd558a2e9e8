// Drives the Windows program as the system and the player would: finds its windows, reads their
// menus, chooses menu entries, sends mouse messages in client pixels, types keys and reads the
// client area back with PrintWindow.
//
// Two ways to run it: RunningProgram starts FnorkTillFnork.exe itself, as a process of its own
// (reached only through window messages and keyboard input, as wine keeps menus and device
// contexts to their process); ProgramThread runs the same program start, ui::runProgram with the
// start window and the program icon, on a thread of the test, so that its menus and windows can
// also be read and printed.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "ui/design.h"

namespace win32_tests {

// FnorkTillFnork.exe (set by main from the command line).
const std::wstring& programPath();

inline const wchar_t kStartCaption[] = L"Fnork till fnork av Bromle";

// The dot centres of picture 1 in twips, dot 1 first.
inline constexpr POINT kBild1Centres[] = {{480, 1905},  {4470, 1905}, {4470, 2220}, {4275, 3510},
                                          {3990, 3630}, {4200, 4110}, {3720, 4185}, {3555, 3705},
                                          {1395, 3705}, {1215, 4110}, {720, 4065},  {945, 3600},
                                          {630, 3465},  {465, 2205}};

// A picture of a client area, as 0xRRGGBB pixels.
struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t at(int x, int y) const { return rgb[std::size_t(y * width + x)]; }
  // Writes the picture as a BMP file, to look at after a failure.
  void save(const std::wstring& path) const;
};

std::uint32_t rgbOf(COLORREF c);
std::uint32_t inverse(std::uint32_t rgb);
// The system's button-face colour, the plain background of every window.
std::uint32_t buttonFace();

// A running program: its windows and its end.
class Running {
 public:
  virtual ~Running() = default;
  // The visible top-level window of the program with this caption, waiting for it a while;
  // nullptr if none comes.
  HWND window(const std::wstring& caption, DWORD timeoutMs = 5000) const;
  // Waits until no window with this caption is left; false if one still is.
  bool gone(const std::wstring& caption, DWORD timeoutMs = 5000) const;
  // Every visible top-level window of the program.
  std::vector<HWND> windows() const;
  // Waits for the program to end; its exit status, or -1 if it still runs.
  virtual int waitForEnd(DWORD timeoutMs = 10000) = 0;
  // The thread that runs the program's windows.
  virtual DWORD threadId() const = 0;
};

class RunningProgram final : public Running {
 public:
  RunningProgram();
  ~RunningProgram() override;
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  int waitForEnd(DWORD timeoutMs = 10000) override;
  DWORD threadId() const override { return pi_.dwThreadId; }

 private:
  PROCESS_INFORMATION pi_{};
};

class ProgramThread final : public Running {
 public:
  ProgramThread();
  ~ProgramThread() override;
  ProgramThread(const ProgramThread&) = delete;
  ProgramThread& operator=(const ProgramThread&) = delete;
  int waitForEnd(DWORD timeoutMs = 10000) override;
  DWORD threadId() const override { return threadId_; }

 private:
  static DWORD WINAPI run(void* self);
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  int status_ = -1;
};

std::wstring captionOf(HWND hwnd);
// The text of the window's first menu-bar entry, and those of its drop-down ("-" for a
// separator). Only for windows of this process.
std::wstring menuBarEntry(HWND hwnd);
std::vector<std::wstring> menuEntries(HWND hwnd);
// Chooses the drop-down entry with this text as a click on it does; false if there is none.
// Only for windows of this process.
bool choose(HWND hwnd, const std::wstring& entry);
// Brings the window to the front and types keys at it one by one, as the keyboard does
// (virtual-key codes: 'A' for the A key, VK_F10).
void typeKeys(HWND hwnd, std::initializer_list<WORD> keys);
// Mouse messages at client pixel (x, y), returning once the window has handled them.
void press(HWND hwnd, int x, int y);
void moveTo(HWND hwnd, int x, int y);
void release(HWND hwnd, int x, int y);
// The window of that thread that holds the mouse, if any.
HWND captureOf(DWORD threadId);
SIZE clientSize(HWND hwnd);
// The client area as the window paints it now. Only for windows of this process.
Pixels grab(HWND hwnd);
// A picture of the program decoded by the system's imaging component.
Pixels decode(const ui::PictureData& picture);
// The 32 x 32 pixels of an icon as 0xAARRGGBB, transparent pixels as 0.
std::vector<std::uint32_t> iconPixels(HICON icon);
// The same for an icon image as the program holds it.
std::vector<std::uint32_t> iconPixels(const ui::IconImage& icon);

}  // namespace win32_tests
