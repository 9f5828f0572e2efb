#include "platform/win32/paddle_artwork.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/units.h"

namespace tramox::platform::win32 {
namespace {

// Where the galaxy sits in the picture: inside the part the 157 x 286 client area shows.
constexpr double kCentreX = 80.0;
constexpr double kCentreY = 150.0;

// A small deterministic generator: the picture is the same on every machine and every run.
class Lcg {
 public:
  std::uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_;
  }
  double unit() { return static_cast<double>(next() >> 8) / 16777216.0; }

 private:
  std::uint32_t state_ = 20261208u;
};

std::uint8_t toByte(double v) {
  if (v <= 0.0) {
    return 0;
  }
  if (v >= 255.0) {
    return 255;
  }
  return static_cast<std::uint8_t>(v);
}

// Brightness of the two logarithmic arms at a point, 0 (sky) to about 1 (core).
double galaxyLight(double x, double y) {
  const double dx = x - kCentreX;
  const double dy = (y - kCentreY) / 0.62;  // seen at an angle: an ellipse
  const double r = std::sqrt(dx * dx + dy * dy) + 0.5;
  const double theta = std::atan2(dy, dx);
  const double core = std::exp(-r / 9.0);
  const double disc = std::exp(-r / 38.0);
  // Angular distance to the nearest arm of the pair r = a e^(b(theta + k pi)).
  const double armPhase = std::log(r / 4.0) / 0.32;
  double d = std::fmod(theta - armPhase, units::kPi);
  if (d < 0) {
    d += units::kPi;
  }
  d = std::min(d, units::kPi - d);
  const double arm = std::exp(-(d * d) / 0.18) * disc;
  return 1.4 * core + 0.55 * arm + 0.12 * disc;
}

}  // namespace

HBITMAP createGalaxyBitmap() {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kBackgroundWidth;
  info.bmiHeader.biHeight = -kBackgroundHeight;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    return bitmap;
  }
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < kBackgroundHeight; ++y) {
    for (int x = 0; x < kBackgroundWidth; ++x) {
      const double light = galaxyLight(x, y);
      // Warm core, bluish arms, a night-blue sky.
      const double red = 8 + 255 * std::min(1.0, light * 1.05);
      const double green = 10 + 235 * std::min(1.0, light * 0.95);
      const double blue = 28 + 255 * std::min(1.0, light * 0.85 + 0.1 * light);
      pixels[y * kBackgroundWidth + x] = (static_cast<std::uint32_t>(toByte(red)) << 16) |
                                         (static_cast<std::uint32_t>(toByte(green)) << 8) |
                                         toByte(blue);
    }
  }
  Lcg random;
  for (int i = 0; i < 900; ++i) {
    const int x = static_cast<int>(random.unit() * kBackgroundWidth);
    const int y = static_cast<int>(random.unit() * kBackgroundHeight);
    const double glow = 90 + 165 * random.unit() * random.unit();
    std::uint32_t& p = pixels[y * kBackgroundWidth + x];
    const std::uint8_t g = toByte(glow);
    p = (std::max<std::uint32_t>((p >> 16) & 0xFF, g) << 16) |
        (std::max<std::uint32_t>((p >> 8) & 0xFF, g) << 8) | std::max<std::uint32_t>(p & 0xFF, g);
  }
  return bitmap;
}

HICON createPaddleIcon() {
  constexpr int kSize = 32;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP colour = CreateCompatibleBitmap(screen, kSize, kSize);
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, nullptr);
  ReleaseDC(nullptr, screen);

  // Colour plane: the disc and the arrows, in VGA colours only.
  HGDIOBJ previous = SelectObject(dc, colour);
  RECT all{0, 0, kSize, kSize};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HBRUSH navy = CreateSolidBrush(RGB(0, 0, 128));
  HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  SelectObject(dc, navy);
  SelectObject(dc, white);
  Ellipse(dc, 1, 1, kSize - 1, kSize - 1);
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
  SelectObject(dc, yellow);
  SelectObject(dc, GetStockObject(NULL_PEN));
  const POINT up[] = {{16, 4}, {11, 11}, {21, 11}};
  const POINT down[] = {{16, 28}, {11, 21}, {21, 21}};
  const POINT left[] = {{4, 16}, {11, 11}, {11, 21}};
  const POINT right[] = {{28, 16}, {21, 11}, {21, 21}};
  Polygon(dc, up, 3);
  Polygon(dc, down, 3);
  Polygon(dc, left, 3);
  Polygon(dc, right, 3);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(dc, red);
  Ellipse(dc, 13, 13, 20, 20);

  // Mask plane: opaque (0) inside the disc, transparent (1) outside.
  SelectObject(dc, mask);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  Ellipse(dc, 1, 1, kSize - 1, kSize - 1);

  SelectObject(dc, previous);
  DeleteObject(navy);
  DeleteObject(white);
  DeleteObject(yellow);
  DeleteObject(red);
  DeleteDC(dc);

  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask;
  info.hbmColor = colour;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

void drawDirectionGlyph(HDC dc, const RECT& area, GlyphDirection direction, bool enabled) {
  const int cx = (area.left + area.right) / 2;
  const int cy = (area.top + area.bottom) / 2;
  constexpr int kHalf = 9;  // of the triangle inside its 32 x 32 glyph
  POINT points[3];
  switch (direction) {
    case GlyphDirection::Up:
      points[0] = {cx, cy - kHalf};
      points[1] = {cx - kHalf, cy + kHalf / 2};
      points[2] = {cx + kHalf, cy + kHalf / 2};
      break;
    case GlyphDirection::Down:
      points[0] = {cx, cy + kHalf};
      points[1] = {cx - kHalf, cy - kHalf / 2};
      points[2] = {cx + kHalf, cy - kHalf / 2};
      break;
    case GlyphDirection::Left:
      points[0] = {cx - kHalf, cy};
      points[1] = {cx + kHalf / 2, cy - kHalf};
      points[2] = {cx + kHalf / 2, cy + kHalf};
      break;
    case GlyphDirection::Right:
      points[0] = {cx + kHalf, cy};
      points[1] = {cx - kHalf / 2, cy - kHalf};
      points[2] = {cx - kHalf / 2, cy + kHalf};
      break;
  }
  const COLORREF fill = enabled ? RGB(0, 0, 160) : GetSysColor(COLOR_GRAYTEXT);
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, 1, fill);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Polygon(dc, points, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

}  // namespace tramox::platform::win32
