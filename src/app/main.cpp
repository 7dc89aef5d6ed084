// The tallowick executable: wires the platform services to the core and runs
// the command named on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "filelist/UnitEntryColumns.h"
#include "matching/UnitMetaVariables.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitClock.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

constexpr const char* kUsage =
    "Usage: tallowick --expand TEXT FILE\n"
    "       tallowick --help | --version\n"
    "\n"
    "  --expand TEXT FILE  print TEXT with its meta variables expanded for FILE\n"
    "  --help              show this text\n"
    "  --version           show the version\n";

void PrintLine(FILE* stream, const std::u16string& text) {
  const std::string bytes = Utf16ToUtf8(text) + "\n";
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

int ExpandCommand(const std::string& text, const std::string& file) {
  auto fs = NewPosixFileSystem();
  TSystemClock clock;
  TProcessEnvironment env;
  // The readers log each file's tags while a folder "debug" exists here.
  TFileTagReader tags(*fs, CurrentDirectory() + u"/debug");
  RenameRecord record;
  const std::u16string path = AbsolutePath(Utf8ToUtf16(file));
  TStatus status = MakeSingleEntryRecord(*fs, clock, path, record);
  if (!status.ok()) {
    PrintLine(stderr, u"tallowick: " + status.Message());
    return 2;
  }
  TMetaVariables vars(*fs, clock, env, tags);
  TExpansion expansion = vars.Expand(Utf8ToUtf16(text), record);
  if (!expansion.status.ok()) {
    PrintLine(stderr, u"tallowick: " + expansion.status.Message());
    return 2;
  }
  PrintLine(stdout, expansion.text);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::puts("tallowick 0.1.0");
    return 0;
  }
  if (args.size() == 3 && args[0] == "--expand") return ExpandCommand(args[1], args[2]);
  std::fputs(kUsage, stderr);
  return 2;
}
