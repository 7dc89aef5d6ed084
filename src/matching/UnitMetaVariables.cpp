#include "matching/UnitMetaVariables.h"

#include <limits>

#include "matching/UnitFormatPart.h"
#include "matching/UnitVariableCatalogue.h"
#include "metadata/UnitTagReader.h"
#include "platform/UnitClock.h"
#include "platform/UnitDateTime.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitNumberFormat.h"
#include "platform/UnitText.h"

namespace {

constexpr std::u16string_view kError = u":ERROR:";
// The expanded environment value must fit the platform call's buffer.
constexpr size_t kEnvironmentBuffer = 260;
// An expansion never grows past this many code units (a new name holds a few
// hundred). A value that brings back its own variable, such as a track tag
// "?i_tr??i_tr?", doubles the text with every pass; at this length the pass
// stops and leaves the remaining variables as they stand.
constexpr size_t kMaxExpandedLength = size_t{1} << 16;

// A variable found in the text: its whole text, its name ("?name?", lower
// case) and its format part.
struct TVariable {
  size_t at = 0;  // where its first occurrence starts
  std::u16string text;
  std::u16string name;
  std::u16string format;
};

TVariable SplitVariable(std::u16string_view text) {
  TVariable v;
  v.text = std::u16string(text);
  const size_t colon = text.find(u':');
  if (colon == std::u16string_view::npos) {
    v.name = LowerCase(text);
  } else {
    v.name = LowerCase(text.substr(0, colon)) + u"?";
    v.format = std::u16string(text.substr(colon + 1, text.size() - colon - 2));
  }
  return v;
}

// The variable that starts at the first of `prefixes` (compared in lower
// case) and runs to the next "?" after it; false when there is none.
bool FindVariable(std::u16string_view text, std::initializer_list<std::u16string_view> prefixes,
                  TVariable& variable) {
  const std::u16string lower = LowerCase(text);
  size_t start = std::u16string::npos;
  for (const auto prefix : prefixes) start = std::min(start, lower.find(prefix));
  if (start == std::u16string::npos) return false;
  const size_t end = text.find(u'?', start + 1);
  if (end == std::u16string_view::npos) return false;
  variable = SplitVariable(text.substr(start, end - start + 1));
  variable.at = start;
  return true;
}

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view what) {
  return FindIgnoringCase(text, what) != std::u16string_view::npos;
}

// A pass stops after this many variables, so a value that brings its own
// variable text back (a raw value, or "?" configured to stand for itself)
// can never make it loop.
size_t PassLimit(std::u16string_view text) {
  size_t marks = 0;
  for (const char16_t c : text) marks += (c == u'?');
  return marks + 1;
}

void RestoreKept(std::u16string& text) {
  for (auto& c : text) {
    if (c == u'|') c = u'?';
  }
}

bool ParseSize(std::u16string_view sizeText, long long& size) {
  std::u16string digits;
  for (const char16_t c : sizeText) {
    if (c == FormatSettings::ThousandSeparator) continue;
    if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == FormatSettings::DecimalSeparator) {
      digits.push_back(c);
    }
  }
  return TryStrToInt64(digits, size);
}

std::u16string FolderOf(std::u16string_view path) {
  std::u16string folder = ExtractFilePath(path);
  if (!folder.empty()) folder.pop_back();
  return folder;
}

std::u16string DosDateText(int32_t packed) {
  TDateTime date = 0;
  return DosDateTimeToDateTime(packed, date) ? DateTimeToStr(date) : std::u16string();
}

bool HasExtension(std::u16string_view ext, std::initializer_list<std::u16string_view> list) {
  const std::u16string upper = UpperCase(ext);
  for (const auto item : list) {
    if (upper == item) return true;
  }
  return false;
}

}  // namespace

TMetaVariables::TMetaVariables(TFileSystem& fs, const TClock& clock, const TEnvironment& env,
                               TTagReader& tags)
    : fs_(fs), clock_(clock), env_(env), tags_(tags) {
  // Default stand-ins for \ / < > " ? : | * .
  const std::u16string_view defaults = u"-{][\'#;!+.";
  for (size_t i = 0; i < replacements_.size(); ++i) replacements_[i] = defaults[i];
}

