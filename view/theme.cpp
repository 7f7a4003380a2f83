#include "view/theme.h"

namespace quorv {
namespace {

const char* const kNames[kThemeCount] = {
    "Black", "Sky", "Lime", "Orange", "Licorice", "Silver", "Blue", "Green", "Dark Blue", "Dark Green", "Silver White",
};

// Row t holds the nine colours of theme t, as 0x00BBGGRR values.
const Colour kTable[kThemeCount][kThemeColourCount] = {
    {0xFFFFFF, 0xE3E5E5, 0xF3F6F6, 0xB7B9B9, 0x6B6969, 0xB7B9B9, 0x64C8FA, 0xFFFFFF, 0x525050},
    {0xFFFFFF, 0xF0E8E6, 0xFFF8F6, 0xF0D3CF, 0x967975, 0xFFEBE7, 0x96DCFF, 0x6A4D48, 0x6A4D48},
    {0xFFFFFF, 0xE6F2E2, 0xF1FFF1, 0x9CD79C, 0x5A8A62, 0x9CD79C, 0x64C8FA, 0xFFFFFF, 0x4B5244},
    {0xFFFFFF, 0xDCEBF5, 0xEBF5FF, 0x6EC8FF, 0x5677A6, 0x6EC8FF, 0x64FFC8, 0xFFFFFF, 0x414B53},
    {0xFFFFFF, 0xEEE1DF, 0xFFF6F3, 0xE7ADAD, 0x9C6E6E, 0xE7ADAD, 0x64C8FA, 0xFFFFFF, 0x68514D},
    {0xFFFFFF, 0xE3DFE0, 0xF6F1F3, 0xD1C7C5, 0x696766, 0xD4D1CF, 0x64C8FA, 0xFFFFFF, 0x645957},
    {0xFFFFFF, 0xEBE1DF, 0xFFF5F3, 0xFFBEB4, 0x916955, 0xFFBEB4, 0x64C8FA, 0xFFFFFF, 0x655144},
    {0xFFFFFF, 0xD8E9EC, 0xF0FFFF, 0xA0D7D2, 0x6C716D, 0xA0D7D2, 0x64C8FA, 0xFFFFFF, 0x516544},
    {0xFFFFFF, 0xE6DCDB, 0xFFF0EF, 0xD5BEB0, 0x766C63, 0xD5BEB0, 0x64C8FA, 0xFFFFFF, 0x685139},
    {0xFFFFFF, 0xDCE6DB, 0xF5FFF3, 0xBAD0B9, 0x6D7764, 0xBAD0B9, 0x64C8FA, 0xFFFFFF, 0x4B5244},
    {0xFFFFFF, 0xEDEDED, 0xFFFFFF, 0xDEDEDE, 0x858585, 0xFAFAFA, 0x96DCFF, 0x505050, 0x636363},
};

int Clamp(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

}  // namespace

const char* ThemeName(int theme) { return theme >= 0 && theme < kThemeCount ? kNames[theme] : nullptr; }

Colour GetThemeColour(int theme, int k) {
    if (k < 0 || k >= kThemeColourCount) return 0;
    if (theme < 0 || theme >= kThemeCount) theme = kDefaultTheme;
    return kTable[theme][k];
}

Colour AdjustColour(Colour colour, int red, int green, int blue) {
    if (red >= 256) red = 255;
    if (green >= 256) green = red;
    if (blue >= 256) blue = red;
    return MakeColour(Clamp(Red(colour) + red), Clamp(Green(colour) + green), Clamp(Blue(colour) + blue));
}

}  // namespace quorv
