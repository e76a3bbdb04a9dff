// A recorded pad: the states a pad would have, frame by frame, read from a
// text file, so that a test can play without a device. A line is a step,
// "frames input ...": the inputs held for that many frames. Inputs are the
// button names the settings use ("A", "DpadLeft", "LT") and axes as
// "LeftX=-0.8" (LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger);
// "unplugged" is no pad at all. What is not named rests. After the last
// step the pad is gone.
#pragma once

#include "platform/window.h"
#include "result/result.h"

#include <string>
#include <utility>
#include <vector>

class PadScript {
public:
    // The script in the file; a problem names the line that is wrong.
    static Result<PadScript> read(const std::string& file_name);
    static Result<PadScript> parse(const std::string& text);

    // The state for the next frame.
    platform::PadState next();

private:
    std::vector<std::pair<long, platform::PadState>> steps_;
    size_t step_ = 0;
    long frame_ = 0;
};