void TMetaVariables::SetReplacement(char16_t reserved, char16_t replacement) {
  const size_t i = kReserved.find(reserved);
  if (i != std::u16string_view::npos) replacements_[i] = replacement;
}

char16_t TMetaVariables::Replacement(char16_t reserved) const {
  const size_t i = kReserved.find(reserved);
  return i == std::u16string_view::npos ? reserved : replacements_[i];
}

void TMetaVariables::SetTextField(size_t index, std::u16string_view value) {
  if (index >= TextFields.size()) TextFields.resize(index + 1);
  TextFields[index] = std::u16string(value);
}

std::u16string TMetaVariables::ReplaceReserved(std::u16string_view value) {
  std::u16string out(value);
  ReplaceReservedInPlace(out);
  return out;
}

void TMetaVariables::ReplaceReservedInPlace(std::u16string& value) {
  if (RawOnce) {
    RawOnce = false;
    return;
  }
  for (auto& c : value) {
    if (c > u'|' || c < u'"') continue;  // outside the range of the reserved characters
    const size_t i = kReserved.find(c);
    if (i != std::u16string_view::npos) c = replacements_[i];
  }
}

TExpansion TMetaVariables::Expand(std::u16string_view input, const RenameRecord& rec) {
  TExpansion result{std::u16string(input), TStatus::Ok()};
  std::u16string& text = result.text;
  if (ExpandEnvironment && text.find(u'%') != std::u16string::npos) {
    text = ExpandEnvironmentPieces(text);
  }
  if (text.find(u'?') != std::u16string::npos) {
    const std::u16string shortFile =
        rec.shortname.empty() ? std::u16string() : ExtractFilePath(rec.FullName) + rec.shortname;
    const std::u16string& file = rec.shortname.empty() ? rec.FullName : shortFile;
    result.status = VideoPass(text, rec, file);
    if (result.status.ok()) result.status = Mp3Pass(text, rec, file);
    if (result.status.ok()) result.status = JpegPass(text, rec, file);
    if (result.status.ok()) {
      FileContentPass(text, file);
      SimpleVariablePass(text, rec);
    }
    RestoreKept(text);
  }
  RawOnce = false;
  return result;
}

std::u16string TMetaVariables::ExpandEnvironmentPieces(std::u16string_view input) {
  std::u16string text(input);
  size_t pos = 0;
  while (true) {
    const size_t open = input.find(u'%', pos);
    if (open == std::u16string_view::npos) break;
    const size_t close = input.find(u'%', open + 1);
    if (close == std::u16string_view::npos) break;
    if (close == open + 1) {  // "%%" holds no name; the second "%" may open one
      pos = close;
      continue;
    }
    const std::u16string_view piece = input.substr(open, close - open + 1);
    pos = close + 1;
    const std::u16string expanded = ExpandEnvironmentStrings(piece, env_);
    if (expanded == piece || expanded.size() > kEnvironmentBuffer) continue;
    text = ReplaceAllIgnoringCase(text, piece, ReplaceReserved(Trim(expanded)));
  }
  return text;
}

bool TMetaVariables::KeepOrReplace(std::u16string& text, size_t at, std::u16string_view variable,
                                   const std::u16string& value, bool keepAllowed) const {
  std::u16string replacement;
  if (value.empty() && KeepEmpty && keepAllowed) {
    replacement = std::u16string(variable);
    for (auto& c : replacement) {
      if (c == u'?') c = u'|';
    }
  } else {
    replacement = value;
  }
  if (replacement.size() > variable.size()) {
    size_t count = 0;
    for (size_t hit = at; hit != std::u16string::npos;
         hit = FindIgnoringCase(text, variable, hit + variable.size())) {
      ++count;
    }
    if (text.size() + count * (replacement.size() - variable.size()) > kMaxExpandedLength) {
      return false;
    }
  }
  // `at` is the first occurrence; replace it in place, then any later ones.
  text.replace(at, variable.size(), replacement);
  const size_t after = at + replacement.size();
  if (FindIgnoringCase(text, variable, after) != std::u16string::npos) {
    text = text.substr(0, after) + ReplaceAllIgnoringCase(std::u16string_view(text).substr(after),
                                                          variable, replacement);
  }
  return true;
}

