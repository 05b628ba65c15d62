#pragma once
// Where the report window's controls go at a given DPI and client size, and where the
// window first opens. The layout table is scaled from twips to pixels; the pane stretches
// with the window and the button row keeps its order and spacing at the bottom-right
// corner. Plain arithmetic without Windows calls, so the host tests check it too.
#include "app/window_layout.h"

namespace tarnwell {

struct PixelSize {
    int width = 0;
    int height = 0;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// Twips (1/1440 inch) to pixels at a DPI, rounded to the nearest pixel.
int twips_to_pixels(int twips, int dpi);

// The client area as the layout was designed.
PixelSize design_client_size(int dpi);

// The smallest client area that keeps the four buttons whole, side by side, and the pane
// at its minimum height.
PixelSize minimum_client_size(int dpi);

// A control's place in a client area of the given size.
PixelRect control_rect(const ControlLayout& layout, PixelSize client, int dpi);

// Where the window opens: its design size (client plus frame), shrunk where it does not
// fit the work area but never below its minimum size, and centred on the work area. A
// window larger than the work area starts at the work area's top-left corner, so its
// title bar can be reached.
PixelRect initial_window_rect(PixelSize design_window, PixelSize minimum_window,
                              const PixelRect& work_area);

}  // namespace tarnwell
