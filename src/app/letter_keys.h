// The letter keys the game answers to. The window layer hands letters over
// as their upper-case character codes.
#pragma once

constexpr int KEY_A = 'A';
constexpr int KEY_C = 'C';
constexpr int KEY_D = 'D';
constexpr int KEY_E = 'E';
constexpr int KEY_H = 'H';
constexpr int KEY_M = 'M';
constexpr int KEY_N = 'N';
constexpr int KEY_R = 'R';
constexpr int KEY_S = 'S';
constexpr int KEY_U = 'U';
constexpr int KEY_V = 'V';
constexpr int KEY_W = 'W';
constexpr int KEY_Y = 'Y';
constexpr int KEY_Z = 'Z';
