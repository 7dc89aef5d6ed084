#include "UnitUndoScenario.h"

#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"

namespace {

std::u16string Numbered(const char16_t* prefix, int n, const char16_t* ext) {
  std::u16string digits = IntToStr(n);
  digits.insert(0, 4 - digits.size(), u'0');
  return prefix + digits + ext;
}

}  // namespace

std::vector<std::u16string> TUndoScenario::Candidates(const std::u16string& path) const {
  for (const TRenamePair& pair : plan) {
    const std::u16string& o = pair.oldName;
    if (path != o && path.compare(0, o.size() + 1, o + u'/') != 0) continue;
    const std::u16string rest = path.substr(o.size());
    const std::u16string tag(kTempNameSuffix);
    return {o + rest, pair.newName + rest, pair.newName + tag + rest, o + tag + u"2" + rest};
  }
  return {path};
}

TUndoScenario MixedScenario(const std::u16string& base, int groups) {
  TUndoScenario s;
  s.base = base;
  s.folders.push_back(base.substr(0, base.size() - 1));
  int n = 0;
  const auto file = [&](const std::u16string& name) {
    s.files[base + name] = "content of " + Utf16ToUtf8(name);
    return base + name;
  };
  const auto plan = [&](const std::u16string& from, const std::u16string& to) {
    s.plan.push_back({from, base + to});
  };
  for (int g = 0; g < groups; ++g) {
    const std::u16string a = Numbered(u"f", n++, u".txt"), b = Numbered(u"f", n++, u".txt");
    plan(file(a), b);  // swap
    plan(file(b), a);
    const std::u16string c1 = Numbered(u"f", n++, u".txt"), c2 = Numbered(u"f", n++, u".txt"),
                         c3 = Numbered(u"f", n++, u".txt");
    plan(file(c1), c2);  // chain into a free name
    plan(file(c2), c3);
    plan(file(c3), Numbered(u"free", g, u".txt"));
    const std::u16string r1 = Numbered(u"f", n++, u".txt"), r2 = Numbered(u"f", n++, u".txt"),
                         r3 = Numbered(u"f", n++, u".txt");
    plan(file(r1), r2);  // rotation
    plan(file(r2), r3);
    plan(file(r3), r1);
    plan(file(Numbered(u"PHOTO", g, u".JPG")), Numbered(u"photo", g, u".jpg"));  // case only
  }
  s.folders.push_back(base + u"dirA");
  s.folders.push_back(base + u"dirB");
  file(u"dirA/inside.txt");
  file(u"dirB/inside.txt");
  plan(base + u"dirA", u"dirB");
  plan(base + u"dirB", u"dirA");
  return s;
}

bool RunTwoPhases(TFileSystem& fs, TfrmUndo& undo, const TUndoScenario& scenario, int phase2Count) {
  const std::u16string tag(kTempNameSuffix);
  undo.ClearAll();
  undo.SetTempTag(tag);
  for (const TRenamePair& pair : scenario.plan) {
    if (!fs.RenameNoReplace(pair.oldName, pair.newName + tag).ok()) return false;
    undo.AddUndo(pair.oldName, pair.newName + tag);
  }
  int done = 0;
  for (const TRenamePair& pair : scenario.plan) {
    if (phase2Count >= 0 && done++ >= phase2Count) break;
    if (!fs.RenameNoReplace(pair.newName + tag, pair.newName).ok()) return false;
  }
  return true;
}
