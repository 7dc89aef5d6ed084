// Meta-variable expansion with format parts over arbitrary texts, for an
// entry whose names, dates, sizes, tag values, file content, "?temp?",
// "?textN?" values, environment and expansion settings all come from the
// input, so values that hold variable text, "%", "?" or "|" come back into
// the passes.
//
// Input: byte 0 holds the switches, byte 1 the extension that selects the tag
// passes, bytes 2..3 two reserved characters with the stand-ins of bytes 4..5,
// then counter start and step, the clock, the packed dates and the list
// positions; the rest are the texts below, separated by NUL.
#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "UnitFuzzInput.h"
#include "UnitMemoryFile.h"
#include "matching/UnitMetaVariables.h"
#include "metadata/UnitTagReader.h"
#include "model/UnitRenameRecord.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"

namespace {

enum TPiece : size_t {
  kText,        // what is expanded
  kCaption,     // the entry's name without extension
  kDateColumn,  // the date-modified column
  kSize,        // the size column
  kTemp,        // "?temp?"
  kField1,      // "?text1?", "?text2?"
  kField2,
  kEnvName,  // one environment variable
  kEnvValue,
  kTagValue,  // what every tag variable reads
  kContent,   // the file's bytes, for "?fcp" and "?fcu"
  kPieces
};

// Answers every tag variable with one value; a read may fail, and unknown
// names may give ":ERROR:", as the real readers do.
class TOneValueTagReader : public TTagReader {
 public:
  TOneValueTagReader(std::u16string value, bool failRead, bool error)
      : value_(std::move(value)), failRead_(failRead), error_(error) {}
  TStatus ReadVideo(const std::u16string& path, TTagList& list) override {
    return Read(path, list);
  }
  TStatus ReadMp3(const std::u16string& path, bool, TTagList& list) override {
    return Read(path, list);
  }
  TStatus ReadJpeg(const std::u16string& path, TTagList& list) override { return Read(path, list); }
  std::u16string Lookup(TTagFamily family, const TTagList&, std::u16string_view) const override {
    const bool errorFamily =
        family == TTagFamily::Mp3 || family == TTagFamily::Jfif || family == TTagFamily::Exif;
    return error_ && errorFamily ? u":ERROR:" : value_;
  }

 private:
  TStatus Read(const std::u16string& path, TTagList& list) const {
    list.Clear();
    return failRead_ ? TStatus::Error(13, path, u"Permission denied") : TStatus::Ok();
  }

  std::u16string value_;
  bool failRead_;
  bool error_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Expansion texts are typed lines; a few KiB reach every pass many times.
  if (size > kMaxFuzzInput / 16) return 0;
  static constexpr std::array<std::u16string_view, 8> kExtensions = {
      u".jpg", u".mp3", u".avi", u".txt", u"", u".JPEG", u".wmv", u".Mp3"};
  TFuzzInput input(FuzzBytes(data, size));
  const uint8_t flags = input.Byte();
  const std::u16string_view extension = kExtensions[input.Byte() % kExtensions.size()];
  const std::array<uint8_t, 4> reserved = {input.Byte(), input.Byte(), input.Byte(), input.Byte()};
  const int counterStart = input.Int16();
  const int counterStep = input.Int16();
  const int day = input.Int16();
  const uint8_t time = input.Byte();
  const auto packed = [&input] {  // high half first
    const int high = input.Int16();
    return static_cast<int32_t>(high * 65536 + static_cast<uint16_t>(input.Int16()));
  };
  const int32_t modified = packed();
  const int32_t created = packed();
  const uint8_t position = input.Byte();
  const auto texts = input.Texts(kPieces);

  TFakeFileSystem fs;
  // Around 2023 by default; far days reach the calendar's ends.
  TFixedClock clock(45000.0 + ((flags & 0x80) != 0 ? day * 64.0 : day) + time / 256.0);
  TMapEnvironment env;
  env.values[TextAt(texts, kEnvName)] = TextAt(texts, kEnvValue);
  TOneValueTagReader tags(TextAt(texts, kTagValue), (flags & 0x20) != 0, (flags & 0x40) != 0);
  TMetaVariables vars(fs, clock, env, tags);
  vars.SetKeepEmptyVariables((flags & 1) != 0);
  vars.SetExpandEnvironment((flags & 2) != 0);
  vars.SetCounterUsesListPosition((flags & 4) != 0);
  vars.SetRawOnce((flags & 8) != 0);
  vars.SetCounterStart(counterStart);
  vars.SetCounterStep(counterStep);
  for (size_t i = 0; i < 2; ++i) {
    const size_t which = reserved[i] % TMetaVariables::kReserved.size();
    vars.SetReplacement(TMetaVariables::kReserved[which], static_cast<char16_t>(reserved[i + 2]));
  }
  vars.SetTempText(TextAt(texts, kTemp));
  vars.SetTextField(0, TextAt(texts, kField1));
  vars.SetTextField(1, TextAt(texts, kField2));

  RenameRecord rec;
  FillRenameRecordNames(rec, u"/home/ann/Pictures/",
                        TextAt(texts, kCaption) + std::u16string(extension), (flags & 0x10) != 0,
                        u"", TextAt(texts, kDateColumn));
  rec.filesize = TextAt(texts, kSize);
  rec.Modified = modified;
  rec.Created = created;
  rec.listposition = position % 16;
  rec.listtotal = position / 16;
  rec.selectedposition = position % 8;
  rec.selectedtotal = position / 8;
  rec.foldertotal = position;
  fs.AddFile(rec.FullName, Utf16ToUtf8(TextAt(texts, kContent)));

  (void)vars.Expand(TextAt(texts, kText), rec);
  return 0;
}
