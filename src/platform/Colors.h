#pragma once

// The suite's colour values. A TColor is 0x00BBGGRR for a red-green-blue colour, or a
// system colour (the top bit set, the low byte the system's colour index), or one of the
// two special values clNone and clDefault. Colours are stored in the database and the
// registry in this form, so the numbers must stay as they are.

#include <QColor>
#include <QPalette>

#include <cstdint>

using TColor = std::uint32_t;

// Red, green and blue (0..255 each) as a TColor.
constexpr TColor RGBColor(unsigned red, unsigned green, unsigned blue)
{
    return TColor((red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16));
}

inline constexpr TColor clNone = 0x1FFFFFFF; // no colour at all: painted transparent
inline constexpr TColor clDefault = 0x20000000; // the control's own colour

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours: 0x80000000 + the system's colour index.
inline constexpr TColor clSystemColor = 0x80000000;
inline constexpr TColor clScrollBar = 0x80000000;
inline constexpr TColor clBackground = 0x80000001;
inline constexpr TColor clActiveCaption = 0x80000002;
inline constexpr TColor clInactiveCaption = 0x80000003;
inline constexpr TColor clMenu = 0x80000004;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowFrame = 0x80000006;
inline constexpr TColor clMenuText = 0x80000007;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clCaptionText = 0x80000009;
inline constexpr TColor clActiveBorder = 0x8000000A;
inline constexpr TColor clInactiveBorder = 0x8000000B;
inline constexpr TColor clAppWorkSpace = 0x8000000C;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clHighlightText = 0x8000000E;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clGrayText = 0x80000011;
inline constexpr TColor clBtnText = 0x80000012;
inline constexpr TColor clInactiveCaptionText = 0x80000013;
inline constexpr TColor clBtnHighlight = 0x80000014;
inline constexpr TColor cl3DDkShadow = 0x80000015;
inline constexpr TColor cl3DLight = 0x80000016;
inline constexpr TColor clInfoText = 0x80000017;
inline constexpr TColor clInfoBk = 0x80000018;
inline constexpr TColor clHotLight = 0x8000001A;
inline constexpr TColor clGradientActiveCaption = 0x8000001B;
inline constexpr TColor clGradientInactiveCaption = 0x8000001C;
inline constexpr TColor clMenuHighlight = 0x8000001D;
inline constexpr TColor clMenuBar = 0x8000001E;

constexpr bool IsSystemColor(TColor color)
{
    return (color & clSystemColor) != 0;
}

namespace platform {

// The colour to paint for a TColor. System colours come from palette (clWindow is Base,
// clBtnFace Button, clWindowText Text, clHighlight Highlight, ...); clNone is transparent;
// clDefault and system indices the palette has no role for give an invalid QColor, which
// means "leave the widget's own colour". Other values are read as 0x00BBGGRR (the high
// byte is ignored).
QColor ToQColor(TColor color, const QPalette &palette);

// The same against the application's palette (a default palette when no application
// object exists yet).
QColor ToQColor(TColor color);

} // namespace platform
