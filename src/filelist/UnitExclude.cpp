#include "filelist/UnitExclude.h"

#include <algorithm>

#include "filelist/UnitFileList.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

std::u16string Lowered(std::u16string_view text) {
  std::u16string lowered(text);
  for (char16_t& c : lowered) c = LowerChar(c);
  return lowered;
}

// The list's order: by lower-case text, ties by the text itself.
bool LessIgnoringCase(const std::u16string& a, const std::u16string& b) {
  const std::u16string x = Lowered(a);
  const std::u16string y = Lowered(b);
  return x != y ? x < y : a < b;
}

// The position of the mask equal to `lowered` ignoring case, or where it belongs.
std::vector<std::u16string>::iterator FindPlace(std::vector<std::u16string>& masks,
                                               const std::u16string& lowered) {
  return std::lower_bound(masks.begin(), masks.end(), lowered,
                          [](const std::u16string& mask, const std::u16string& key) {
                            return Lowered(mask) < key;
                          });
}

std::u16string DecodeText(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return text;
  }
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return IsValidUtf8(bytes) ? Utf8ToUtf16(bytes) : Windows1252ToUtf16(bytes);
}

}  // namespace

std::vector<std::u16string> TFrmExclude::ExampleMasks() {
  return {u"Text Files  (*.txt)", u"Ini files   (*.ini)", u"Thumbnails   (Thumbs.db)",
          u"Folder Settings (Desktop.ini)"};
}

std::u16string TFrmExclude::MaskOfExample(std::u16string_view example) {
  const size_t open = example.rfind(u'(');
  const size_t close = example.rfind(u')');
  if (open == std::u16string_view::npos || close == std::u16string_view::npos || close < open) {
    return Trim(example);
  }
  return Trim(example.substr(open + 1, close - open - 1));
}

bool TFrmExclude::Add(std::u16string_view mask) {
  const std::u16string trimmed = Trim(mask);
  if (trimmed.empty()) return false;
  const std::u16string lowered = Lowered(trimmed);
  const auto place = FindPlace(fMasks, lowered);
  if (place != fMasks.end() && Lowered(*place) == lowered) return false;
  fMasks.insert(place, trimmed);
  Compile();
  return true;
}

bool TFrmExclude::Delete(std::u16string_view mask) {
  const std::u16string lowered = Lowered(Trim(mask));
  const auto place = FindPlace(fMasks, lowered);
  if (place == fMasks.end() || Lowered(*place) != lowered) return false;
  fMasks.erase(place);
  Compile();
  return true;
}

void TFrmExclude::Clear() {
  fMasks.clear();
  Compile();
}

TStatus TFrmExclude::Load(TFileSystem& fs, const std::u16string& path) {
  Clear();
  if (!fs.Exists(path)) return TStatus::Ok();
  std::string bytes;
  TStatus status = fs.ReadWholeFile(path, bytes);
  if (!status.ok()) return status;
  const std::u16string text = DecodeText(bytes);
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string mask = Trim(std::u16string_view(text).substr(start, end - start));
    if (!mask.empty()) fMasks.push_back(std::move(mask));
    start = end + 1;
  }
  std::sort(fMasks.begin(), fMasks.end(), LessIgnoringCase);
  fMasks.erase(std::unique(fMasks.begin(), fMasks.end(),
                           [](const std::u16string& a, const std::u16string& b) {
                             return Lowered(a) == Lowered(b);
                           }),
               fMasks.end());
  Compile();
  return TStatus::Ok();
}

TStatus TFrmExclude::Save(TFileSystem& fs, const std::u16string& path) const {
  std::string bytes;
  for (const std::u16string& mask : fMasks) bytes += Utf16ToUtf8(mask) + "\n";
  return fs.ReplaceFileAtomically(path, bytes);
}

void TFrmExclude::Compile() {
  fNames.clear();
  fPaths.clear();
  fNameMasks.clear();
  fPathMasks.clear();
  for (const std::u16string& mask : fMasks) {
    const bool isPath = mask.find(u'/') != std::u16string::npos;
    TFileMask compiled(mask);
    if (compiled.IsLiteral()) {
      (isPath ? fPaths : fNames).insert(Lowered(mask));
    } else {
      (isPath ? fPathMasks : fNameMasks).push_back(std::move(compiled));
    }
  }
}

bool TFrmExclude::Matches(std::u16string_view caption) const {
  return MatchesLowered(Lowered(caption));
}

bool TFrmExclude::MatchesLowered(std::u16string_view loweredCaption) const {
  const size_t slash = loweredCaption.rfind(u'/');
  const std::u16string_view name =
      slash == std::u16string_view::npos ? loweredCaption : loweredCaption.substr(slash + 1);
  if (!fNames.empty() && fNames.count(std::u16string(name)) != 0) return true;
  if (!fPaths.empty() && fPaths.count(std::u16string(loweredCaption)) != 0) return true;
  for (const TFileMask& mask : fNameMasks) {
    if (mask.MatchesLowered(name)) return true;
  }
  for (const TFileMask& mask : fPathMasks) {
    if (mask.MatchesLowered(loweredCaption)) return true;
  }
  return false;
}

int TFrmExclude::ExcludeNow(TFrmDummyShowPreview& list) const {
  if (fMasks.empty()) return 0;
  int unchecked = 0;
  for (int row = 0; row < list.Count(); ++row) {
    const TFileListData* entry = list.GetFileData(row);
    if (entry == nullptr || !entry->Checked() || !Matches(entry->GetName())) continue;
    unchecked -= list.SetChecked(row, false);
  }
  return unchecked;
}
