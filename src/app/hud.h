// What the game says on screen, as a value: a title card when a level
// starts, a status line in a corner, a message now and then, and the key
// help F1 shows. It listens to the world's events and to the clock, and
// lays its text out in fractions of the framebuffer; drawing it is the
// text room's work.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Game;

enum class HudAlign { LEFT, CENTRE, RIGHT };

// A line of text: its left, centre or right end at x, its baseline at y,
// both in fractions of the framebuffer from its top left corner; its
// height a fraction of the framebuffer's height.
struct HudLine {
    std::string text;
    glm::vec2 at{0.0f};
    float height = 0.0f;
    glm::vec4 colour{1.0f};
    HudAlign align = HudAlign::LEFT;
    // A dark band just behind the line, as wide as its text, so that it
    // reads over the scene; its opacity follows the line's.
    bool backed = false;
};

// A translucent panel behind text, in the same fractions.
struct HudPanel {
    glm::vec2 from{0.0f};
    glm::vec2 to{0.0f};
    glm::vec4 colour{0.0f};
};

struct HudFrame {
    std::vector<HudPanel> panels;
    std::vector<HudLine> lines;
};

bool operator==(const HudLine& a, const HudLine& b);
bool operator==(const HudPanel& a, const HudPanel& b);
bool operator==(const HudFrame& a, const HudFrame& b);

// How wide a text is, in fractions of the framebuffer's width, at a height
// in fractions of its height: what the text room measures.
using TextWidth = std::function<float(const std::string& text, float height)>;

class Hud {
public:
    // Takes in this frame's events and what was said; `now` is the clock in
    // seconds.
    void update(const Game& game, double now);
    // The text to draw this frame. With a measure, a line too long for the
    // window is wrapped at its spaces (or, a word too long, between its
    // characters); without one nothing is.
    HudFrame frame(const Game& game, double now, const TextWidth& width = {}) const;

    // The launches of a shortest way through the level being played, from
    // its start; 0 when there is none.
    int32_t par() const { return par_; }

private:
    struct Message {
        std::string text;
        double until = 0.0; // the clock when it goes
    };

    void start_card(const Game& game, double now, std::string heading);
    void add_message(std::string text, double now);
    void add_status(const Game& game, HudFrame& frame, const TextWidth& width, float scale) const;
    void add_editor_lines(const Game& game, HudFrame& frame, const TextWidth& width, float scale) const;
    void add_messages(double now, HudFrame& frame, const TextWidth& width, float scale) const;
    void add_help(bool editing, HudFrame& frame, const TextWidth& width, float scale) const;
    void add_menu(const Game& game, HudFrame& frame, float scale) const;

    int32_t shown_level_ = 0; // the level whose card was made last; 0 before the first
    int32_t par_ = 0;
    std::vector<std::string> card_;
    double card_fade_at_ = -1.0e9; // when the card starts to fade
    std::vector<Message> messages_; // the newest last
    bool muted_seen_ = false; // M's mute as the last message told it
};
