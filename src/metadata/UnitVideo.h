// Video container properties: the size, the duration and the text tags that
// "?v_...?" variables name, read from fixed header fields of AVI, MPEG program
// streams, QuickTime/MP4 and ASF files. No media is decoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "metadata/UnitTagList.h"

class TByteSource;

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

// Reads the container that `extension` names (".avi"; compared without
// regard to case). Other extensions and unrecognised files yield nothing.
void ReadVideoProperties(TByteSource& source, std::u16string_view extension,
                         TVideoProperties& video);

// Fills `list` as expansion sees it: "?v_wd?" and "?v_ht?" when the container
// was recognised, then every text value found.
void StoreVideoProperties(const TVideoProperties& video, TTagList& list);
