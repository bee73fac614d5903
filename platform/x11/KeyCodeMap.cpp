#include "platform/x11/KeyCodeMap.h"

#include <array>

namespace markvane::platform::x11 {
namespace {

struct Pair {
    quint16 evdev;
    quint16 keyCode;
};

// evdev code → program key code. Where two evdev keys share one program code
// (Print and F13), the first listed wins the way back.
constexpr Pair kPairs[] = {
    {1, 53}, // Esc
    {2, 18},    {3, 19},    {4, 20},    {5, 21},    {6, 23},    {7, 22},    {8, 26},
    {9, 28},    {10, 25},   {11, 29}, // 1-9, 0
    {12, 27},   {13, 24},             // - =
    {14, 51},                         // Backspace
    {15, 48},                         // Tab
    {16, 12},   {17, 13},   {18, 14},   {19, 15},   {20, 17},   {21, 16},   {22, 32},
    {23, 34},   {24, 31},   {25, 35}, // Q-P
    {26, 33},   {27, 30},             // [ ]
    {28, 36},                         // Return
    {29, 59},                         // left Ctrl
    {30, 0},    {31, 1},    {32, 2},    {33, 3},    {34, 5},    {35, 4},    {36, 38},
    {37, 40},   {38, 37},                                                             // A-L
    {39, 41},   {40, 39},   {41, 50},                                                 // ; ' `
    {42, 56},                                                                         // left Shift
    {43, 42},                                                                         // backslash
    {44, 6},    {45, 7},    {46, 8},    {47, 9},    {48, 11},   {49, 45},   {50, 46}, // Z-M
    {51, 43},   {52, 47},   {53, 44},                                                 // , . /
    {54, 60},                                                                         // right Shift
    {55, 67},                                                                         // keypad *
    {56, 58},                                                                         // left Alt
    {57, 49},                                                                         // Space
    {58, 57},                                                                         // Caps Lock
    {59, 122},  {60, 120},  {61, 99},   {62, 118},  {63, 96},   {64, 97},   {65, 98},
    {66, 100},  {67, 101},  {68, 109}, // F1-F10
    {69, 71},                          // Num Lock (keypad clear)
    {70, 107},                         // Scroll Lock (F14)
    {71, 89},   {72, 91},   {73, 92},   {74, 78},   {75, 86},   {76, 87},   {77, 88},
    {78, 69},   {79, 83},   {80, 84},   {81, 85},   {82, 82},   {83, 65}, // keypad
    {86, 10},              // the extra ISO key beside left Shift
    {87, 103},  {88, 111}, // F11 F12
    {89, 94},              // JIS Ro
    {92, 104},             // Henkan (kana)
    {94, 102},             // Muhenkan (eisu)
    {96, 76},              // keypad Enter
    {97, 62},              // right Ctrl
    {98, 75},              // keypad /
    {99, 105},             // Print (F13)
    {100, 61},             // right Alt
    {102, 115}, {103, 126}, {104, 116}, {105, 123}, {106, 124}, {107, 119}, {108, 125},
    {109, 121},                        // Home Up PageUp Left Right End Down PageDown
    {110, 114},                        // Insert (help)
    {111, 117},                        // Delete (forward delete)
    {113, 74},  {114, 73},  {115, 72}, // mute, volume down, volume up
    {117, 81},                         // keypad =
    {119, 113},                        // Pause (F15)
    {121, 95},                         // keypad ,
    {124, 93},                         // Yen
    {125, 55},                         // left Super
    {126, 54},                         // right Super
    {127, 110},                        // Menu
    {183, 105}, {184, 107}, {185, 113}, {186, 106}, {187, 64},  {188, 79},  {189, 80},
    {190, 90}, // F13-F20
};

constexpr int kEvdevOffset = 8;
constexpr int kNoCode = -1;

struct Tables {
    std::array<int, 256> fromX{};
    std::array<int, 128> toX{};
};

constexpr Tables buildTables() {
    Tables tables;
    tables.fromX.fill(kNoCode);
    tables.toX.fill(kNoCode);
    for (const Pair& pair : kPairs) {
        const int x = pair.evdev + kEvdevOffset;
        tables.fromX[x] = pair.keyCode;
        if (tables.toX[pair.keyCode] == kNoCode)
            tables.toX[pair.keyCode] = x;
    }
    return tables;
}

constexpr Tables kTables = buildTables();

} // namespace

std::optional<quint16> keyCodeFromX(quint8 xKeyCode) {
    const int code = kTables.fromX[xKeyCode];
    if (code == kNoCode)
        return std::nullopt;
    return quint16(code);
}

std::optional<quint8> xKeyCodeFromKeyCode(quint16 keyCode) {
    if (keyCode >= kTables.toX.size() || kTables.toX[keyCode] == kNoCode)
        return std::nullopt;
    return quint8(kTables.toX[keyCode]);
}

} // namespace markvane::platform::x11
