// VirtPalette: a gradient whose colours are interpolated byte by byte and truncated.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "virt_palette.h"

namespace
{

const float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(VirtPalette, ANewPaletteRunsFromBlackToWhite)
{
    VirtPalette p;
    EXPECT_EQ(p.count, 2);
    EXPECT_EQ(p.GetColor(0.5f), 0xff7f7f7fu); // 127.5 truncated
    EXPECT_EQ(p.GetColor(0.0f), 0xff000000u);
    EXPECT_EQ(p.GetColor(-1.0f), 0xff000000u);
    EXPECT_EQ(p.GetColor(kNaN), 0xff000000u);
    EXPECT_EQ(p.GetColor(1.0f), 0xffffffffu);
    EXPECT_EQ(p.GetColor(2.0f), 0xffffffffu);
    EXPECT_EQ(p.GetColor(0.25f), 0xff3f3f3fu); // 63.75
}

TEST(VirtPalette, EveryByteIsInterpolatedIncludingAlpha)
{
    VirtPalette p;
    p.ChangeColor(0, 0x00FF0010);
    p.ChangeColor(1, 0xC800FF30);
    // 0.25 of the way: alpha 50, red 191.25, green 63.75, blue 24
    EXPECT_EQ(p.GetColor(0.25f), 0x32BF3F18u);
    // A falling channel truncates towards zero, not downwards past the exact value.
    EXPECT_EQ(p.GetColor(0.5f), 0x647F7F20u);
}

TEST(VirtPalette, AddColorKeepsTheEntriesSorted)
{
    VirtPalette p;
    EXPECT_EQ(p.AddColor(0.5f, 0xffff0000), 1);
    EXPECT_EQ(p.GetColor(0.25f), 0xff7f0000u);
    EXPECT_EQ(p.GetColor(0.75f), 0xffff7f7fu);
    EXPECT_EQ(p.AddColor(0.25f, 0xff00ff00), 1);
    EXPECT_EQ(p.positions[2], 0.5f);
    EXPECT_EQ(p.colors[2], 0xffff0000u);

    // Equal positions keep the order in which they were added; the colour just above x wins.
    EXPECT_EQ(p.AddColor(0.5f, 0xff0000ff), 3);
    EXPECT_EQ(p.colors[2], 0xffff0000u);
    EXPECT_EQ(p.colors[3], 0xff0000ffu);
    EXPECT_EQ(p.GetColor(0.5f), 0xff0000ffu);
    EXPECT_EQ(p.count, 5);

    // Both ends may get company without a division by zero.
    EXPECT_EQ(p.AddColor(0.0f, 0xff123456), 1);
    EXPECT_EQ(p.AddColor(1.0f, 0xff654321), 6);
    EXPECT_EQ(p.GetColor(1.0f), 0xff654321u);
    EXPECT_EQ(p.GetColor(0.0f), 0xff000000u);
}

TEST(VirtPalette, OutOfRangePositionsAndFixedEndsAreRefused)
{
    VirtPalette p;
    EXPECT_EQ(p.AddColor(1.5f, 0xff00ff00), -1);
    EXPECT_EQ(p.AddColor(-0.1f, 0xff00ff00), -1);
    EXPECT_EQ(p.AddColor(kNaN, 0xff00ff00), -1);
    EXPECT_EQ(p.count, 2);

    p.AddColor(0.5f, 0xffff0000);
    p.RemoveColor(0);
    p.RemoveColor(2);
    p.RemoveColor(-3);
    p.RemoveColor(99);
    EXPECT_EQ(p.count, 3);
    p.RemoveColor(1);
    EXPECT_EQ(p.count, 2);
    EXPECT_EQ(p.GetColor(0.5f), 0xff7f7f7fu);
}

TEST(VirtPalette, AFullPaletteTakesNoMoreColours)
{
    VirtPalette p;
    for (int i = 2; i < VirtPalette::kMaxColors; ++i)
        ASSERT_GE(p.AddColor(0.5f, 0xff000000u | uint32_t(i)), 0);
    ASSERT_EQ(p.count, VirtPalette::kMaxColors);
    EXPECT_DEBUG_DEATH(EXPECT_EQ(p.AddColor(0.5f, 0xffabcdef), -1), "palette is full");
    EXPECT_EQ(p.count, VirtPalette::kMaxColors);
    EXPECT_EQ(p.colors[VirtPalette::kMaxColors - 1], 0xffffffffu);

    EXPECT_DEBUG_DEATH(p.ChangeColor(VirtPalette::kMaxColors, 0), "no such entry");
    EXPECT_DEBUG_DEATH(p.ChangeColor(-1, 0), "no such entry");
    EXPECT_EQ(p.colors[0], 0xff000000u);
}

TEST(VirtPalette, FillPaletteSamplesEvenlyAndCanSwapRedAndBlue)
{
    VirtPalette p;
    uint32_t grey[3];
    p.FillPalette(grey, 3, false);
    EXPECT_EQ(grey[0], 0xff000000u);
    EXPECT_EQ(grey[1], 0xff7f7f7fu);
    EXPECT_EQ(grey[2], 0xffffffffu);

    p.ChangeColor(0, 0x80102030);
    p.ChangeColor(1, 0x80102030);
    uint32_t swapped[2], kept[2];
    p.FillPalette(swapped, 2, false);
    p.FillPalette(kept, 2, true);
    EXPECT_EQ(swapped[0], 0x80302010u);
    EXPECT_EQ(kept[1], 0x80102030u);

    uint32_t one[1] = {0};
    p.FillPalette(one, 1, true);
    EXPECT_EQ(one[0], 0x80102030u);
    uint32_t untouched = 0x12345678;
    p.FillPalette(&untouched, 0, true);
    p.FillPalette(&untouched, -4, true);
    EXPECT_EQ(untouched, 0x12345678u);
}

} // namespace