TStatus TMetaVariables::VideoPass(std::u16string& text, const RenameRecord& rec,
                                  const std::u16string& file) {
  if (!HasExtension(rec.ext, {u"AVI", u"MPG", u"MPEG", u"MOV", u"MP4", u"M4V", u"ASF", u"WMV"}) ||
      !ContainsIgnoringCase(text, u"?v_")) {
    return TStatus::Ok();
  }
  TTagList list;
  TStatus status = tags_.ReadVideo(file, list);
  if (!status.ok()) return status;
  TVariable v;
  for (size_t n = PassLimit(text); n > 0 && FindVariable(text, {u"?v"}, v); --n) {
    const std::u16string value =
        ApplyFormat(ReplaceReserved(tags_.Lookup(TTagFamily::Video, list, v.name)), v.format);
    if (!KeepOrReplace(text, v.at, v.text, value, true)) break;
  }
  return TStatus::Ok();  // kept video variables stay hidden until the end
}

TStatus TMetaVariables::Mp3Pass(std::u16string& text, const RenameRecord& rec,
                                const std::u16string& file) {
  if (LowerCase(rec.ext) != u"mp3") return TStatus::Ok();
  const bool wantsStream = ContainsIgnoringCase(text, u"?m_");
  if (!wantsStream && !ContainsIgnoringCase(text, u"?i_")) return TStatus::Ok();
  TTagList list;
  TStatus status = tags_.ReadMp3(file, wantsStream, list);
  if (!status.ok()) return status;
  TVariable v;
  for (size_t n = PassLimit(text); n > 0 && FindVariable(text, {u"?i", u"?m"}, v); --n) {
    std::u16string value = tags_.Lookup(TTagFamily::Mp3, list, v.name);
    if (value != kError) {
      if (v.name == u"?i_tr?") {
        // The track number: two digits at least, never replaced.
        if (value.size() == 1) value.insert(value.begin(), u'0');
      } else {
        value = ReplaceReserved(value);
      }
      value = ApplyFormat(value, v.format);
    }
    if (!KeepOrReplace(text, v.at, v.text, value, true)) break;
  }
  RestoreKept(text);
  return TStatus::Ok();
}

TStatus TMetaVariables::JpegPass(std::u16string& text, const RenameRecord& rec,
                                 const std::u16string& file) {
  const std::u16string ext = LowerCase(rec.ext);
  if (ext != u"jpg" && ext != u"jpeg") return TStatus::Ok();
  if (!ContainsIgnoringCase(text, u"?x_") && !ContainsIgnoringCase(text, u"?j_") &&
      !ContainsIgnoringCase(text, u"?xmp_")) {
    return TStatus::Ok();
  }
  TTagList list;
  TStatus status = tags_.ReadJpeg(file, list);
  if (!status.ok()) return status;
  TVariable v;
  for (size_t n = PassLimit(text);
       n > 0 && ContainsIgnoringCase(text, u"?j_") && FindVariable(text, {u"?j"}, v); --n) {
    std::u16string value = tags_.Lookup(TTagFamily::Jfif, list, v.name);
    if (value != kError) value = ApplyFormat(value, v.format);
    if (!KeepOrReplace(text, v.at, v.text, value, true)) break;
  }
  RestoreKept(text);
  for (size_t n = PassLimit(text); n > 0 && FindVariable(text, {u"?x_"}, v); --n) {
    std::u16string value = tags_.Lookup(TTagFamily::Exif, list, v.name);
    if (value != kError) value = ReplaceReserved(ApplyFormat(value, v.format));
    if (!KeepOrReplace(text, v.at, v.text, value, true)) break;
  }
  RestoreKept(text);
  for (size_t n = PassLimit(text); n > 0 && FindVariable(text, {u"?xmp_"}, v); --n) {
    const std::u16string value =
        ReplaceReserved(ApplyFormat(tags_.Lookup(TTagFamily::Xmp, list, v.name), v.format));
    if (!KeepOrReplace(text, v.at, v.text, value, true)) break;
  }
  RestoreKept(text);
  return TStatus::Ok();
}

