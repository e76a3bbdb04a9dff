#include "app/key_map.h"

#include "game/command_names.h"
#include "platform/window.h"

bool KeyMap::follow_ctrl(int key, int action)
{
    if (key == platform::KEY_LCTRL)
        left_ctrl_down_ = action == platform::PRESS;
    if (key == platform::KEY_RCTRL)
        right_ctrl_down_ = action == platform::PRESS;
    return left_ctrl_down_ || right_ctrl_down_;
}

std::optional<Chord> KeyMap::chord_for(int key, int action)
{
    const bool ctrl = follow_ctrl(key, action);
    if (action != platform::PRESS || key == platform::KEY_LCTRL || key == platform::KEY_RCTRL)
        return std::nullopt;
    return Chord{key, ctrl};
}

std::optional<Command> KeyMap::command_for(int key, int action, EditMode mode, const InputBindings& bindings,
                                           bool menu_open)
{
    const bool ctrl = follow_ctrl(key, action);
    if (menu_open)
        return action == platform::PRESS ? bindings.command_for({key, ctrl}, mode, true) : std::nullopt;

    if (action != platform::PRESS) {
        // A release asks for the heading only, where a key of play's would.
        if (mode != EditMode::EDITING)
            return Command::SHOW_HEADING;
        const std::optional<Command> shared = bindings.command_for({key, false}, mode);
        return shared && kept_in_editor(*shared) ? std::optional(Command::SHOW_HEADING) : std::nullopt;
    }
    std::optional<Command> command = bindings.command_for({key, ctrl}, mode);
    if (!command && ctrl) {
        command = bindings.command_for({key, false}, mode);
        if (command && mode == EditMode::EDITING && !kept_in_editor(*command))
            command.reset();
    }
    if (!command && mode == EditMode::OFF)
        return Command::SHOW_HEADING;
    if (!command && mode == EditMode::TESTING)
        return bindings.command_for({key, false}, EditMode::OFF) ? std::nullopt : std::optional(Command::SHOW_HEADING);
    return command;
}
