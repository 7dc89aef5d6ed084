#include "config/UnitColumnVisibility.h"

#include <array>
#include <cerrno>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

constexpr char16_t kFileName[] = u"columns.dat";
constexpr size_t kSize = 4;

std::array<bool*, kSize> Items(TColumnVisibility& v) {
  return {&v.type, &v.dateModified, &v.size, &v.dateCreated};
}

}  // namespace

TStatus LoadColumnVisibility(TFileSystem& fs, const std::u16string& appFolder,
                             TColumnVisibility& visibility) {
  const std::u16string path = appFolder + kFileName;
  if (!fs.Exists(path)) return TStatus::Ok();
  std::string bytes;
  if (TStatus st = fs.ReadWholeFile(path, bytes); !st.ok()) return st;
  const auto items = Items(visibility);
  for (size_t i = 0; i < kSize && i < bytes.size(); ++i) *items[i] = bytes[i] != 0;
  if (bytes.size() == kSize) return TStatus::Ok();
  return TStatus::Error(
      EINVAL, path, u"expected 4 bytes, found " + IntToStr(static_cast<long long>(bytes.size())));
}

TStatus SaveColumnVisibility(TFileSystem& fs, const std::u16string& appFolder,
                             const TColumnVisibility& visibility) {
  TColumnVisibility copy = visibility;
  std::string bytes;
  for (bool* item : Items(copy)) bytes.push_back(*item ? '\1' : '\0');
  return fs.ReplaceFileAtomically(appFolder + kFileName, bytes);
}
