// What a player can ask of the game, whatever asked it: a key, a gamepad,
// a menu or a test. The input maps turn their events into these; one place
// carries them out.
#pragma once

enum class Command {
    // Play. The heading turns about the vertical axis with left and right,
    // and points up or down with up and down.
    TURN_LEFT,
    TURN_RIGHT,
    HEAD_UP,
    HEAD_DOWN,
    LAUNCH,
    RESTART,
    UNDO,
    HINT,
    PREVIOUS_LEVEL,
    NEXT_LEVEL,
    FIRST_LEVEL,
    FURTHEST_LEVEL,
    MUTE,
    HELP,
    EDIT, // opens the editor in play, closes it while editing, ends a play-test
    // Any other key in play: it asks nothing, but brings back the heading
    // the player chose (a new level points the ship along +x).
    SHOW_HEADING,

    // The picture.
    TOGGLE_WIREFRAME,
    TOGGLE_SAMPLING,
    CYCLE_MIPMAPS,
    TOGGLE_WHOLE_SCREEN, // the whole screen or a window, at any moment

    // The editor. The cursor moves follow the view: away is into the
    // screen along the level's floor.
    CURSOR_AWAY,
    CURSOR_NEARER,
    CURSOR_RIGHT,
    CURSOR_LEFT,
    LAYER_UP,
    LAYER_DOWN,
    PLACE_CUBE,
    PLACE_BEAMER,
    PLACE_SHIP_START,
    PLACE_GOAL,
    EMPTY_CELL,
    GROW,
    SHRINK,
    EDIT_UNDO,
    EDIT_REDO,
    SAVE,
    NEW_LEVEL,
    PLAY_TEST,
    COPY_LEVEL,  // the level as a code, onto the clipboard
    PASTE_LEVEL, // a new level of the player's own from the code there
    SOLVER_VIEW, // shows or hides where the ship can rest, the dead ends and a shortest way

    // The menu: MENU opens and closes it; while it is open the others move
    // through it and only they, MENU, the sound and help count.
    MENU,
    MENU_UP,
    MENU_DOWN,
    MENU_LEFT,
    MENU_RIGHT,
    MENU_CHOOSE,
    MENU_BACK,
};
