#include "app/input_names.h"

#include "language/language.h"

#include <cctype>
#include <utility>

namespace {

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

const std::pair<int, const char*> SPECIAL_KEYS[] = {
    {platform::KEY_SPACE, "Space"},        {platform::KEY_TAB, "Tab"},
    {platform::KEY_ENTER, "Return"},       {platform::KEY_BACKSPACE, "Backspace"},
    {platform::KEY_INSERT, "Insert"},      {platform::KEY_DEL, "Delete"},
    {platform::KEY_HOME, "Home"},          {platform::KEY_END, "End"},
    {platform::KEY_PAGEUP, "PageUp"},      {platform::KEY_PAGEDOWN, "PageDown"},
    {platform::KEY_UP, "Up"},              {platform::KEY_DOWN, "Down"},
    {platform::KEY_LEFT, "Left"},          {platform::KEY_RIGHT, "Right"},
};

// Settings name a key as the game calls it, whatever the layout: letters by
// where they are on an American keyboard. Escape always quits: it has no
// name here, and is no command's to take.
std::optional<int> key_named(const std::string& name)
{
    const std::string wanted = upper(name);
    for (const auto& [key, special] : SPECIAL_KEYS)
        if (wanted == upper(special))
            return key;
    if (wanted == "ENTER")
        return platform::KEY_ENTER;
    if (wanted.size() >= 2 && wanted.size() <= 3 && wanted[0] == 'F') {
        const std::string digits = wanted.substr(1);
        if (digits.find_first_not_of("0123456789") == std::string::npos && digits[0] != '0') {
            const int number = std::stoi(digits);
            if (number <= platform::KEY_F25 - platform::KEY_F1 + 1)
                return platform::KEY_F1 + number - 1;
        }
    }
    if (wanted.size() == 1 && wanted[0] > ' ' && wanted[0] <= '~')
        return static_cast<int>(wanted[0]);
    return std::nullopt;
}

std::string key_name_of(int key)
{
    for (const auto& [special, name] : SPECIAL_KEYS)
        if (special == key)
            return name;
    if (key >= platform::KEY_F1 && key <= platform::KEY_F25)
        return "F" + std::to_string(key - platform::KEY_F1 + 1);
    if (key > ' ' && key <= '~')
        return std::string(1, static_cast<char>(key));
    return "key " + std::to_string(key);
}

// Chords are written "Modifier+name".
template <typename Named>
std::optional<Chord> chord_named(const std::string& text, const char* modifier, Named named)
{
    const std::string prefix = upper(modifier) + "+";
    const bool modified = text.size() > prefix.size() && upper(text.substr(0, prefix.size())) == prefix;
    const std::optional<int> input = named(modified ? text.substr(prefix.size()) : text);
    if (!input)
        return std::nullopt;
    return Chord{*input, modified};
}

std::optional<Chord> key_chord_named(const std::string& text)
{
    return chord_named(text, "Ctrl", key_named);
}

std::string key_chord_name(Chord chord)
{
    return (chord.modified ? "Ctrl+" : "") + key_name_of(chord.input);
}

// Names for the settings file and for the screen.
struct PadInputName {
    int input;
    const char* name;
    const char* label;
};
const PadInputName PAD_NAMES[] = {
    {platform::PAD_A, "A", "A"},
    {platform::PAD_B, "B", "B"},
    {platform::PAD_X, "X", "X"},
    {platform::PAD_Y, "Y", "Y"},
    {platform::PAD_LEFT_BUMPER, "LB", "LB"},
    {platform::PAD_RIGHT_BUMPER, "RB", "RB"},
    {platform::PAD_BACK, "Back", "Back"},
    {platform::PAD_START, "Start", "Start"},
    {platform::PAD_GUIDE, "Guide", "Guide"},
    {platform::PAD_LEFT_THUMB, "LeftStickClick", N_("left stick click")},
    {platform::PAD_RIGHT_THUMB, "RightStickClick", N_("right stick click")},
    {platform::PAD_DPAD_UP, "DpadUp", N_("d-pad up")},
    {platform::PAD_DPAD_RIGHT, "DpadRight", N_("d-pad right")},
    {platform::PAD_DPAD_DOWN, "DpadDown", N_("d-pad down")},
    {platform::PAD_DPAD_LEFT, "DpadLeft", N_("d-pad left")},
    {PAD_STICK_UP, "StickUp", N_("stick up")},
    {PAD_STICK_RIGHT, "StickRight", N_("stick right")},
    {PAD_STICK_DOWN, "StickDown", N_("stick down")},
    {PAD_STICK_LEFT, "StickLeft", N_("stick left")},
    {PAD_LEFT_TRIGGER_PULLED, "LT", "LT"},
    {PAD_RIGHT_TRIGGER_PULLED, "RT", "RT"},
};

std::optional<int> pad_input_named(const std::string& name)
{
    for (const PadInputName& entry : PAD_NAMES)
        if (upper(name) == upper(entry.name))
            return entry.input;
    return std::nullopt;
}

const PadInputName* pad_entry(int input)
{
    for (const PadInputName& entry : PAD_NAMES)
        if (entry.input == input)
            return &entry;
    return nullptr;
}

std::optional<Chord> pad_chord_named(const std::string& text)
{
    const std::optional<Chord> chord = chord_named(text, "Back", pad_input_named);
    // Back is the pad's modifier; it cannot be held with itself.
    if (chord && chord->modified && chord->input == platform::PAD_BACK)
        return std::nullopt;
    return chord;
}

std::string pad_chord_name(Chord chord)
{
    const PadInputName* entry = pad_entry(chord.input);
    return (chord.modified ? "Back+" : "") + std::string(entry ? entry->name : "?");
}

} // namespace

const ChordSpelling KEY_SPELLING{"key_", "key", key_chord_named, key_chord_name};
const ChordSpelling PAD_SPELLING{"pad_", "button", pad_chord_named, pad_chord_name};

std::string key_label(Chord chord)
{
    std::string label = key_name_of(chord.input);
    if (chord.input > ' ' && chord.input <= '~') {
        const std::string shown = platform::key_label(chord.input);
        if (!shown.empty())
            label = shown.size() == 1 ? upper(shown) : shown;
    }
    return (chord.modified ? "Ctrl+" : "") + label;
}

std::string pad_label(Chord chord)
{
    const PadInputName* entry = pad_entry(chord.input);
    // The buttons' letters are printed on the pad; the words are the player's.
    return (chord.modified ? "Back+" : "") + (entry ? tr(entry->label) : "?");
}
