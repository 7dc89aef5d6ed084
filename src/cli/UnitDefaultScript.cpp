#include "cli/UnitDefaultScript.h"

#include <vector>

#include "engine/UnitScriptActions.h"
#include "model/UnitMainModel.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "scriptio/UnitScriptFile.h"
#include "scriptio/UnitTWScript.h"

namespace {

constexpr std::u16string_view kOldestCurrentVersion = u"3.7";

std::vector<int> VersionParts(std::u16string_view version) {
  std::vector<int> parts;
  size_t start = 0;
  while (start <= version.size()) {
    size_t dot = version.find(u'.', start);
    if (dot == std::u16string_view::npos) dot = version.size();
    int value = 0;
    if (!TryStrToInt(Trim(version.substr(start, dot - start)), value) || value < 0) value = 0;
    parts.push_back(value);
    start = dot + 1;
  }
  return parts;
}

// A fresh script of one disabled step of every kind, with default options.
TStatus WriteDefaultScript(TFileSystem& fs, const std::u16string& appFolder,
                           const std::u16string& path) {
  TMainModel model;
  TTWScript twscript(model, fs, appFolder);
  TFrmScriptActions script;
  for (int kind = 0; kind < kScriptTypeCount; ++kind) {
    script.NewScriptControl(static_cast<TScriptType>(kind), true);
  }
  return SaveToFile(script, twscript, fs, path);
}

}  // namespace

int CompareVersions(std::u16string_view a, std::u16string_view b) {
  const std::vector<int> x = VersionParts(a);
  const std::vector<int> y = VersionParts(b);
  for (size_t i = 0; i < x.size() || i < y.size(); ++i) {
    const int p = i < x.size() ? x[i] : 0;
    const int q = i < y.size() ? y[i] : 0;
    if (p != q) return p < q ? -1 : 1;
  }
  return 0;
}

std::u16string DefaultScriptPath(const std::u16string& appFolder) {
  return appFolder + u"default.twscr";
}

TDefaultScriptResult PrepareDefaultScript(TFileSystem& fs, const std::u16string& appFolder) {
  TDefaultScriptResult result;
  const std::u16string path = DefaultScriptPath(appFolder);
  if (fs.Exists(path)) {
    TMainModel model;
    TTWScript twscript(model, fs, appFolder);
    TFrmScriptActions script;
    result.status = LoadFromFile(script, twscript, fs, path);
    if (!result.status.ok()) return result;  // unreadable: left alone
    const std::u16string& version = twscript.version();
    if (version.empty() || CompareVersions(version, kOldestCurrentVersion) >= 0 ||
        script.AnyEnabled()) {
      return result;
    }
  }
  result.status = WriteDefaultScript(fs, appFolder, path);
  result.created = result.status.ok();
  return result;
}
