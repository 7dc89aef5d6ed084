#include "config/UnitColours.h"

TColour ColorToRGB(TColour colour, const TSystemColours& system) {
  const uint32_t bits = static_cast<uint32_t>(colour);
  if (!IsSystemColour(colour)) return static_cast<TColour>(bits & 0x00FFFFFFu);
  const size_t index = bits & 0xFFu;
  return index < system.rgb.size() ? system.rgb[index] : 0;
}

TColour BuiltInColour(TSetting key, const TSystemColours& system) {
  const TColour text = ColorToRGB(SystemColour(kSystemWindowText), system);
  const TColour window = ColorToRGB(SystemColour(kSystemWindow), system);
  switch (key) {
    case TSetting::ColourPathFore:
    case TSetting::ColourOptionsFore:
    case TSetting::ColourFileListFore:
      return text;
    case TSetting::ColourPathBack:
    case TSetting::ColourOptionsBack:
    case TSetting::ColourFileListBack:
      return window;
    case TSetting::ColourCollisionsFore:
      return 0x0000FF;
    case TSetting::ColourToBeRenamed:
      return SystemColour(kSystemWindowText);
    case TSetting::ColourAddStep:
      return 0x748172;
    case TSetting::ColourRemoveStep:
      return 0x726F86;
    case TSetting::ColourReplaceStep:
      return 0xB9A793;
    case TSetting::ColourStepContainer:
      return 0xC4C4C6;
    default:
      return 0;
  }
}
