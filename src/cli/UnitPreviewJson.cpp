#include "cli/UnitPreviewJson.h"

#include <unordered_map>

#include "cli/UnitCommandText.h"
#include "filelist/UnitFileList.h"
#include "filelist/UnitShowPreview.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameCommand.h"
#include "session/UnitSession.h"

namespace {

const char16_t* Flag(bool b) { return b ? u"true" : u"false"; }

std::u16string Strings(const std::vector<std::u16string>& texts) {
  std::u16string json = u"[";
  for (size_t i = 0; i < texts.size(); ++i) json += (i > 0 ? u", " : u"") + JsonString(texts[i]);
  return json + u"]";
}

}  // namespace

std::u16string JsonNameFields(const char16_t* key, const std::u16string& name) {
  std::u16string json = u"\"" + std::u16string(key) + u"\": " + JsonString(name);
  if (HoldsUndecodableBytes(name)) {
    json += u", \"" + std::u16string(key) + u"Bytes\": \"" + Base64Bytes(name) + u"\"";
  }
  return json;
}

bool HoldsUndecodableBytes(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;  // a pair: an ordinary character
    } else if (c >= 0xDC80 && c <= 0xDCFF) {
      return true;
    }
  }
  return false;
}

std::u16string Base64Bytes(std::u16string_view text) {
  static constexpr char16_t kDigits[] =
      u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::string bytes = Utf16ToUtf8(text);
  std::u16string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<uint8_t>(bytes[i + 2]);
    out += kDigits[(group >> 18) & 63];
    out += kDigits[(group >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(group >> 6) & 63] : u'=';
    out += i + 2 < bytes.size() ? kDigits[group & 63] : u'=';
  }
  return out;
}

std::vector<std::vector<std::u16string>> FlagReasons(const TSession& session) {
  const TFrmDummyShowPreview& list = session.list;
  const int count = list.Count();
  std::vector<std::vector<std::u16string>> reasons(static_cast<size_t>(count));
  // Where each entry will be: the new path of a checked entry, the name of an
  // unchecked one; letters compared as the collision registry does.
  std::unordered_multimap<std::u16string, int> at;
  const auto place = [&](int row) {
    const TFileListData& data = *list.GetFileData(row);
    return data.Checked() ? list.GetFullNewName(row) : data.caption;
  };
  for (int row = 0; row < count; ++row) {
    if (list.GetTagData(row)->IsCollision) at.emplace(AsciiLowerCase(place(row)), row);
  }
  for (int row = 0; row < count; ++row) {
    const TFileListData& data = *list.GetFileData(row);
    const TTagData& tag = *list.GetTagData(row);
    std::vector<std::u16string>& why = reasons[static_cast<size_t>(row)];
    if (tag.IsCollision) {
      const std::u16string name = place(row);
      const auto [first, last] = at.equal_range(AsciiLowerCase(name));
      for (auto other = first; other != last; ++other) {
        if (other->second == row) continue;
        const TFileListData& partner = *list.GetFileData(other->second);
        const bool renamed = partner.Checked() && list.GetTagData(other->second)->changed;
        why.push_back(renamed ? name + u" is also the new name of " + partner.caption
                              : name + u" is taken by " + partner.caption +
                                    u", which keeps its name");
        break;
      }
    }
    if (!data.Checked() || !tag.changed) continue;
    const std::u16string target = list.GetFullNewName(row);
    const TStatus inside = CheckNewNameStaysInFolder(target);
    if (!inside.ok()) why.push_back(inside.reason());
    const TStatus characters = CheckNewNameCharacters(data.GetNewName());
    if (tag.IsIllegalNewname && !characters.ok()) why.push_back(characters.reason());
  }
  return reasons;
}

std::u16string PreviewJson(const TSession& session, const TPreviewResult& result,
                           const std::array<std::u16string, 3>& status) {
  const TFrmDummyShowPreview& list = session.list;
  const auto reasons = FlagReasons(session);
  std::u16string json = u"{\"format\": " + IntToStr(kPreviewJsonFormat) + u", " +
                        JsonNameFields(u"folder", list.ListedFolder()) + u", \"entries\": [";
  for (int row = 0; row < list.Count(); ++row) {
    const TFileListData& data = *list.GetFileData(row);
    const TTagData& tag = *list.GetTagData(row);
    if (row > 0) json += u",";
    const std::u16string newPath = data.Checked() ? list.GetFullNewName(row) : std::u16string();
    json += u"\n  {\"name\": " + JsonString(data.caption) + u", \"newName\": " +
            JsonString(data.GetNewName()) + u", " + JsonNameFields(u"path", data.caption) + u", " +
            JsonNameFields(u"newPath", newPath) + u", \"checked\": " + Flag(data.Checked()) +
            u", \"changed\": " + Flag(tag.changed) + u", \"collision\": " +
            Flag(tag.IsCollision) + u", \"illegal\": " + Flag(tag.IsIllegalNewname) +
            u", \"reasons\": " + Strings(reasons[static_cast<size_t>(row)]) + u"}";
  }
  json += u"\n], \"status\": [" + JsonString(status[0]) + u", " + JsonString(status[1]) + u", " +
          JsonString(status[2]) + u"], \"counts\": {\"files\": " +
          IntToStr(session.FilesCount()) + u", \"folders\": " + IntToStr(session.FoldersCount()) +
          u", \"checked\": " + IntToStr(list.GetCheckedCount()) + u", \"changed\": " +
          IntToStr(result.ChangedCount) + u", \"collisions\": " + IntToStr(result.CollisionCount) +
          u", \"illegal\": " + IntToStr(result.IllegalCount) + u"}}\n";
  return json;
}