void TMetaVariables::FileContentPass(std::u16string& text, const std::u16string& file) {
  if (!ContainsIgnoringCase(text, u"?fcp") && !ContainsIgnoringCase(text, u"?fcu")) return;
  TVariable v;
  for (size_t n = PassLimit(text); n > 0 && FindVariable(text, {u"?fcp", u"?fcu"}, v); --n) {
    std::u16string value = FileContent(v.name, file);
    if (value != kError) value = ApplyFormat(value, v.format);
    if (!KeepOrReplace(text, v.at, v.text, value, false)) break;
  }
}

// "?fcp_x.y?" / "?fcu_x.y?": characters x through y of the file.
std::u16string TMetaVariables::FileContent(std::u16string_view lowerName,
                                           const std::u16string& file) {
  const bool unicodeLetter = lowerName.size() > 3 && lowerName[3] == u'u';
  std::u16string_view range = lowerName.substr(std::min<size_t>(lowerName.size(), 4));
  if (!range.empty() && range.front() == u'_') range.remove_prefix(1);
  if (!range.empty() && range.back() == u'?') range.remove_suffix(1);
  const size_t dot = range.find(u'.');
  long long x = 1;
  long long y = 2;
  if (dot == std::u16string_view::npos || !TryStrToInt64(range.substr(0, dot), x)) x = 1;
  if (dot == std::u16string_view::npos || !TryStrToInt64(range.substr(dot + 1), y)) y = 2;

  std::unique_ptr<TRandomAccessFile> handle;
  if (!fs_.OpenForReading(file, handle).ok()) return std::u16string(kError);
  std::string first;
  if (!handle->Read(0, 1, first).ok()) return std::u16string(kError);
  const bool unicode = unicodeLetter || (!first.empty() && static_cast<unsigned char>(first[0]) == 0xFF);

  const long long unit = unicode ? 2 : 1;
  const auto size = static_cast<long long>(handle->Size());
  // A range that cannot lie in the file is refused before it is multiplied:
  // positions near the largest number would overflow.
  if (x < 1 || x > y || x - 1 > size || y - x >= size) return std::u16string(kError);
  const long long count = (y - x + 1) * unit;
  const long long start = (x - 1) * unit;
  if (start > size || count > size - start) return std::u16string(kError);
  std::string bytes;
  if (!handle->Read(static_cast<uint64_t>(start), static_cast<size_t>(count), bytes).ok() ||
      static_cast<long long>(bytes.size()) != count) {
    return std::u16string(kError);
  }
  std::u16string value;
  if (unicode) {
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      value.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
  } else {
    value = Windows1252ToUtf16(bytes);
  }
  return ReplaceReserved(value);
}

void TMetaVariables::SimpleVariablePass(std::u16string& text, const RenameRecord& rec) {
  bool counterKnown = false;
  long long counter = 0;
  for (size_t n = PassLimit(text); n > 0; --n) {
    const size_t open = text.find(u'?');
    if (open == std::u16string::npos) return;
    const size_t close = text.find(u'?', open + 1);
    if (close == std::u16string::npos) return;
    TVariable v = SplitVariable(std::u16string_view(text).substr(open, close - open + 1));
    v.at = open;
    const int index = FindSimpleVariable(v.name);
    if (index < 0) return;
    std::u16string value;
    if (index >= svCounter13 && index <= svCounter) {
      if (!counterKnown) counter = Counter(rec), counterKnown = true;
      value = IntToStr(counter);
      const size_t digits = static_cast<size_t>(svCounter - index);
      if (value.size() < digits) value.insert(0, digits - value.size(), u'0');
    } else {
      const bool dateFormat = !v.format.empty() && (v.format[0] == u'f' || v.format[0] == u'F' ||
                                                    v.format[0] == u'c' || v.format[0] == u'C');
      value = SimpleValue(index, rec, dateFormat || (!v.format.empty() && index >= svDateShort &&
                                                     index <= svDateLong));
    }
    if (!v.format.empty()) value = ApplyFormat(value, v.format);
    ReplaceReservedInPlace(value);
    if (!KeepOrReplace(text, v.at, v.text, value, true)) break;
  }
}

