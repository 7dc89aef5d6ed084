#include "metadata/UnitFileTags.h"

#include <memory>

#include "metadata/UnitByteSource.h"
#include "metadata/UnitExifTags.h"
#include "metadata/UnitJpegReader.h"
#include "metadata/UnitMp3Reader.h"
#include "metadata/UnitVideo.h"
#include "platform/UnitText.h"

namespace {

constexpr std::u16string_view kError = u":ERROR:";

std::u16string_view FileName(std::u16string_view path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

// The extension of the file name with its ".", or empty.
std::u16string_view Extension(std::u16string_view path) {
  const std::u16string_view name = FileName(path);
  const size_t dot = name.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

// "?i_ar?" without its question marks.
std::u16string_view Inner(std::u16string_view variable) {
  if (!variable.empty() && variable.front() == u'?') variable.remove_prefix(1);
  if (!variable.empty() && variable.back() == u'?') variable.remove_suffix(1);
  return variable;
}

std::u16string JfifValue(const TTagList& list, std::u16string_view code) {
  const std::u16string lower = AsciiLowerCase(code);
  if (lower == u"j_w") return list.Value(u"JFIF_WIDTH");
  if (lower == u"j_h") return list.Value(u"JFIF_HEIGHT");
  if (lower == u"j_b") return list.Value(u"JFIF_PRECISION");
  return std::u16string(kError);
}

}  // namespace

void ReadVideoFile(const TRandomAccessFile& file, std::u16string_view extension, TTagList& list) {
  list.Clear();
  TByteSource source(file);
  TVideoProperties video;
  ReadVideoProperties(source, extension, video);
  StoreVideoProperties(video, list);
}

void ReadMp3File(const TRandomAccessFile& file, bool withStream, TTagList& list) {
  list.Clear();
  TByteSource source(file);
  if (withStream) {
    ReadMp3Stream(source, list);
  } else {
    ReadMp3Tags(source, list);
  }
}

void ReadJpegFile(const TRandomAccessFile& file, TTagList& list) {
  list.Clear();
  TByteSource source(file);
  ReadJpegTags(source, list);
}

TFileTagReader::TFileTagReader(TFileSystem& fs, std::u16string debugFolder)
    : fs_(fs), debugFolder_(std::move(debugFolder)) {}

TStatus TFileTagReader::ReadVideo(const std::u16string& path, TTagList& list) {
  list.Clear();
  std::unique_ptr<TRandomAccessFile> file;
  if (TStatus status = fs_.OpenForReading(path, file); !status.ok()) return status;
  ReadVideoFile(*file, Extension(path), list);
  return TStatus::Ok();
}

TStatus TFileTagReader::ReadMp3(const std::u16string& path, bool withStream, TTagList& list) {
  list.Clear();
  std::unique_ptr<TRandomAccessFile> file;
  if (TStatus status = fs_.OpenForReading(path, file); !status.ok()) return status;
  ReadMp3File(*file, withStream, list);
  WriteDebugLog(path, list);
  return TStatus::Ok();
}

TStatus TFileTagReader::ReadJpeg(const std::u16string& path, TTagList& list) {
  list.Clear();
  std::unique_ptr<TRandomAccessFile> file;
  if (TStatus status = fs_.OpenForReading(path, file); !status.ok()) {
    return TStatus::Error(status.code(), {},
                          u"ReadJpeg: Can't open file: " + path + u" (" +
                              IntToStr(status.code()) + u")");
  }
  ReadJpegFile(*file, list);
  WriteDebugLog(path, list);
  return TStatus::Ok();
}

std::u16string TFileTagReader::Lookup(TTagFamily family, const TTagList& list,
                                      std::u16string_view variable) const {
  const std::u16string_view code = Inner(variable);
  switch (family) {
    case TTagFamily::Video:
    case TTagFamily::Xmp:
      return list.Value(variable);
    case TTagFamily::Mp3: {
      const std::optional<MP3_Enum> member = Mp3Code(code);
      return member ? list.Value(Mp3Key(*member)) : std::u16string(kError);
    }
    case TTagFamily::Jfif:
      return JfifValue(list, code);
    case TTagFamily::Exif: {
      const std::optional<uint16_t> tag = GetTagNumber(code);
      return tag ? list.Value(GetTagName(*tag)) : std::u16string(kError);
    }
  }
  return {};
}

void TFileTagReader::WriteDebugLog(const std::u16string& path, const TTagList& list) {
  if (debugFolder_.empty() || !fs_.DirectoryExists(debugFolder_)) return;
  const std::u16string log = debugFolder_ + u"/" + std::u16string(FileName(path)) + u"-log.txt";
  (void)fs_.WriteWholeFile(log, Utf16ToUtf8(list.Text()));  // a log that fails is no error
}
