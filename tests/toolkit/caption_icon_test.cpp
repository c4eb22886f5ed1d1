// The caption icon: the program's 16 x 16 icon at the caption's left, on
// every host and backend, and the control that owns the system menu.
#include "toolkit/caption_icon.h"

#include "tests/toolkit/toolkit_fixture.h"

namespace qh {
namespace {

class CaptionIconTest : public ToolkitTest {};

TEST_F(CaptionIconTest, TheProgramsIconIsDrawnAtTheCaptionsLeftAndOwnsTheMenu) {
    UiImage icon;
    ASSERT_TRUE(icon.LoadFromIconBytes(ProgramIconFile()));
    ASSERT_EQ(icon.Width(), 16);
    ASSERT_EQ(icon.Height(), 16);
    // Every opaque pixel of the icon shows at its place in the caption.
    int compared = 0, matched = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const Argb pixel = icon.GetPixel(x, y);
            if (AlphaOf(pixel) != 255) continue;
            ++compared;
            if (Near(ScreenAt(static_cast<int>(kCaptionIconLeft) + x, static_cast<int>(kCaptionIconTop) + y), pixel)) {
                ++matched;
            }
        }
    }
    EXPECT_GT(compared, 50);
    EXPECT_EQ(matched, compared);
    EXPECT_NE(window.MenuOwner(), 0);
    EXPECT_EQ(window.HitTest(12, 12), window.MenuOwner());
}

TEST_F(CaptionIconTest, AWindowWithoutACaptionShowsNoIcon) {
    window.FrameStyle(0, true);
    EXPECT_EQ(window.HitTest(12, 12), 0);
    EXPECT_TRUE(Near(ScreenAt(12, 12), MakeArgb(0xFFFFFF, 255)));
}

}  // namespace
}  // namespace qh
