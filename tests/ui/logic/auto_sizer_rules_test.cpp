#include <gtest/gtest.h>

#include <climits>

#include "ui/logic/auto_sizer_rules.h"

namespace doxel {
namespace {

TEST(AutoSizerFrame, InnerAreaAndOuterFrameAreEachOthersReverse)
{
    struct Case {
        WindowFrame frame;
        FrameMargins margins;
        WindowFrame inner;
    };
    const Case cases[] = {
        {{80, 70, 650, 430}, {4, 24, 4, 4}, {84, 94, 642, 402}},
        {{80, 70, 650, 430}, {0, 0, 0, 0}, {80, 70, 650, 430}},
        {{-300, -40, 200, 100}, {1, 30, 2, 3}, {-299, -10, 197, 67}},
        {{0, 0, 1920, 1080}, {10, 10, 10, 10}, {10, 10, 1900, 1060}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(innerAreaFor(c.frame, c.margins), c.inner) << c.frame.left << "," << c.frame.top;
        EXPECT_EQ(outerFrameOf(c.inner, c.margins), c.frame) << c.frame.left << "," << c.frame.top;
    }
}

TEST(AutoSizerFrame, NeverGivesAWindowWithoutAnInsideOrBeyond32Bits)
{
    const FrameMargins margins{4, 24, 4, 4};
    struct Case {
        WindowFrame frame;
        WindowFrame inner;
    };
    const Case cases[] = {
        {{80, 70, 0, 0}, {84, 94, 1, 1}},
        {{80, 70, -500, 10}, {84, 94, 1, 1}},
        {{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {INT_MAX, INT_MAX, kLargestWindowSide, kLargestWindowSide}},
        {{INT_MIN, INT_MIN, 8, 28}, {INT_MIN + 4, INT_MIN + 24, 1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(innerAreaFor(c.frame, margins), c.inner) << c.frame.width << "x" << c.frame.height;
    EXPECT_EQ(outerFrameOf({INT_MIN, INT_MIN, 10, 10}, margins), (WindowFrame{INT_MIN, INT_MIN, 18, 38}));
    EXPECT_EQ(outerFrameOf({0, 0, INT_MAX, INT_MAX}, margins), (WindowFrame{-4, -24, INT_MAX, INT_MAX}));
}

TEST(AutoSizerFrame, ReadsThePositionFieldsAsDecimalNumbers)
{
    EXPECT_EQ(frameFromFields("80", "70", "650", "430"), (WindowFrame{80, 70, 650, 430}));
    EXPECT_EQ(frameFromFields("-15", "0", "2147483647", "1"), (WindowFrame{-15, 0, INT_MAX, 1}));
    // Not numbers: the new project's values.
    EXPECT_EQ(frameFromFields("", "0x10", "2147483648", " 5"), (WindowFrame{80, 70, 650, 430}));
    EXPECT_EQ(sizeLabelText("Width: ", 650), "Width: 650");
    EXPECT_EQ(sizeLabelText("Высота: ", -2), "Высота: -2");
}

}  // namespace
}  // namespace doxel
