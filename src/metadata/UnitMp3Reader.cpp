#include "metadata/UnitMp3Reader.h"

#include <array>

#include "metadata/UnitId3v1.h"
#include "metadata/UnitMP3Segment.h"
#include "metadata/UnitTagList.h"
#include "platform/UnitText.h"

namespace {

struct TMp3Name {
  std::u16string_view code;
  std::u16string_view key;
};

constexpr std::array<TMp3Name, 10> kNames = {{{u"I_AL", u"Album"},
                                              {u"I_AR", u"Artist"},
                                              {u"I_C", u"Comment"},
                                              {u"I_G", u"Genre"},
                                              {u"I_TI", u"Title"},
                                              {u"I_TR", u"Track"},
                                              {u"I_Y", u"Year"},
                                              {u"M_B", u"Bitrate"},
                                              {u"M_S", u"Sample"},
                                              {u"M_C", u"Channels"}}};

}  // namespace

std::optional<MP3_Enum> Mp3Code(std::u16string_view code) {
  const std::u16string upper = AsciiUpperCase(code);
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i].code == upper) return static_cast<MP3_Enum>(i);
  }
  return std::nullopt;
}

std::u16string_view Mp3Key(MP3_Enum code) { return kNames[static_cast<size_t>(code)].key; }

void ReadMp3Tags(TByteSource& source, TTagList& list) { ReadId3v1Tag(source, list); }

void ReadMp3Stream(TByteSource& source, TTagList& list) {
  TMP3Segment segment;
  if (!segment.GetHeader(source)) return;
  list.Set(u"Bitrate", IntToStr(segment.bitrate));
  list.Set(u"Sample", IntToStr(segment.sample));
  list.Set(u"Channels", IntToStr(segment.channel));
  list.Set(u"headerpos:", IntToStr(static_cast<long long>(segment.filep)));
  ReadMp3Tags(source, list);
}
