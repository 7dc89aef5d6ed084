#include "metadata/UnitVideo.h"

#include "metadata/UnitAsfReader.h"
#include "metadata/UnitAviReader.h"
#include "metadata/UnitMpegReader.h"
#include "metadata/UnitQuickTimeReader.h"
#include "platform/UnitText.h"

void ReadVideoProperties(TByteSource& source, std::u16string_view extension,
                         TVideoProperties& video) {
  const std::u16string ext = AsciiLowerCase(extension);
  if (ext == u".avi") {
    ReadAvi(source, video);
  } else if (ext == u".mpg" || ext == u".mpeg") {
    ReadMpeg(source, video);
  } else if (ext == u".mov" || ext == u".mp4" || ext == u".m4v") {
    ReadQuickTime(source, video);
  } else if (ext == u".asf" || ext == u".wmv") {
    ReadAsf(source, video);
  }
}

void StoreVideoProperties(const TVideoProperties& video, TTagList& list) {
  if (video.recognised) {
    list.Set(u"?v_wd?", IntToStr(video.width));
    list.Set(u"?v_ht?", IntToStr(video.height));
  }
  for (const auto& [name, value] : video.texts.Entries()) list.Set(name, value);
}
