#include "app/pad_script.h"

#include "app/input_names.h"
#include "config/config_file.h"
#include "config/file_text.h"

#include <cstdlib>
#include <sstream>

namespace {

constexpr size_t MOST_SCRIPT_BYTES = size_t{1} << 20;
constexpr long MOST_FRAMES_A_STEP = 1000000;

const std::pair<const char*, int> AXIS_NAMES[] = {
    {"LeftX", platform::PAD_LEFT_X},   {"LeftY", platform::PAD_LEFT_Y},
    {"RightX", platform::PAD_RIGHT_X}, {"RightY", platform::PAD_RIGHT_Y},
    {"LeftTrigger", platform::PAD_LEFT_TRIGGER}, {"RightTrigger", platform::PAD_RIGHT_TRIGGER},
};

platform::PadState at_rest()
{
    platform::PadState pad;
    pad.connected = true;
    pad.axes[platform::PAD_LEFT_TRIGGER] = pad.axes[platform::PAD_RIGHT_TRIGGER] = -1.0f;
    return pad;
}

// One input of a step into the state; false when it names nothing.
bool hold(platform::PadState& pad, const std::string& input)
{
    if (input == "unplugged") {
        pad.connected = false;
        return true;
    }
    if (const size_t equals = input.find('='); equals != std::string::npos) {
        const std::string value = input.substr(equals + 1);
        char* end = nullptr;
        const float tilt = std::strtof(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(tilt >= -1.0f && tilt <= 1.0f))
            return false;
        for (const auto& [name, axis] : AXIS_NAMES)
            if (input.compare(0, equals, name) == 0 && std::string(name).size() == equals) {
                pad.axes[static_cast<size_t>(axis)] = tilt;
                return true;
            }
        return false;
    }
    const std::optional<Chord> chord = PAD_SPELLING.parse(input);
    if (!chord || chord->modified)
        return false;
    if (chord->input < platform::PAD_BUTTONS)
        pad.buttons[static_cast<size_t>(chord->input)] = true;
    else if (chord->input == PAD_STICK_UP || chord->input == PAD_STICK_DOWN)
        pad.axes[platform::PAD_LEFT_Y] = chord->input == PAD_STICK_UP ? -1.0f : 1.0f;
    else if (chord->input == PAD_STICK_LEFT || chord->input == PAD_STICK_RIGHT)
        pad.axes[platform::PAD_LEFT_X] = chord->input == PAD_STICK_LEFT ? -1.0f : 1.0f;
    else
        pad.axes[chord->input == PAD_LEFT_TRIGGER_PULLED ? platform::PAD_LEFT_TRIGGER : platform::PAD_RIGHT_TRIGGER] = 1.0f;
    return true;
}

} // namespace

Result<PadScript> PadScript::read(const std::string& file_name)
{
    const Result<std::optional<std::string>> file = read_file_text(file_name, MOST_SCRIPT_BYTES, "a pad script");
    if (!file)
        return Failure{file_name + ": " + file.problem()};
    if (!file.value())
        return Failure{file_name + ": " + MISSING_FILE};
    Result<PadScript> script = parse(*file.value());
    if (!script)
        return Failure{file_name + ": " + script.problem()};
    return script;
}

Result<PadScript> PadScript::parse(const std::string& text)
{
    PadScript script;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = trim(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        std::istringstream words(line);
        std::string count;
        words >> count;
        const std::optional<int32_t> frames = whole_number(count);
        if (!frames || *frames == 0 || *frames > MOST_FRAMES_A_STEP)
            return Failure{"line " + std::to_string(number) + " does not start with a number of frames from 1 to " +
                           std::to_string(MOST_FRAMES_A_STEP)};
        platform::PadState pad = at_rest();
        for (std::string input; words >> input;)
            if (!hold(pad, input))
                return Failure{"line " + std::to_string(number) + ": \"" + input + "\" is no pad input"};
        script.steps_.emplace_back(*frames, pad);
    }
    return script;
}

platform::PadState PadScript::next()
{
    if (step_ >= steps_.size())
        return {};
    const platform::PadState pad = steps_[step_].second;
    if (++frame_ >= steps_[step_].first) {
        frame_ = 0;
        ++step_;
    }
    return pad;
}
