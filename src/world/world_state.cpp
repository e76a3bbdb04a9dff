#include "world/world_state.h"

int heading_axis = AXIS_X;
int heading_sign = +1;
bool launch_requested = false;
bool ship_flying = false;
glm::mat4 marker_matrix{1.0f};
