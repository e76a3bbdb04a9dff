#include "world/world_state.h"

#include "world/world_build.h"

int heading_axis = AXIS_X;
int heading_sign = +1;
bool launch_requested = false;
bool ship_flying = false;
glm::mat4 marker_matrix{1.0f};

int view_index = 0;
int vertical_heading = 0;

bool restart_requested = false;
bool undo_requested = false;
bool hint_requested = false;

namespace {

struct Heading {
    int axis;
    int sign;
};
// What each view_index points at: round the vertical axis from +x.
constexpr Heading VIEW_HEADINGS[VIEW_COUNT] = {
    {AXIS_X, +1}, {AXIS_Z, +1}, {AXIS_X, -1}, {AXIS_Z, -1}};

} // namespace

void apply_chosen_heading()
{
    if (vertical_heading != 0) {
        heading_axis = AXIS_Y;
        heading_sign = vertical_heading;
    } else if (view_index >= 0 && view_index < VIEW_COUNT) {
        heading_axis = VIEW_HEADINGS[view_index].axis;
        heading_sign = VIEW_HEADINGS[view_index].sign;
    }
    update_heading_marker();
}

void choose_heading(int axis, int sign)
{
    vertical_heading = axis == AXIS_Y ? sign : 0;
    for (int view = 0; view < VIEW_COUNT; ++view)
        if (VIEW_HEADINGS[view].axis == axis && VIEW_HEADINGS[view].sign == sign)
            view_index = view;
    apply_chosen_heading();
}
