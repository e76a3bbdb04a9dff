#include "transforms/screen_rect.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Nearer the eye than this, in clip space's w, a corner's place on the
// screen is too large to trust.
constexpr float LEAST_W = 1.0e-4f;
constexpr int ROUNDING_PIXELS = 1;

} // namespace

bool ScreenRect::operator==(const ScreenRect& other) const
{
    return left == other.left && bottom == other.bottom && right == other.right && top == other.top;
}

ScreenRect whole_window(int width, int height)
{
    return {0, 0, std::max(width, 0), std::max(height, 0)};
}

ScreenRect cut_to_window(const ScreenRect& rect, int width, int height)
{
    return {std::max(rect.left, 0), std::max(rect.bottom, 0), std::min(rect.right, width),
            std::min(rect.top, height)};
}

ScreenRect unite(const ScreenRect& a, const ScreenRect& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return {std::min(a.left, b.left), std::min(a.bottom, b.bottom), std::max(a.right, b.right),
            std::max(a.top, b.top)};
}

bool overlap(const ScreenRect& a, const ScreenRect& b)
{
    return !a.empty() && !b.empty() && a.left < b.right && b.left < a.right && a.bottom < b.top &&
           b.bottom < a.top;
}

long area(const ScreenRect& rect)
{
    return rect.empty() ? 0 : static_cast<long>(rect.right - rect.left) * (rect.top - rect.bottom);
}

std::vector<ScreenRect> group_for_passes(std::vector<ScreenRect> rects, long pass_pixels, size_t most_passes)
{
    rects.erase(std::remove_if(rects.begin(), rects.end(), [](const ScreenRect& r) { return r.empty(); }),
                rects.end());
    // Greedy, the cheapest joining first: there are a handful at most.
    while (rects.size() > 1) {
        size_t best_a = 0;
        size_t best_b = 1;
        long best_gain = 0;
        bool found = false;
        for (size_t a = 0; a < rects.size(); ++a)
            for (size_t b = a + 1; b < rects.size(); ++b) {
                const long gain = area(rects[a]) + area(rects[b]) + pass_pixels - area(unite(rects[a], rects[b]));
                if (!found || gain > best_gain) {
                    best_a = a;
                    best_b = b;
                    best_gain = gain;
                    found = true;
                }
            }
        if (best_gain < 0 && rects.size() <= most_passes)
            break;
        rects[best_a] = unite(rects[best_a], rects[best_b]);
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(best_b));
    }
    return rects;
}

ScreenRect screen_rect_of_box(const glm::mat4& clip, const glm::vec3& low, const glm::vec3& high, int width,
                              int height)
{
    glm::vec2 least(INFINITY);
    glm::vec2 most(-INFINITY);
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 at((corner & 1) ? high.x : low.x, (corner & 2) ? high.y : low.y,
                           (corner & 4) ? high.z : low.z);
        const glm::vec4 clipped = clip * glm::vec4(at, 1.0f);
        if (!(clipped.w > LEAST_W))
            return whole_window(width, height);
        const glm::vec2 ndc = glm::vec2(clipped) / clipped.w;
        least = glm::min(least, ndc);
        most = glm::max(most, ndc);
    }
    // Wholly to one side of the window, it is seen nowhere.
    if (most.x < -1.0f || most.y < -1.0f || least.x > 1.0f || least.y > 1.0f)
        return {};
    const glm::vec2 size(static_cast<float>(width), static_cast<float>(height));
    // From normalized device coordinates to pixels, as the viewport maps them.
    const glm::vec2 from = glm::clamp((least + 1.0f) * 0.5f * size, glm::vec2(0.0f), size);
    const glm::vec2 to = glm::clamp((most + 1.0f) * 0.5f * size, glm::vec2(0.0f), size);
    return cut_to_window({static_cast<int>(std::floor(from.x)) - ROUNDING_PIXELS,
                          static_cast<int>(std::floor(from.y)) - ROUNDING_PIXELS,
                          static_cast<int>(std::ceil(to.x)) + ROUNDING_PIXELS,
                          static_cast<int>(std::ceil(to.y)) + ROUNDING_PIXELS},
                         width, height);
}
