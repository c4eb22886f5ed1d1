// A bitmap with a graphics of the platform's backend drawing into it, and
// where its ink is: the base of the drawing tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/toolkit/test_backend.h"
#include "toolkit/bitmap.h"
#include "toolkit/graphics.h"

namespace qh {

class DrawingFixture : public ::testing::Test {
protected:
    DrawingFixture(int width, int height)
        : driver(MakeTestGraphicsDriver()), bitmap(width, height), g(driver->Open(bitmap)) {}

    // The bounding box of the inked pixels (alpha above 100) within an area.
    RectI Ink(const RectI& within) const {
        int l = 1 << 20, t = 1 << 20, r = -1, b = -1;
        for (int y = within.top; y < within.top + within.height; ++y) {
            for (int x = within.left; x < within.left + within.width; ++x) {
                if (AlphaOf(bitmap.GetPixel(x, y)) > 100) {
                    l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
                }
            }
        }
        return r < 0 ? RectI{} : RectI{l, t, r - l + 1, b - t + 1};
    }

    std::unique_ptr<GraphicsDriver> driver;
    Bitmap bitmap;
    std::unique_ptr<Graphics> g;
};

}  // namespace qh
