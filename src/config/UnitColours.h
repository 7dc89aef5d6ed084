// Colours as the settings store them: a signed 32-bit value, 0x00BBGGRR for
// an RGB colour (red in the lowest byte) or 0xFF0000nn for system colour nn.
#pragma once

#include <array>
#include <cstdint>

#include "config/UnitSettingsTable.h"

using TColour = int32_t;

constexpr TColour kColourKeep = -1;  // a stored -1 keeps the built-in colour
constexpr int kSystemWindow = 5;     // window background
constexpr int kSystemWindowText = 8;
// A reference to system colour `index`.
constexpr TColour SystemColour(int index) {
  return static_cast<TColour>(0xFF000000u | static_cast<uint32_t>(index & 0xFF));
}
constexpr bool IsSystemColour(TColour c) {
  return (static_cast<uint32_t>(c) & 0xFF000000u) == 0xFF000000u;
}

// The RGB values of the system colours, as the window toolkit reports them.
// The defaults are a light desktop theme.
struct TSystemColours {
  std::array<TColour, 31> rgb = DefaultRgb();

  static constexpr std::array<TColour, 31> DefaultRgb() {
    std::array<TColour, 31> a{};
    a[kSystemWindow] = 0xFFFFFF;
    a[13] = 0xD77800;  // selection background (blue)
    a[14] = 0xFFFFFF;  // selection text
    a[15] = 0xF0F0F0;  // button face
    a[17] = 0x6D6D6D;  // disabled text
    return a;
  }
};

// The RGB value of a colour: system references resolved through `system`
// (an unknown index gives black), other values with the top byte cleared.
TColour ColorToRGB(TColour colour, const TSystemColours& system);

// The colour a colour key has when nothing is stored: window text and
// background resolved to RGB for the path, options and file-list keys, red
// for collisions, the system window-text reference for entries to be renamed,
// and fixed shades for the step panels. 0 for settings that are no colours.
TColour BuiltInColour(TSetting key, const TSystemColours& system);
