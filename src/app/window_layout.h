#pragma once
// The report window's layout in twips, as the window was designed: one frame filling
// the client area, the report pane, and a right-aligned row of four buttons. Listed in
// tab order. Every size the window uses comes from here; window_geometry scales it to
// the screen's DPI and stretches it to the window's size.
namespace tarnwell {

enum class Control { frame, done, pane, copy_text, test_epsg, update_epsg };

// How a control follows the window when it is resized.
enum class Anchor {
    stretch,       // keeps its distances to all four edges: grows with the window
    bottom_right,  // keeps its size and its distances to the right and bottom edges
};

struct ControlLayout {
    Control control;
    const char* caption;
    int left, top, width, height;  // twips, relative to the frame at (0, 0)
    int font_tenths_of_point;      // 0: no font of its own
    bool enabled;
    Anchor anchor;
};

constexpr int client_width_twips = 13320;
constexpr int client_height_twips = 12910;

constexpr ControlLayout window_layout[] = {
    {Control::frame, "", 0, 0, 13320, 12870, 0, true, Anchor::stretch},
    {Control::done, "Done", 11730, 12390, 1095, 300, 85, true, Anchor::bottom_right},
    {Control::pane, "", 270, 270, 12740, 11870, 100, true, Anchor::stretch},
    {Control::copy_text, "Copy Text", 10290, 12390, 1340, 290, 85, true, Anchor::bottom_right},
    {Control::test_epsg, "Test EPSG definitions", 4950, 12390, 2450, 290, 85, false,
     Anchor::bottom_right},
    {Control::update_epsg, "Update EPSG app location", 7560, 12390, 2450, 290, 85, false,
     Anchor::bottom_right},
};

// The smallest the pane may become when the window is made smaller: about five lines.
constexpr int minimum_pane_height_twips = 1440;

}  // namespace tarnwell