long long TMetaVariables::Counter(const RenameRecord& rec) const {
  if (CounterUsesListPosition) return rec.listposition;
  const long long value = static_cast<long long>(CounterStart) +
                          (static_cast<long long>(rec.selectedposition) - 1) * CounterStep;
  return (value < 0 || value > std::numeric_limits<int>::max()) ? 0 : value;
}

// The value of a simple variable before its format part. `rawDate` asks for
// the unreplaced date text that a date format can read back.
std::u16string TMetaVariables::SimpleValue(int index, const RenameRecord& rec, bool rawDate) {
  const auto today = [&](std::u16string_view format) {
    return FormatDateTime(rawDate ? u"ddddd" : format, clock_.Now());
  };
  const auto fileDate = [&](std::u16string_view format) {
    if (rawDate) return rec.filedate;
    TDateTime date = 0;
    return TryStrToDateTime(rec.filedate, date) ? FormatDateTime(format, date) : rec.filedate;
  };
  const auto sized = [&](auto write) {
    long long size = 0;
    return ParseSize(rec.filesize, size) ? write(size) : std::u16string();
  };
  constexpr double kKb = 1024.0, kMb = kKb * 1024.0, kGb = kMb * 1024.0;
  switch (index) {
    case svCurrentFolder: return ExtractFileName(FolderOf(rec.FullName));
    case svTodayShort: return rawDate ? today(u"") : ReplaceReserved(today(u"ddddd"));
    case svTodayMedium: return rawDate ? today(u"") : ReplaceReserved(today(u"dd-mmm-yyyy"));
    case svTodayLong: return rawDate ? today(u"") : ReplaceReserved(today(u"dddddd"));
    case svDateShort: return rawDate ? fileDate(u"") : ReplaceReserved(fileDate(u"ddddd"));
    case svDateMedium: return fileDate(u"dd-mmm-yyyy");
    case svDateLong: return rawDate ? fileDate(u"") : ReplaceReserved(fileDate(u"dddddd"));
    case svExtension: return rec.ext;
    case svListTotal: return IntToStr(rec.listtotal);
    case svSelectedTotal: return IntToStr(rec.selectedtotal);
    case svFolderTotal: return IntToStr(rec.foldertotal);
    case svSizeCommas: return sized([](long long s) { return FormatThousands(s); });
    case svSizeGb2Dec: return sized([&](long long s) { return FormatFixed2(s / kGb); });
    case svSizeGbCommas: return sized([](long long s) { return FormatThousands(s / (1LL << 30)); });
    case svSizeGbPlain: return sized([](long long s) { return IntToStr(s / (1LL << 30)); });
    case svSizeMbCommas:
      return ReplaceReserved(sized([](long long s) { return FormatThousands(s / (1LL << 20)); }));
    case svSizeMb2Dec: return sized([&](long long s) { return FormatFixed2(s / kMb); });
    case svSizeMbPlain: return sized([](long long s) { return IntToStr(s / (1LL << 20)); });
    case svSizeKbCommas:
      return ReplaceReserved(sized([](long long s) { return FormatThousands(s / (1LL << 10)); }));
    case svSizeKb2Dec:
      return ReplaceReserved(sized([&](long long s) { return FormatFixed2(s / kKb); }));
    case svSizeKbPlain: return sized([](long long s) { return IntToStr(s / (1LL << 10)); });
    case svSizeBytes: return ReplaceReserved(sized([](long long s) { return IntToStr(s); }));
    case svFileNameExt: return ExtractFileName(rec.columnname);
    case svFileName: {
      const std::u16string full = ExtractFileName(rec.columnname);
      const size_t dot = full.rfind(u'.');
      return dot == std::u16string::npos ? full : full.substr(0, dot);
    }
    case svDateModified: return DosDateText(rec.Modified);
    case svDateCreated: return DosDateText(rec.Created);
    case svParentFolder: return ExtractFileName(FolderOf(FolderOf(rec.FullName)));
    case svTemp: return TempText;
    default: break;
  }
  if (index >= svText1 && index <= svText99) {
    const auto field = static_cast<size_t>(index - svText1);
    return field < TextFields.size() ? TextFields[field] : std::u16string();
  }
  return {};
}
