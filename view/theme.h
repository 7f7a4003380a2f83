#pragma once
// The eleven colour themes and the colour arithmetic every drawn part of the
// program shares. Portable: colours are 0x00BBGGRR values, as the system's
// colour references are, so tests need no window.
#include <cstdint>

namespace quorv {

using Colour = std::uint32_t;  // 0x00BBGGRR

inline constexpr int kThemeCount = 11;
inline constexpr int kDefaultTheme = 5;  // "Silver"
inline constexpr int kThemeColourCount = 9;

// The theme's name as the theme menu shows it; null outside 0 to 10.
const char* ThemeName(int theme);

// Colour k (0 to 8) of a theme; an index outside the table gives the
// default theme's colour (and a k outside 0 to 8 gives 0).
Colour GetThemeColour(int theme, int k);

inline constexpr int Red(Colour c) { return static_cast<int>(c & 0xFF); }
inline constexpr int Green(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int Blue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
inline constexpr Colour MakeColour(int r, int g, int b) {
    return static_cast<Colour>(r & 0xFF) | (static_cast<Colour>(g & 0xFF) << 8) |
           (static_cast<Colour>(b & 0xFF) << 16);
}

// Shifts the three components, each limited to 0..255. A red delta of 256 or
// more counts as 255; a green or blue delta of 256 or more counts as the red
// delta, so AdjustColour(c, d, 256, 256) shifts all three by d.
Colour AdjustColour(Colour colour, int red, int green, int blue);
// All three components by the same delta.
inline Colour AdjustColour(Colour colour, int delta) { return AdjustColour(colour, delta, 256, 256); }

}  // namespace quorv
