#include "support/UnitFakeServices.h"

#include <cerrno>

TStatus TFakeTagReader::Read(const std::u16string& path, TTagList& list) {
  ++reads;
  list.Clear();
  if (failOpen) return TStatus::Error(EACCES, path, u"Permission denied");
  return TStatus::Ok();
}

std::u16string TFakeTagReader::Lookup(TTagFamily family, const TTagList&,
                                      std::u16string_view variable) const {
  const std::map<std::u16string, std::u16string>* values = nullptr;
  bool errorWhenUnknown = true;
  switch (family) {
    case TTagFamily::Video: values = &video, errorWhenUnknown = false; break;
    case TTagFamily::Mp3: values = &mp3; break;
    case TTagFamily::Jfif: values = &jfif; break;
    case TTagFamily::Exif: values = &exif; break;
    case TTagFamily::Xmp: values = &xmp, errorWhenUnknown = false; break;
  }
  const auto it = values->find(std::u16string(variable));
  if (it != values->end()) return it->second;
  return errorWhenUnknown ? u":ERROR:" : u"";
}
