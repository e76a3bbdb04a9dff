#pragma once

// The level editor: off, editing the level (the flight keys are its keys),
// or play-testing it with the real rules.
enum class EditMode { OFF, EDITING, TESTING };
