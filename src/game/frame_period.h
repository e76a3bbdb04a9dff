#pragma once

// Target length of one frame in seconds: just over 60 frames a second. It
// is a float constant on purpose; the loop has always run at this value.
constexpr double FRAME_PERIOD = 0.0166666f;
