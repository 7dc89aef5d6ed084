#include "UnitRenameRunFixture.h"

#include "engine/UnitScriptStepReplace.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "scriptio/UnitScriptFile.h"
#include "session/UnitSession.h"

namespace {

std::u16string Numbered(const char16_t* prefix, int i) {
  std::u16string digits = IntToStr(i);
  digits.insert(0, 3 - std::min<size_t>(3, digits.size()), u'0');
  return prefix + digits;
}

void Collect(TFileSystem& fs, const std::u16string& folder,
             std::map<std::u16string, std::string>& files) {
  std::vector<TFolderEntry> entries;
  (void)fs.ListFolder(folder, [&](const TFolderEntry& entry) {
    entries.push_back(entry);
    return true;
  });
  for (const TFolderEntry& entry : entries) {
    const std::u16string path = folder + u"/" + entry.name;
    if (entry.info.isFolder) {
      files[path + u"/"] = "";
      Collect(fs, path, files);
    } else {
      std::string bytes;
      (void)fs.ReadWholeFile(path, bytes);
      files[path] = bytes;
    }
  }
}

}  // namespace

TNamePlan SwapChainCasePlan(int groups) {
  TNamePlan plan;
  for (int i = 0; i < groups; ++i) {
    const std::u16string x = Numbered(u"x", i);
    const std::u16string y = Numbered(u"y", i);
    plan.emplace_back(x + u"a", x + u"b");
    plan.emplace_back(x + u"b", x + u"a");
    plan.emplace_back(y + u"a", y + u"b");
    plan.emplace_back(y + u"b", y + u"c");
    plan.emplace_back(Numbered(u"z", i) + u"a", Numbered(u"Z", i) + u"A");
    plan.emplace_back(Numbered(u"w", i), Numbered(u"w", i));
  }
  return plan;
}

std::map<std::u16string, std::string> Snapshot(TFileSystem& fs, const std::u16string& folder) {
  std::map<std::u16string, std::string> files;
  Collect(fs, folder, files);
  return files;
}

void Populate(TFileSystem& fs, const std::u16string& folder, const TNamePlan& plan,
              const std::vector<std::u16string>& extra) {
  (void)fs.CreateFolderPath(folder);
  for (const auto& [from, to] : plan) {
    (void)fs.WriteWholeFile(folder + u"/" + from, Utf16ToUtf8(from));
  }
  for (const std::u16string& name : extra) {
    (void)fs.WriteWholeFile(folder + u"/" + name, Utf16ToUtf8(name));
  }
}

TStatus UsePlan(TSession& session, const std::u16string& folder, const TNamePlan& plan,
                const std::u16string& textFile, const std::u16string& scriptFile) {
  std::map<std::u16string, std::u16string> newName(plan.begin(), plan.end());
  session.model.folder = folder;
  TNoProgress progress;
  session.Refresh(progress, false);
  std::string lines;
  for (int row = 0; row < session.list.Count(); ++row) {
    const std::u16string& caption = session.list.GetFileData(row)->caption;
    const auto found = newName.find(caption);
    lines += Utf16ToUtf8(found == newName.end() ? caption : found->second) + "\n";
  }
  TStatus status = session.fs.CreateFolderPath(textFile.substr(0, textFile.rfind(u'/')));
  if (status.ok()) status = session.fs.WriteWholeFile(textFile, lines);
  if (!status.ok()) return status;
  session.script.Clear();
  TScriptStep& step = session.script.NewScriptControl(TScriptType::stReplaceNameExtension);
  step.SetChoice(TScriptStepReplaceNameExtension::cbxReplacePart, 0);
  step.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, u"?text1?");
  session.model.textFileName = textFile;
  session.model.textSplitFields = false;
  session.twscript.TogglePath(true);
  if (scriptFile.empty()) return TStatus::Ok();
  return SaveToFile(session.script, session.twscript, session.fs, scriptFile);
}
