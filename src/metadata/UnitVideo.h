// Video container properties: the size, the duration and the text tags that
// "?v_...?" variables name, read from fixed header fields of AVI, MPEG program
// streams, QuickTime/MP4 and ASF files. No media is decoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "metadata/UnitTagList.h"
#include "metadata/UnitVideoProperties.h"

class TByteSource;

// Reads the container that `extension` names (".avi"; compared without
// regard to case). Other extensions and unrecognised files yield nothing.
void ReadVideoProperties(TByteSource& source, std::u16string_view extension,
                         TVideoProperties& video);

// Fills `list` as expansion sees it: "?v_wd?" and "?v_ht?" when the container
// was recognised, then every text value found.
void StoreVideoProperties(const TVideoProperties& video, TTagList& list);
