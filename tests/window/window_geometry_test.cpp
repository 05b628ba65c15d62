#include "app/window_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tarnwell::test {
namespace {

const ControlLayout& layout_of(Control which) {
    return *std::find_if(std::begin(window_layout), std::end(window_layout),
                         [which](const ControlLayout& layout) { return layout.control == which; });
}

// The buttons from left to right, as the row shows them.
std::vector<PixelRect> button_row(PixelSize client, int dpi) {
    std::vector<PixelRect> row;
    for (Control button :
         {Control::test_epsg, Control::update_epsg, Control::copy_text, Control::done})
        row.push_back(control_rect(layout_of(button), client, dpi));
    return row;
}

class AtEveryDpi : public ::testing::TestWithParam<int> {};

INSTANTIATE_TEST_SUITE_P(Dpi, AtEveryDpi, ::testing::Values(96, 120, 144, 192, 240));

TEST_P(AtEveryDpi, AtTheDesignSizeEveryControlIsWhereTheLayoutPutsIt) {
    const int dpi = GetParam();
    const PixelSize client = design_client_size(dpi);
    for (const ControlLayout& layout : window_layout) {
        const PixelRect rect = control_rect(layout, client, dpi);
        SCOPED_TRACE(layout.caption);
        // Within a pixel of the table scaled, whichever edge a control is measured from.
        EXPECT_LE(std::abs(rect.left - twips_to_pixels(layout.left, dpi)), 1);
        EXPECT_LE(std::abs(rect.top - twips_to_pixels(layout.top, dpi)), 1);
        EXPECT_LE(std::abs(rect.width() - twips_to_pixels(layout.width, dpi)), 1);
        EXPECT_LE(std::abs(rect.height() - twips_to_pixels(layout.height, dpi)), 1);
    }
}

TEST_P(AtEveryDpi, ALargerWindowGrowsThePaneAndMovesTheButtonRowWhole) {
    const int dpi = GetParam();
    const PixelSize design = design_client_size(dpi);
    const PixelSize larger = {design.width + 333, design.height + 171};
    const PixelRect pane_before = control_rect(layout_of(Control::pane), design, dpi);
    const PixelRect pane_after = control_rect(layout_of(Control::pane), larger, dpi);
    EXPECT_EQ(pane_after.left, pane_before.left);
    EXPECT_EQ(pane_after.top, pane_before.top);
    EXPECT_EQ(pane_after.width(), pane_before.width() + 333);
    EXPECT_EQ(pane_after.height(), pane_before.height() + 171);

    const std::vector<PixelRect> before = button_row(design, dpi);
    const std::vector<PixelRect> after = button_row(larger, dpi);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].left, before[i].left + 333);
        EXPECT_EQ(after[i].top, before[i].top + 171);
        EXPECT_EQ(after[i].width(), before[i].width());
        EXPECT_EQ(after[i].height(), before[i].height());
    }
}

TEST_P(AtEveryDpi, AtTheMinimumSizeTheButtonsAreWholeInOrderAndBelowThePane) {
    const int dpi = GetParam();
    const PixelSize minimum = minimum_client_size(dpi);
    const PixelRect pane = control_rect(layout_of(Control::pane), minimum, dpi);
    const std::vector<PixelRect> row = button_row(minimum, dpi);
    EXPECT_GE(row.front().left, pane.left);
    EXPECT_LE(row.back().right, minimum.width);
    for (std::size_t i = 0; i + 1 < row.size(); ++i)
        EXPECT_LT(row[i].right, row[i + 1].left);
    for (const PixelRect& button : row) {
        EXPECT_GT(button.top, pane.bottom);
        EXPECT_LE(button.bottom, minimum.height);
    }
    EXPECT_GE(pane.height(), twips_to_pixels(minimum_pane_height_twips, dpi) - 1);
    // The minimum is smaller than the design, so the window can shrink at all.
    EXPECT_LT(minimum.width, design_client_size(dpi).width);
    EXPECT_LT(minimum.height, design_client_size(dpi).height);
}

TEST(TwipsToPixels, RoundsToTheNearestPixel) {
    struct Case {
        int twips, dpi, pixels;
    };
    for (const Case& c : {Case{15, 96, 1}, Case{7, 96, 0}, Case{8, 96, 1}, Case{13320, 96, 888},
                          Case{13320, 144, 1332}, Case{12910, 192, 1721}, Case{0, 192, 0}}) {
        EXPECT_EQ(twips_to_pixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    }
}

TEST(InitialWindowRect, FitsTheWorkAreaAndIsCentredOnIt) {
    struct Case {
        const char* what;
        PixelSize design, minimum;
        PixelRect work, expected;
    };
    const Case cases[] = {
        {"fits: design size, centred",
         {900, 700},
         {600, 300},
         {0, 0, 1280, 1024},
         {190, 162, 1090, 862}},
        {"too tall: full height of the work area",
         {904, 900},
         {600, 300},
         {0, 0, 1366, 738},
         {231, 0, 1135, 738}},
        {"too large both ways", {1790, 1760}, {1170, 540}, {0, 0, 1280, 1024}, {0, 0, 1280, 1024}},
        {"a second monitor with a taskbar on its left",
         {900, 700},
         {600, 300},
         {1980, 0, 3840, 1080},
         {2460, 190, 3360, 890}},
        {"a work area below the minimum: minimum size at its corner",
         {900, 700},
         {600, 300},
         {10, 20, 510, 220},
         {10, 20, 610, 320}},
    };
    for (const Case& c : cases) {
        const PixelRect placed = initial_window_rect(c.design, c.minimum, c.work);
        EXPECT_EQ(placed.left, c.expected.left) << c.what;
        EXPECT_EQ(placed.top, c.expected.top) << c.what;
        EXPECT_EQ(placed.right, c.expected.right) << c.what;
        EXPECT_EQ(placed.bottom, c.expected.bottom) << c.what;
    }
}

}  // namespace
}  // namespace tarnwell::test
