#include "world/world_state.h"

#include <glm/gtc/matrix_transform.hpp>

int heading_axis = AXIS_X;
int heading_sign = +1;
bool launch_requested = false;
bool ship_flying = false;
glm::mat4 marker_matrix{1.0f};

int view_index = 0;
int vertical_heading = 0;

namespace {

// What each view_index points at: round the vertical axis from +x.
constexpr Heading VIEW_HEADINGS[VIEW_COUNT] = {
    {AXIS_X, +1}, {AXIS_Z, +1}, {AXIS_X, -1}, {AXIS_Z, -1}};

} // namespace

void update_heading_marker()
{
    // The marker model points along +z; turn it to the heading and move it
    // to the centre of the ship's cell.
    const glm::mat4 identity(1.0f);
    const glm::vec3 x_axis{1.0f, 0.0f, 0.0f};
    const glm::vec3 y_axis{0.0f, 1.0f, 0.0f};
    glm::mat4 turn;
    switch (heading_axis * heading_sign) {
    case +AXIS_X: turn = glm::rotate(identity, glm::radians(90.0f), y_axis); break;
    case -AXIS_X: turn = glm::rotate(identity, glm::radians(-90.0f), y_axis); break;
    case +AXIS_Y: turn = glm::rotate(identity, glm::radians(-90.0f), x_axis); break;
    case -AXIS_Y: turn = glm::rotate(identity, glm::radians(90.0f), x_axis); break;
    case +AXIS_Z: turn = identity; break;
    case -AXIS_Z: turn = glm::rotate(identity, glm::radians(180.0f), y_axis); break;
    default: return;
    }
    marker_matrix = glm::translate(identity, glm::vec3(0.5f, 0.5f, 0.5f)) * turn;
}

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
