#include "ui/win32/painting.h"

#include <wincodec.h>

#include <algorithm>
#include <cmath>

namespace ui::win32 {

namespace {

COLORREF ref(Rgb c) {
  return RGB(c.r, c.g, c.b);
}

// Selects a GDI object into a DC for one scope and deletes it afterwards.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), obj_(obj), old_(SelectObject(dc, obj)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(obj_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ obj_, old_;
};

class GdiPainter final : public Painter {
 public:
  GdiPainter(HDC dc, const Scale& s, FontCache& fonts) : dc_(dc), s_(s), fonts_(fonts) {}
  Rgb systemColor(Color::System c) const override {
    COLORREF v = GetSysColor(c == Color::System::ButtonFace   ? COLOR_BTNFACE
                             : c == Color::System::ButtonText ? COLOR_BTNTEXT
                                                              : COLOR_WINDOWTEXT);
    return {GetRValue(v), GetGValue(v), GetBValue(v)};
  }
  void fillRect(const PixelRect& r, Rgb c) override {
    RECT rc = s_.device(r);
    HBRUSH brush = CreateSolidBrush(ref(c));
    FillRect(dc_, &rc, brush);
    DeleteObject(brush);
  }
  // Unscaled at 100 %, enlarged pixel by pixel (no smoothing) above.
  void drawPicture(Picture picture, float left, float top) override {
    HBITMAP bmp = bitmapOf(picture);
    if (!bmp) return;
    BITMAP info{};
    GetObjectW(bmp, sizeof info, &info);
    HDC src = CreateCompatibleDC(dc_);
    HGDIOBJ old = SelectObject(src, bmp);
    int x = s_.pixels(left), y = s_.pixels(top);
    if (s_.dpi == 96) {
      BitBlt(dc_, x, y, info.bmWidth, info.bmHeight, src, 0, 0, SRCCOPY);
    } else {
      SetStretchBltMode(dc_, COLORONCOLOR);
      StretchBlt(dc_, x, y, s_.pixels(float(info.bmWidth * kTwipsPerPixel)),
                 s_.pixels(float(info.bmHeight * kTwipsPerPixel)), src, 0, 0, info.bmWidth,
                 info.bmHeight, SRCCOPY);
    }
    SelectObject(src, old);
    DeleteDC(src);
  }
  void drawLine(float x1, float y1, float x2, float y2, int width, Rgb c, bool invert) override {
    Selected pen(dc_, CreatePen(PS_SOLID, s_.width(width), ref(c)));
    // Inverting: every pixel under the line is inverted; the line's own colour has no effect.
    int oldRop = SetROP2(dc_, invert ? R2_NOT : R2_COPYPEN);
    MoveToEx(dc_, s_.pixels(x1), s_.pixels(y1), nullptr);
    LineTo(dc_, s_.pixels(x2), s_.pixels(y2));
    SetROP2(dc_, oldRop);
  }
  void fillCircle(const TwipRect& box, Rgb fill, Rgb outline) override {
    int x = s_.pixels(box.left), y = s_.pixels(box.top);
    int d = std::min(s_.pixels(box.left + box.width) - x, s_.pixels(box.top + box.height) - y);
    Selected pen(dc_, CreatePen(PS_INSIDEFRAME, s_.width(1), ref(outline)));
    Selected brush(dc_, CreateSolidBrush(ref(fill)));
    Ellipse(dc_, x, y, x + d, y + d);
  }
  void drawText(const TwipRect& box, const char* text, const FontChoice& font, Rgb c) override {
    RECT rc{s_.pixels(box.left), s_.pixels(box.top), s_.pixels(box.left + box.width),
            s_.pixels(box.top + box.height)};
    std::wstring w = widen(text);
    HGDIOBJ oldFont = SelectObject(dc_, fonts_.get(font, s_.dpi));
    SetTextColor(dc_, ref(c));
    SetBkMode(dc_, TRANSPARENT);
    DrawTextW(dc_, w.c_str(), int(w.size()), &rc,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    SelectObject(dc_, oldFont);
  }

 private:
  HDC dc_;
  const Scale& s_;
  FontCache& fonts_;
};

int CALLBACK foundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool hasFamily(const std::wstring& face) {
  HDC dc = GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &lf, &foundFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

struct DecodedPictures {
  std::map<Picture, HBITMAP> bitmaps;
};
DecodedPictures& decoded() {
  static DecodedPictures d;
  return d;
}

template <class T>
void release(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

HBITMAP decode(const PictureData& picture) {
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  HBITMAP bmp = nullptr;
  UINT w = 0, h = 0;
  bool ok =
      SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
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
      SUCCEEDED(converter->GetSize(&w, &h)) && w > 0 && h > 0;
  if (ok) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = LONG(w);
    bi.bmiHeader.biHeight = -LONG(h);  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE*>(bits)))) {
      DeleteObject(bmp);
      bmp = nullptr;
    }
  }
  release(converter);
  release(frame);
  release(decoder);
  release(stream);
  release(factory);
  return bmp;
}

}  // namespace

RECT Scale::device(const PixelRect& r) const {
  auto down = [&](int v) { return int(std::floor(double(v) * dpi / 96.0)); };
  auto up = [&](int v) { return int(std::ceil(double(v) * dpi / 96.0)); };
  return {down(r.left), down(r.top), up(r.right), up(r.bottom)};
}

PixelRect Scale::logical(const RECT& r) const {
  auto down = [&](LONG v) { return int(std::floor(double(v) * 96.0 / dpi)); };
  auto up = [&](LONG v) { return int(std::ceil(double(v) * 96.0 / dpi)); };
  return {down(r.left), down(r.top), up(r.right), up(r.bottom)};
}

HFONT FontCache::get(const FontChoice& c, UINT dpi) {
  if (fonts_.size() <= std::size_t(c.id)) fonts_.resize(std::size_t(c.id) + 1, nullptr);
  HFONT& f = fonts_[std::size_t(c.id)];
  if (f) return f;
  std::wstring face = widen(c.families.front().c_str());
  for (const auto& name : c.families) {
    if (hasFamily(widen(name.c_str()))) {
      face = widen(name.c_str());
      break;
    }
  }
  // The character height in pixels is the point size at the display's resolution.
  LOGFONTW lf{};
  lf.lfHeight = -LONG(std::lround(double(c.points) * dpi / 72.0));
  lf.lfWeight = c.weight;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  f = CreateFontIndirectW(&lf);
  return f;
}

void FontCache::clear() {
  for (HFONT f : fonts_)
    if (f) DeleteObject(f);
  fonts_.clear();
}

void paintBuffered(HDC target, const RECT& area, const Form& form, const Scale& scale,
                   FontCache& fonts) {
  int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  HDC mem = CreateCompatibleDC(target);
  HBITMAP bmp = CreateCompatibleBitmap(target, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  SetViewportOrgEx(mem, -area.left, -area.top, nullptr);
  GdiPainter painter(mem, scale, fonts);
  paintForm(form, scale.logical(area), painter);
  BitBlt(target, area.left, area.top, w, h, mem, area.left, area.top, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

HBITMAP bitmapOf(Picture picture) {
  if (!picture) return nullptr;
  auto& cache = decoded().bitmaps;
  auto it = cache.find(picture);
  if (it == cache.end()) it = cache.emplace(picture, decode(*picture)).first;
  return it->second;
}

void releasePictures() {
  for (auto& [picture, bmp] : decoded().bitmaps)
    if (bmp) DeleteObject(bmp);
  decoded().bitmaps.clear();
}

std::wstring widen(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring w(std::size_t(n - 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), n);
  return w;
}

}  // namespace ui::win32
