#include "ui/win32/painting.h"

#include <wincodec.h>

#include <algorithm>
#include <cmath>

namespace ui::win32 {

namespace {

COLORREF resolve(Color c) {
  switch (c.system) {
    case Color::System::ButtonFace:
      return GetSysColor(COLOR_BTNFACE);
    case Color::System::ButtonText:
      return GetSysColor(COLOR_BTNTEXT);
    case Color::System::WindowText:
      return GetSysColor(COLOR_WINDOWTEXT);
    case Color::System::None:
      break;
  }
  return RGB(c.r, c.g, c.b);
}

RECT boxOf(const BoxElement& e, const Scale& s) {
  return {s.pixels(e.Left().value()), s.pixels(e.Top().value()),
          s.pixels((e.Left() + e.Width()).value()), s.pixels((e.Top() + e.Height()).value())};
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

// A picture drawn with its top-left corner at (x, y): unscaled at 100 %, enlarged pixel by
// pixel (no smoothing) above.
void paintPicture(HDC dc, Picture picture, int x, int y, const Scale& s) {
  HBITMAP bmp = bitmapOf(picture);
  if (!bmp) return;
  BITMAP info{};
  GetObjectW(bmp, sizeof info, &info);
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(src, bmp);
  if (s.dpi == 96) {
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, src, 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, s.pixels(float(info.bmWidth * kTwipsPerPixel)),
               s.pixels(float(info.bmHeight * kTwipsPerPixel)), src, 0, 0, info.bmWidth,
               info.bmHeight, SRCCOPY);
  }
  SelectObject(src, old);
  DeleteDC(src);
}

void paintShape(HDC dc, const Shape& shape, const Scale& s) {
  RECT box = boxOf(shape, s);
  int d = std::min(box.right - box.left, box.bottom - box.top);
  if (d <= 0) return;
  // The largest circle in the box, centred in it; its outline lies inside the box.
  int x = box.left + (box.right - box.left - d) / 2, y = box.top + (box.bottom - box.top - d) / 2;
  Selected pen(dc, CreatePen(PS_INSIDEFRAME, s.width(1), GetSysColor(COLOR_WINDOWTEXT)));
  Selected brush(dc, CreateSolidBrush(RGB(0, 0, 0)));
  Ellipse(dc, x, y, x + d, y + d);
}

void paintLine(HDC dc, const Line& line, const Scale& s) {
  if (line.drawsNothing()) return;
  Selected pen(dc, CreatePen(PS_SOLID, s.width(line.BorderWidth()), resolve(line.BorderColor())));
  // Draw mode 6 inverts every pixel under the line; the line's own colour has no effect.
  int oldRop = SetROP2(dc, line.DrawMode() == kDrawInvert ? R2_NOT : R2_COPYPEN);
  MoveToEx(dc, s.pixels(line.X1().value()), s.pixels(line.Y1().value()), nullptr);
  LineTo(dc, s.pixels(line.X2().value()), s.pixels(line.Y2().value()));
  SetROP2(dc, oldRop);
}

void paintLabel(HDC dc, const Label& label, const Scale& s, FontCache& fonts) {
  RECT box = boxOf(label, s);
  std::wstring text = widen(label.Caption());
  SelectObject(dc, fonts.get(label.font(), s.dpi));
  SetTextColor(dc, resolve(label.ForeColor()));
  SetBkMode(dc, TRANSPARENT);
  // Centred at the top of the box and not clipped: a wider stand-in font reaches out on both
  // sides.
  DrawTextW(dc, text.c_str(), int(text.size()), &box,
            DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
}

void paintForm(HDC dc, const RECT& area, const Form& form, const Scale& s, FontCache& fonts) {
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  if (form.Picture()) paintPicture(dc, form.Picture(), 0, 0, s);
  HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
  for (const auto& e : form.drawingOrder()) {
    RECT bounds = s.device(e->paintBounds()), overlap;
    if (!e->Visible() || !IntersectRect(&overlap, &bounds, &area)) continue;
    switch (e->kind()) {
      case Kind::Shape:
        paintShape(dc, static_cast<const Shape&>(*e), s);
        break;
      case Kind::Line:
        paintLine(dc, static_cast<const Line&>(*e), s);
        break;
      case Kind::Label:
        paintLabel(dc, static_cast<const Label&>(*e), s, fonts);
        break;
      case Kind::Image: {
        const auto& img = static_cast<const Image&>(*e);
        if (img.Picture()) {
          RECT box = boxOf(img, s);
          paintPicture(dc, img.Picture(), box.left, box.top, s);
        }
        break;
      }
    }
  }
  SelectObject(dc, oldFont);
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

HFONT FontCache::get(const FontDesign& d, UINT dpi) {
  auto key = std::make_tuple(std::string(d.name), d.points, d.weight, dpi);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  // The character height in pixels is the point size at the display's resolution. Where the
  // named font is missing, the system's font mapper chooses the closest one it has.
  LOGFONTW lf{};
  lf.lfHeight = -LONG(std::lround(double(d.points) * dpi / 72.0));
  lf.lfWeight = d.weight;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  std::wstring face = widen(d.name);
  face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  std::copy(face.begin(), face.end(), lf.lfFaceName);
  HFONT f = CreateFontIndirectW(&lf);
  fonts_.emplace(key, f);
  return f;
}

void FontCache::clear() {
  for (auto& [key, f] : fonts_) DeleteObject(f);
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
  paintForm(mem, area, form, scale, fonts);
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
