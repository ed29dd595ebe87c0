#include "LayoutScale.h"

#include <gtest/gtest.h>

#include <string>

using namespace quelvar;
using namespace quelvar::layout;

namespace {

// Captions measured at a fixed width per character, '&' taking no room.
CaptionWidth PixelsPerCharacter(int pixels) {
    return [pixels](std::string_view caption) {
        int characters = 0;
        for (const unsigned char c : caption) {
            // Count UTF-8 lead bytes only, and skip the access-key mark.
            characters += (c & 0xC0) != 0x80 && c != '&';
        }
        return characters * pixels;
    };
}

TEST(LayoutScale, IsOneWhenTheFontFitsAndNeverLess) {
    EXPECT_DOUBLE_EQ(LayoutScale(96, 18, PixelsPerCharacter(4)), 1.0);
    EXPECT_DOUBLE_EQ(LayoutScale(96, 10, PixelsPerCharacter(1)), 1.0);
    // At twice the density the same twips hold twice the pixels.
    EXPECT_DOUBLE_EQ(LayoutScale(192, 36, PixelsPerCharacter(8)), 1.0);
}

TEST(LayoutScale, GrowsForATallerLineOrAWiderCaption) {
    // A text box of 270 twips is 18 pixels at 96 dots per inch.
    EXPECT_DOUBLE_EQ(LayoutScale(96, 27, PixelsPerCharacter(4)), 1.5);
    // The tightest label is "Default：", 8 characters in 645 twips (43 pixels), plus 2 pixels.
    EXPECT_DOUBLE_EQ(LayoutScale(96, 18, PixelsPerCharacter(13)), (8 * 13 + 2) / 43.0);
}

TEST(LayoutScale, EdgesThatMeetInTwipsMeetInPixels) {
    for (const double scale : {1.0, 1.13, 1.37, 2.0}) {
        const auto rightOf = [scale](const Twips& place) {
            const PixelRect pixels = ToPixels(place, 96, scale);
            return pixels.left + pixels.width;
        };
        // The boxes in the frame but the index box start at different places and all end at
        // 5685 twips.
        const int right = rightOf(kTabOrder[2].box);
        for (std::size_t row = 3; row < kTabOrder.size(); ++row) {
            if (kTabOrder[row].field != kIndex) {
                EXPECT_EQ(rightOf(kTabOrder[row].box), right) << row << " at " << scale;
            }
        }
    }
    const PixelRect client = ToPixels(kClientArea, 96, 1.0);
    EXPECT_EQ(client.width, 386);
    EXPECT_EQ(client.height, 239);
}

TEST(LayoutScaleOfTheForm, FrameControlsAreOffsetByTheFrameCorner) {
    const Twips inFrame = InClientArea(Container::Frame, {105, 210, 1170, 225});
    EXPECT_EQ(inFrame.left, 105);
    EXPECT_EQ(inFrame.top, 945);
    const Twips onWindow = InClientArea(Container::Window, {105, 105, 855, 225});
    EXPECT_EQ(onWindow.top, 105);
    EXPECT_EQ(kTabOrder.front().field, kTagName);
    EXPECT_EQ(kTabOrder.back().field, kCloseTag);
}

}  // namespace
