// The moves that never replace on a real exFAT volume through FUSE, which
// refuses RENAME_NOREPLACE and hard links and ignores letter case: the
// reservation is the only way there. Skipped, saying why, where the machine
// cannot mount one (no /dev/fuse, no exfat-fuse or exfatprogs, no loop
// device for root).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "UnitRacingWriter.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "support/UnitTempFolder.h"

namespace {

namespace fsys = std::filesystem;

// The full path of the program `name`, searched in $PATH and the system
// folders; empty when it is nowhere.
std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = std::string(path != nullptr ? path : "") + ":/usr/sbin:/sbin:/usr/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    const size_t colon = folders.find(':', start);
    const std::string folder = folders.substr(start, colon - start);
    if (!folder.empty() && ::access((folder + "/" + name).c_str(), X_OK) == 0) {
      return folder + "/" + name;
    }
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return {};
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

bool Succeeds(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The first line a command prints; empty when it fails.
std::string FirstLine(const std::string& command) {
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return {};
  char buffer[512] = {};
  std::string line = std::fgets(buffer, sizeof buffer, pipe) != nullptr ? buffer : "";
  if (::pclose(pipe) != 0) return {};
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

// An exFAT image mounted through FUSE for the length of one test. Root mounts
// it from a loop device (the FUSE driver asks for a block device then);
// another user mounts the image file itself.
class TExfatMount {
 public:
  // Empty when mounted, else why not.
  std::string Mount() {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) return "/dev/fuse is missing or not usable";
    const std::string mkfs = FindProgram("mkfs.exfat");
    const std::string driver = FindProgram("mount.exfat-fuse");
    if (mkfs.empty() || driver.empty()) {
      return "mkfs.exfat or mount.exfat-fuse is missing (packages exfatprogs, exfat-fuse)";
    }
    const std::string image = dir_.PathOf("volume.img");
    mountPoint_ = dir_.PathOf("mnt");
    fsys::create_directory(mountPoint_);
    { std::ofstream(image, std::ios::binary); }
    fsys::resize_file(image, 16 << 20);
    if (!Succeeds("timeout 60 " + Quoted(mkfs) + " " + Quoted(image))) return "mkfs.exfat failed";
    std::string device = image;
    if (::geteuid() == 0) {
      const std::string losetup = FindProgram("losetup");
      if (losetup.empty()) return "losetup is missing";
      loop_ = FirstLine("timeout 30 " + Quoted(losetup) + " -f --show " + Quoted(image));
      if (loop_.empty()) return "no loop device could be attached";
      device = loop_;
    }
    if (!Succeeds("timeout 60 " + Quoted(driver) + " " + Quoted(device) + " " +
                  Quoted(mountPoint_))) {
      return "mount.exfat-fuse could not mount the volume";
    }
    mounted_ = true;
    return {};
  }
  ~TExfatMount() {
    if (mounted_) {
      const std::string unmount = ::geteuid() == 0 ? "umount " : "fusermount -u ";
      if (!Succeeds("timeout 60 " + unmount + Quoted(mountPoint_))) {
        (void)Succeeds("timeout 60 umount -l " + Quoted(mountPoint_));
      }
    }
    if (!loop_.empty()) (void)Succeeds("timeout 30 losetup -d " + Quoted(loop_));
  }
  const std::string& Folder() const { return mountPoint_; }

 private:
  TTempFolder dir_;
  std::string mountPoint_;
  std::string loop_;
  bool mounted_ = false;
};

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : fsys::directory_iterator(folder)) names.insert(e.path().filename());
  return names;
}

TEST(TFuseExfatTest, MovesNeverReplaceOnAVolumeWithoutTheFlagOrLinks) {
  TExfatMount volume;
  if (const std::string why = volume.Mount(); !why.empty()) {
    GTEST_SKIP() << "no exFAT volume through FUSE: " << why;
  }
  const std::string f = volume.Folder();
  const auto fs = NewPosixFileSystem();  // everything on: the volume itself refuses
  const auto at = [&](const std::string& name) { return Utf8ToUtf16(f + "/" + name); };
  Write(f + "/a.txt", "A");
  Write(f + "/taken.txt", "T");
  Write(f + "/photo.JPG", "J");
  fsys::create_directory(f + "/Folder");
  Write(f + "/Folder/in.txt", "I");
  fsys::create_directory(f + "/empty");

  const TStatus exists = fs->RenameNoReplace(at("a.txt"), at("taken.txt"));
  EXPECT_EQ(exists.code(), EEXIST);
  EXPECT_EQ(exists.file(), at("taken.txt"));
  EXPECT_EQ(fs->RenameNoReplace(at("Folder"), at("empty")).code(), EEXIST)
      << "an empty folder is no reservation of ours";
  EXPECT_EQ(fs->RenameNoReplace(at("a.txt"), at("TAKEN.TXT")).code(), EEXIST)
      << "the volume ignores case";
  EXPECT_EQ(ContentOf(*fs, f + "/taken.txt"), "T");
  ASSERT_TRUE(fs->RenameNoReplace(at("a.txt"), at("b.txt")).ok());
  ASSERT_TRUE(fs->RenameNoReplace(at("photo.JPG"), at("photo.jpg")).ok());
  ASSERT_TRUE(fs->RenameNoReplace(at("Folder"), at("FOLDER")).ok());
  ASSERT_TRUE(fs->RenameNoReplaceBeneath(Utf8ToUtf16(f), u"b.txt", u"FOLDER/b.txt").ok());
  EXPECT_EQ(Names(f), (std::set<std::string>{"FOLDER", "empty", "photo.jpg", "taken.txt"}));
  EXPECT_EQ(Names(f + "/FOLDER"), (std::set<std::string>{"b.txt", "in.txt"}));
  EXPECT_EQ(ContentOf(*fs, f + "/FOLDER/b.txt"), "A");
  EXPECT_EQ(ContentOf(*fs, f + "/photo.jpg"), "J");

  fsys::create_directory(f + "/race");
  ExpectRacingWriterLosesNothing(*fs, f + "/race", 150);
}

}  // namespace
