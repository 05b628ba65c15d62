#include "app/window_geometry.h"

#include <algorithm>

namespace tarnwell {

namespace {

constexpr int twips_per_inch = 1440;

const ControlLayout& layout_of(Control which) {
    for (const ControlLayout& layout : window_layout)
        if (layout.control == which) return layout;
    return window_layout[0];
}

// Places one extent of a window along one axis: its start, the available length and the
// room the work area gives it.
void fit_extent(int wanted, int minimum, int area_start, int area_length, int& start, int& length) {
    length = std::max(minimum, std::min(wanted, area_length));
    start = area_start + std::max(0, (area_length - length) / 2);
}

}  // namespace

int twips_to_pixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = twips_per_inch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / twips_per_inch
                                        : -((-scaled + half) / twips_per_inch));
}

PixelSize design_client_size(int dpi) {
    return {twips_to_pixels(client_width_twips, dpi), twips_to_pixels(client_height_twips, dpi)};
}

PixelSize minimum_client_size(int dpi) {
    const auto px = [dpi](int twips) { return twips_to_pixels(twips, dpi); };
    int leftmost_button = client_width_twips;
    for (const ControlLayout& layout : window_layout)
        if (layout.anchor == Anchor::bottom_right)
            leftmost_button = std::min(leftmost_button, layout.left);
    const ControlLayout& pane = layout_of(Control::pane);
    // Summed in pixels, as control_rect places them: the button row with the pane's left
    // margin on its left; the pane's top margin, its minimum height and what lies below it.
    const int width = px(pane.left) + px(client_width_twips - leftmost_button);
    const int height = px(pane.top) + px(minimum_pane_height_twips) +
                       px(client_height_twips - pane.top - pane.height);
    return {width, height};
}

PixelRect control_rect(const ControlLayout& layout, PixelSize client, int dpi) {
    const auto px = [dpi](int twips) { return twips_to_pixels(twips, dpi); };
    PixelRect rect;
    if (layout.anchor == Anchor::stretch) {
        rect.left = px(layout.left);
        rect.top = px(layout.top);
        rect.right = client.width - px(client_width_twips - layout.left - layout.width);
        rect.bottom = client.height - px(client_height_twips - layout.top - layout.height);
    } else {
        // Measured from the right and bottom edges, so that all buttons move together and
        // keep the same gaps at every window size.
        rect.left = client.width - px(client_width_twips - layout.left);
        rect.top = client.height - px(client_height_twips - layout.top);
        rect.right = rect.left + px(layout.width);
        rect.bottom = rect.top + px(layout.height);
    }
    return rect;
}

PixelRect initial_window_rect(PixelSize design_window, PixelSize minimum_window,
                              const PixelRect& work_area) {
    int left = 0, top = 0, width = 0, height = 0;
    fit_extent(design_window.width, minimum_window.width, work_area.left, work_area.width(), left,
               width);
    fit_extent(design_window.height, minimum_window.height, work_area.top, work_area.height(), top,
               height);
    return {left, top, left + width, top + height};
}

}  // namespace tarnwell
