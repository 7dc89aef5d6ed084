// Times the metadata readers over real files: reads one variable from every
// file named in a list file (one path a line), as expansion would, and prints
// how many values were found and the time taken. With --print, each value too.
//   bench_metadata_files [--print] VARIABLE LISTFILE
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "metadata/UnitFileTags.h"
#include "platform/UnitText.h"

namespace {

TTagFamily FamilyOf(const std::u16string& variable) {
  const std::u16string lower = AsciiLowerCase(variable);
  if (lower.rfind(u"?xmp_", 0) == 0) return TTagFamily::Xmp;
  if (lower.rfind(u"?x_", 0) == 0) return TTagFamily::Exif;
  if (lower.rfind(u"?j_", 0) == 0) return TTagFamily::Jfif;
  if (lower.rfind(u"?v_", 0) == 0) return TTagFamily::Video;
  return TTagFamily::Mp3;
}

TStatus ReadFamily(TFileTagReader& reader, TTagFamily family, const std::u16string& path,
                   TTagList& list) {
  switch (family) {
    case TTagFamily::Video: return reader.ReadVideo(path, list);
    case TTagFamily::Mp3: return reader.ReadMp3(path, true, list);
    default: return reader.ReadJpeg(path, list);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool print = !args.empty() && args[0] == "--print";
  if (print) args.erase(args.begin());
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: bench_metadata_files [--print] VARIABLE LISTFILE\n");
    return 2;
  }
  std::vector<std::u16string> paths;
  std::ifstream in(args[1]);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) paths.push_back(Utf8ToUtf16(line));
  }
  const std::u16string variable = AsciiLowerCase(Utf8ToUtf16(args[0]));
  const TTagFamily family = FamilyOf(variable);
  std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  TFileTagReader reader(*fs);
  TTagList list;
  size_t found = 0;
  const auto start = std::chrono::steady_clock::now();
  for (const std::u16string& path : paths) {
    if (!ReadFamily(reader, family, path, list).ok()) continue;
    const std::u16string value = reader.Lookup(family, list, variable);
    if (!value.empty()) ++found;
    if (print) std::printf("%s\n", Utf16ToUtf8(value).c_str());
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(stderr, "%zu files, %zu values, %.3f s\n", paths.size(), found, seconds);
  return 0;
}
