#include "app/key_map.h"

#include "game/command_names.h"
#include "platform/window.h"

std::optional<Command> KeyMap::command_for(int key, int action, EditMode mode, const InputBindings& bindings,
                                           bool menu_open)
{
    if (key == platform::KEY_LCTRL)
        left_ctrl_down_ = action == platform::PRESS;
    if (key == platform::KEY_RCTRL)
        right_ctrl_down_ = action == platform::PRESS;
    const bool ctrl = left_ctrl_down_ || right_ctrl_down_;
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
