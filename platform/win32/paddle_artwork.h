#pragma once
// The paddle's pictures, drawn in code so that the driver carries no image files: the
// background galaxy, the window icon and the four direction glyphs.
#include <windows.h>

namespace tramox::platform::win32 {

inline constexpr int kBackgroundWidth = 354;
inline constexpr int kBackgroundHeight = 504;

// A 354 x 504 spiral galaxy on a starry sky, as a top-down 32-bit DIB section. The caller
// owns the bitmap (DeleteObject).
HBITMAP createGalaxyBitmap();

// A 32 x 32 icon in the sixteen VGA colours: a mount's cross of arrows on a night-blue disc.
// The caller owns the icon (DestroyIcon).
HICON createPaddleIcon();

enum class GlyphDirection { Up, Down, Left, Right };

// Draws a 32 x 32 glyph, a filled triangle pointing in the direction, centred in the
// rectangle; the glyph's white background is left out, so the button face shows through.
void drawDirectionGlyph(HDC dc, const RECT& area, GlyphDirection direction, bool enabled);

}  // namespace tramox::platform::win32
