// What a video container reader finds: the frame size and the text values
// that "?v_...?" variables name. Filled by the readers of each container.
#pragma once

#include <cstdint>
#include <string>

#include "metadata/UnitTagList.h"

struct TVideoProperties {
  // The container was recognised and is not known to lack pictures; only
  // then are "?v_wd?" and "?v_ht?" stored.
  bool recognised = false;
  uint32_t width = 0;       // 0 when unknown
  uint32_t height = 0;
  TTagList texts;  // "?v_len?", "?v_qt_" + atom + "?", "?v_ms_" + field + "?"
};

// Whole seconds as "hh-mm-ss" ("01-02-03"); hours may have more digits.
std::u16string DurationText(uint64_t seconds);
