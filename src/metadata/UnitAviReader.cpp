#include "metadata/UnitAviReader.h"

#include <string_view>

#include "metadata/UnitByteSource.h"
#include "metadata/UnitBytes.h"
#include "metadata/UnitVideoProperties.h"

void ReadAvi(TByteSource& source, TVideoProperties& video) {
  // The main AVI header in its usual place: "RIFF" size "AVI " "LIST" size
  // "hdrl" "avih" size, then its fields from offset 32 on.
  std::string_view head;
  if (!source.View(0, 72, head) || head.substr(0, 4) != "RIFF" || head.substr(8, 4) != "AVI ") {
    return;
  }
  const uint64_t microsecondsPerFrame = LittleEndian32(head, 32);
  const uint64_t totalFrames = LittleEndian32(head, 48);
  video.recognised = true;
  video.width = LittleEndian32(head, 64);
  video.height = LittleEndian32(head, 68);
  video.texts.Set(u"?v_len?", DurationText(microsecondsPerFrame * totalFrames / 1000000));
}
