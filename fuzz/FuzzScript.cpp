// Script files over arbitrary bytes, loaded as the editor and the batch modes
// load them: the first byte chooses a ".twscr" file (even) or an older ".tw-"
// file (odd), the rest is the file, held by an in-memory file system. A script
// that loads is described, run on one entry and saved; loading what was saved
// must give a script that saves to the same bytes again.
#include <cstdint>
#include <string>
#include <vector>

#include "UnitFuzzInput.h"
#include "UnitMemoryFile.h"
#include "engine/UnitScriptActions.h"
#include "model/UnitMainModel.h"
#include "model/UnitTagData.h"
#include "scriptio/UnitOlderScript.h"
#include "scriptio/UnitScriptFile.h"
#include "scriptio/UnitTWScript.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitScriptTestContext.h"

namespace {

struct TScriptWorld {
  TScriptWorld() { fs.AddFolder(u"/s"); }
  TFakeFileSystem fs;
  TMainModel model;
  TTWScript twscript{model, fs, u"/app/"};
  TFrmScriptActions actions;
};

// Saves the world's script as "/s/<name>.twscr" and returns the bytes written.
std::string Saved(TScriptWorld& world, const std::u16string& name) {
  const std::u16string path = u"/s/" + name + u".twscr";
  if (!SaveToFile(world.actions, world.twscript, world.fs, path).ok()) __builtin_trap();
  const std::string* bytes = world.fs.FileBytes(path);
  if (bytes == nullptr) __builtin_trap();
  return *bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > kMaxFuzzInput) return 0;
  const bool older = (data[0] & 1) != 0;
  const std::u16string path = older ? u"/s/fuzz.tw-" : u"/s/fuzz.twscr";
  TScriptWorld world;
  world.fs.AddFile(path, std::string(FuzzBytes(data + 1, size - 1)));
  std::vector<std::u16string> messages;
  const TStatus loaded =
      older ? LoadOlderScript(world.actions, world.twscript, path)
            : LoadFromFile(world.actions, world.twscript, world.fs, path, &messages);
  if (!loaded.ok()) return 0;
  (void)world.actions.Lines(true);

  TScriptTestContext run;
  run.ctx.UseRegExp = world.model.useRegExp;
  std::u16string name = u"photo 01";
  std::u16string ext = u".jpg";
  TTagData tags;
  int collision = 0;
  world.actions.RunScriptOn(name, ext, TestRecord(u"photo 01.jpg"), tags, collision, run.ctx);

  const std::string first = Saved(world, u"first");
  TScriptWorld again;
  again.fs.AddFile(u"/s/first.twscr", first);
  if (!LoadFromFile(again.actions, again.twscript, again.fs, u"/s/first.twscr").ok()) {
    __builtin_trap();
  }
  if (Saved(again, u"first") != first) __builtin_trap();
  return 0;
}
