#include "view/theme.h"

#include <gtest/gtest.h>

namespace quorv {
namespace {

struct AdjustCase {
    Colour colour;
    int red, green, blue;
    Colour expected;
};

TEST(Theme, AdjustColourClampsEachComponent) {
    const AdjustCase cases[] = {
        {0xFFFFFF, -60, 256, 256, 0xC3C3C3},
        {0x000000, 70, 256, 256, 0x464646},
        // Red stops at 255; green and blue follow the red delta.
        {0x64C8FA, 6, 256, 256, 0x6ACEFF},
        // A red delta of 256 or more counts as 255.
        {0x000000, 300, 0, 0, 0x0000FF},
        {0x102030, 300, 256, 256, 0xFFFFFF},
        // Components move separately and stop at 0.
        {0x102030, -0x40, 0x10, -0x05, 0x0B3000},
    };
    for (const AdjustCase& c : cases) {
        EXPECT_EQ(AdjustColour(c.colour, c.red, c.green, c.blue), c.expected)
            << std::hex << c.colour << " " << std::dec << c.red << "," << c.green << "," << c.blue;
    }
}

TEST(Theme, TableRowsAndFallback) {
    EXPECT_STREQ(ThemeName(5), "Silver");
    EXPECT_STREQ(ThemeName(10), "Silver White");
    EXPECT_EQ(ThemeName(11), nullptr);
    EXPECT_EQ(GetThemeColour(3, 3), 0x6EC8FFu);
    EXPECT_EQ(GetThemeColour(1, 7), 0x6A4D48u);
    // Outside the table: the default theme ("Silver").
    EXPECT_EQ(GetThemeColour(-1, 1), GetThemeColour(5, 1));
    EXPECT_EQ(GetThemeColour(11, 4), 0x696766u);
}

}  // namespace
}  // namespace quorv
