// What meta-variable expansion asks of the metadata readers: read one family
// of tags from a file into a list, and look a variable up in that list.
#pragma once

#include <string>
#include <string_view>

#include "metadata/UnitTagList.h"
#include "platform/UnitStatus.h"

enum class TTagFamily { Video, Mp3, Jfif, Exif, Xmp };

class TTagReader {
 public:
  virtual ~TTagReader() = default;

  // Each Read fills `list` (cleared first) from the file at `path`. A file
  // without tags of the family leaves the list empty and returns Ok; a file
  // that cannot be opened returns the error, which ends the expansion.
  virtual TStatus ReadVideo(const std::u16string& path, TTagList& list) = 0;
  // ID3 tags; with `withStream` also the first MPEG audio frame.
  virtual TStatus ReadMp3(const std::u16string& path, bool withStream, TTagList& list) = 0;
  // JFIF, EXIF and XMP values in one walk of the segments.
  virtual TStatus ReadJpeg(const std::u16string& path, TTagList& list) = 0;

  // The value of `variable` (lower case, both "?" included, format part split
  // off, e.g. "?i_ar?") from a list that a Read filled. Names the family does
  // not know give ":ERROR:" for Mp3, Jfif and Exif and empty for Video and Xmp.
  virtual std::u16string Lookup(TTagFamily family, const TTagList& list,
                                std::u16string_view variable) const = 0;
};

// The reader used until real readers are wired in: every file has no tags.
class TNoTagReader : public TTagReader {
 public:
  TStatus ReadVideo(const std::u16string&, TTagList& list) override {
    list.Clear();
    return TStatus::Ok();
  }
  TStatus ReadMp3(const std::u16string&, bool, TTagList& list) override {
    list.Clear();
    return TStatus::Ok();
  }
  TStatus ReadJpeg(const std::u16string&, TTagList& list) override {
    list.Clear();
    return TStatus::Ok();
  }
  std::u16string Lookup(TTagFamily, const TTagList&, std::u16string_view) const override {
    return {};
  }
};
