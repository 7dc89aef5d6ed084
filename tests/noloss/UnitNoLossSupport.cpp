#include "noloss/UnitNoLossSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <set>

#include <gtest/gtest.h>

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandLineMain.h"
#include "platform/UnitText.h"

namespace {

uint64_t Fnv(const std::string& bytes) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
  return hash;
}

void Walk(const std::string& folder, const std::string& relative, TTree& tree) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  for (const std::string& name : names) {
    const std::string path = folder + "/" + name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      tree[relative + name + "/"] = 0;
      Walk(path, relative + name + "/", tree);
      continue;
    }
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
      char buffer[4096];
      for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
      std::fclose(file);
    }
    tree[relative + name] = Fnv(bytes);
  }
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/', path.size() - 2);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Changes on disk are counted; the `crashAt`-th one (from 1) ends the
// process on the spot, before or after it is made, as a power cut would.
class TCrashingFileSystem : public TFileSystem {
 public:
  TCrashingFileSystem(TFileSystem& target, int crashAt, bool afterTheChange)
      : target_(target), crashAt_(crashAt), after_(afterTheChange) {}
  static constexpr int kCrashed = 99;

  TStatus OpenForReading(const std::u16string& path,
                         std::unique_ptr<TRandomAccessFile>& file) override {
    return target_.OpenForReading(path, file);
  }
  TStatus GetFileInfo(const std::u16string& path, TFileInfo& info) override {
    return target_.GetFileInfo(path, info);
  }
  bool DirectoryExists(const std::u16string& path) override {
    return target_.DirectoryExists(path);
  }
  bool Exists(const std::u16string& path) override { return target_.Exists(path); }
  TStatus ReadWholeFile(const std::u16string& path, std::string& bytes) override {
    return target_.ReadWholeFile(path, bytes);
  }
  TStatus ListFolder(const std::u16string& path, const TFolderVisitor& visit) override {
    return target_.ListFolder(path, visit);
  }
  TStatus GetEntryIdentity(const std::u16string& path, TEntryIdentity& id) override {
    return target_.GetEntryIdentity(path, id);
  }
  TStatus WriteWholeFile(const std::u16string& path, const std::string& bytes) override {
    return Change([&] { return target_.WriteWholeFile(path, bytes); });
  }
  TStatus ReplaceFileAtomically(const std::u16string& path, const std::string& bytes) override {
    return Change([&] { return target_.ReplaceFileAtomically(path, bytes); });
  }
  TStatus DeleteFile(const std::u16string& path) override {
    return Change([&] { return target_.DeleteFile(path); });
  }
  TStatus CreateFolderPath(const std::u16string& path) override {
    return Change([&] { return target_.CreateFolderPath(path); });
  }
  TStatus RemoveEmptyFolder(const std::u16string& path) override {
    return Change([&] { return target_.RemoveEmptyFolder(path); });
  }
  TStatus RenameNoReplace(const std::u16string& from, const std::u16string& to) override {
    return Change([&] { return target_.RenameNoReplace(from, to); });
  }

 private:
  template <typename F>
  TStatus Change(const F& change) {
    const bool last = ++changes_ == crashAt_;
    if (last && !after_) ::_exit(kCrashed);
    TStatus status = change();
    if (last) ::_exit(kCrashed);
    return status;
  }

  TFileSystem& target_;
  int crashAt_;
  bool after_;
  int changes_ = 0;
};

}  // namespace

TTree Snapshot(const std::string& folder) {
  TTree tree;
  Walk(folder, "", tree);
  return tree;
}

TTree FilesOf(const TTree& tree) {
  TTree files;
  for (const auto& [path, hash] : tree) {
    if (!path.ends_with("/")) files.emplace(path, hash);
  }
  return files;
}

bool Tagged(const std::string& path) {
  const std::string name = BaseName(path);
  return name.find(".TW_TEMPNAME") != std::string::npos ||
         name.find(".TW_RECOVER") != std::string::npos || name.starts_with(".tallowick-");
}

std::string Listing(const TTree& tree) {
  std::string text;
  for (const auto& [path, hash] : tree) text += "  " + path + "\n";
  return text;
}

void ExpectNothingLost(const TTree& before, const TTree& after, bool temporaryNamesAllowed,
                       const std::string& when) {
  const TTree was = FilesOf(before);
  const TTree is = FilesOf(after);
  std::map<uint64_t, std::string> home;
  for (const auto& [path, hash] : was) home[hash] = path;
  std::multiset<uint64_t> found;
  for (const auto& [path, hash] : is) {
    found.insert(hash);
    const auto origin = home.find(hash);
    EXPECT_NE(origin, home.end()) << when << ": a file that was not there: " << path;
    if (origin != home.end() && !temporaryNamesAllowed && Tagged(path)) {
      EXPECT_TRUE(Tagged(origin->second))
          << when << ": " << origin->second << " is left under the temporary name " << path;
    }
  }
  for (const auto& [hash, path] : home) {
    EXPECT_EQ(found.count(hash), 1u) << when << ": " << path << " is lost or doubled; now:\n"
                                     << Listing(after);
  }
}

TTallowick::TTallowick(const std::u16string& home)
    : fs_(NewPosixFileSystem()), tags_(*fs_, u"/nowhere/debug") {
  env_.values[u"TALLOWICK_HOME"] = home;
}

int TTallowick::Run(const std::vector<std::u16string>& args, TStringOutput& output) {
  return Run(*fs_, args, output);
}

int TTallowick::Run(const std::vector<std::u16string>& args) {
  TStringOutput output;
  return Run(args, output);
}

int TTallowick::Run(TFileSystem& fs, const std::vector<std::u16string>& args,
                    TStringOutput& output) {
  std::vector<std::string> bytes;
  for (const std::u16string& arg : args) bytes.push_back(Utf16ToUtf8(arg));
  return RunCommandLine({fs, clock_, env_, tags_, output}, bytes);
}

bool TTallowick::RunAndCrash(const std::vector<std::u16string>& args, int crashAt,
                             bool afterTheChange, TStringOutput& output) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return false;
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    TCrashingFileSystem crashing(*fs_, crashAt, afterTheChange);
    TStringOutput written;
    (void)Run(crashing, args, written);
    const std::string bytes = Utf16ToUtf8(written.out + written.err);
    for (size_t done = 0; done < bytes.size();) {
      const ssize_t n = ::write(pipeFds[1], bytes.data() + done, bytes.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string bytes;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(pipeFds[0]);
  output.err = Utf8ToUtf16(bytes);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) {
    ADD_FAILURE() << "the child process did not run";
    return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == TCrashingFileSystem::kCrashed;
}
