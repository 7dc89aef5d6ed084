// Small fakes of the services expansion reads through: a fixed clock, an
// environment held in a map and a tag reader that serves prepared values.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "metadata/UnitTagReader.h"
#include "platform/UnitClock.h"
#include "platform/UnitEnvironment.h"

class TFixedClock : public TClock {
 public:
  explicit TFixedClock(TDateTime now = 0) : now_(now) {}
  void Set(TDateTime now) { now_ = now; }
  TDateTime Now() const override { return now_; }

 private:
  TDateTime now_;
};

class TMapEnvironment : public TEnvironment {
 public:
  std::map<std::u16string, std::u16string> values;
  std::optional<std::u16string> Get(std::u16string_view name) const override {
    const auto it = values.find(std::u16string(name));
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

// Serves the values set per family for every file; counts reads. A name that
// is not set gives ":ERROR:" for Mp3, Jfif and Exif and empty otherwise, unless
// it was declared known with an empty value.
class TFakeTagReader : public TTagReader {
 public:
  std::map<std::u16string, std::u16string> video, mp3, jfif, exif, xmp;
  int reads = 0;
  bool failOpen = false;
  bool lastWithStream = false;

  TStatus ReadVideo(const std::u16string& path, TTagList& list) override { return Read(path, list); }
  TStatus ReadMp3(const std::u16string& path, bool withStream, TTagList& list) override {
    lastWithStream = withStream;
    return Read(path, list);
  }
  TStatus ReadJpeg(const std::u16string& path, TTagList& list) override { return Read(path, list); }
  std::u16string Lookup(TTagFamily family, const TTagList&,
                        std::u16string_view variable) const override;

 private:
  TStatus Read(const std::u16string& path, TTagList& list);
};
