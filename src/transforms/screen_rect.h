// Rectangles of the window in pixels, and where a box in the world falls
// on the screen: what a frame that draws only what changed works with.
#pragma once

#include <glm/glm.hpp>

#include <vector>

// Counted as OpenGL's scissor counts them: from the lower left corner, the
// right and top edges left out.
struct ScreenRect {
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;

    bool empty() const { return right <= left || top <= bottom; }
    bool operator==(const ScreenRect& other) const;
};

ScreenRect whole_window(int width, int height);
// The part of `rect` inside a window of this size.
ScreenRect cut_to_window(const ScreenRect& rect, int width, int height);

// The smallest rectangle holding both; an empty one adds nothing.
ScreenRect unite(const ScreenRect& a, const ScreenRect& b);
// Whether they share a pixel.
bool overlap(const ScreenRect& a, const ScreenRect& b);
long area(const ScreenRect& rect);

// The rectangles to draw these in, one pass each, where a pass costs
// `pass_pixels` besides its area: two become the one holding both when that
// costs no more than drawing them apart, and never more than `most_passes`
// are left. Empty ones are dropped. Every pixel of the given ones is in one
// of those returned, possibly in more than one.
std::vector<ScreenRect> group_for_passes(std::vector<ScreenRect> rects, long pass_pixels, size_t most_passes);

// Where the box from `low` to `high` falls in a window of this size once
// `clip` takes it to clip space: a pixel more on every side, for the
// rasterizer's rounding, and cut to the window. A box that reaches to the
// eye or behind it may cover anything: it gives the whole window.
ScreenRect screen_rect_of_box(const glm::mat4& clip, const glm::vec3& low, const glm::vec3& high, int width,
                              int height);
