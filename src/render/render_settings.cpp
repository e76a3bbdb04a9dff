#include "render/render_settings.h"

RenderSettings render_settings;
