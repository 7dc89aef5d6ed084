#include "noloss/UnitLoopMount.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// `program` as a path that can be run; empty when it is nowhere.
std::string Resolve(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  const std::string folders =
      std::string(path != nullptr ? path : "") + ":/usr/sbin:/sbin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = folders.substr(start, end - start);
    start = end + 1;
    if (folder.empty()) continue;
    const std::string candidate = folder + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

TCommandResult RunCommand(const std::vector<std::string>& argv) {
  TCommandResult result;
  const std::string program = Resolve(argv.at(0));
  if (program.empty()) {
    result.output = argv[0] + ": not found";
    return result;
  }
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return result;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return result;
  }
  if (pid == 0) {
    ::dup2(pipeFds[1], 1);
    ::dup2(pipeFds[1], 2);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0) ::dup2(null, 0);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execv(program.c_str(), args.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    result.output.append(buffer, static_cast<size_t>(n));
  }
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

TLoopMount::TLoopMount(TLoopKind kind, const std::string& workFolder, int megabytes) {
  const bool vfat = kind == TLoopKind::Vfat;
  const bool exfat = kind == TLoopKind::ExfatFuse;
  const std::string type = vfat ? "vfat" : exfat ? "exfat" : "ext4";
  const std::string label = vfat    ? "vfat"
                            : exfat ? "exFAT through FUSE"
                            : kind == TLoopKind::Ext4 ? "ext4"
                                                      : "ext4 with casefold";
  if (::geteuid() != 0) {
    Skip("mounting a " + label + " image needs root");
    return;
  }
  if (::access("/dev/loop-control", F_OK) != 0) {
    Skip("this machine has no loop devices (/dev/loop-control is missing)");
    return;
  }
  const std::string mkfs = vfat ? "mkfs.vfat" : exfat ? "mkfs.exfat" : "mkfs.ext4";
  const std::string package = vfat ? "dosfstools" : exfat ? "exfatprogs" : "e2fsprogs";
  if (Resolve(mkfs).empty()) {
    Skip(mkfs + " is not installed (Debian package " + package +
         ", which scripts/setup.sh installs)");
    return;
  }
  if (exfat && (Resolve("mount.exfat-fuse").empty() || ::access("/dev/fuse", R_OK | W_OK) != 0)) {
    Skip("FUSE is not usable here (/dev/fuse, or mount.exfat-fuse of the package exfat-fuse)");
    return;
  }
  image_ = workFolder + "/" + type + ".img";
  const int fd = ::open(image_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const bool sized = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(megabytes) << 20) == 0;
  if (fd >= 0) ::close(fd);
  if (!sized) {
    Skip("the image file " + image_ + " cannot be made: " + std::strerror(errno));
    return;
  }
  std::vector<std::string> format = {mkfs};
  if (vfat) {
    format.insert(format.end(), {"-n", "TWTEST"});
  } else if (exfat) {
    format.insert(format.end(), {"-L", "TWTEST"});
  } else {
    format.insert(format.end(), {"-q", "-F", "-m", "0"});
    if (kind == TLoopKind::Ext4Casefold) format.insert(format.end(), {"-O", "casefold"});
  }
  format.push_back(image_);
  if (const TCommandResult made = RunCommand(format); made.code != 0) {
    Skip(mkfs + " cannot make a " + label + " image here: " + Trimmed(made.output));
    return;
  }
  const TCommandResult attached = RunCommand({"losetup", "--find", "--show", image_});
  if (attached.code != 0 || !attached.output.starts_with("/dev/")) {
    Skip("no loop device can be attached (losetup): " + Trimmed(attached.output));
    return;
  }
  device_ = Trimmed(attached.output);
  mountPoint_ = workFolder + "/mnt";
  ::mkdir(mountPoint_.c_str(), 0755);
  std::vector<std::string> mount = {"mount", "-t", type};
  if (exfat) mount = {"mount.exfat-fuse"};
  if (vfat) mount.insert(mount.end(), {"-o", "utf8,shortname=mixed"});
  mount.insert(mount.end(), {device_, mountPoint_});
  if (const TCommandResult done = RunCommand(mount); done.code != 0) {
    Skip("the kernel here cannot mount " + label +
         (kind == TLoopKind::Ext4Casefold ? " (it needs CONFIG_UNICODE)" : "") + ": " +
         Trimmed(done.output));
    return;
  }
  mounted_ = true;
  std::string root = mountPoint_;
  if (kind == TLoopKind::Ext4Casefold) {
    root += "/cf";
    ::mkdir(root.c_str(), 0755);
    if (const TCommandResult flagged = RunCommand({"chattr", "+F", root}); flagged.code != 0) {
      Skip("chattr +F is refused here: " + Trimmed(flagged.output));
      return;
    }
  }
  if (kind != TLoopKind::Ext4) {
    // The point of these file systems: one name in two letter cases.
    const std::string probe = root + "/CaseProbe";
    const int made = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (made >= 0) ::close(made);
    struct stat st {};
    const bool folds = ::stat((root + "/caseprobe").c_str(), &st) == 0;
    ::unlink(probe.c_str());
    if (!folds) {
      Skip(label + " mounted here does not ignore letter case");
      return;
    }
  }
  root_ = root;
}

TLoopMount::~TLoopMount() { Unmount(); }

bool TLoopMount::Skip(const std::string& reason) {
  skipReason_ = reason;
  Unmount();
  return false;
}

void TLoopMount::Unmount() {
  root_.clear();
  if (mounted_ && RunCommand({"umount", mountPoint_}).code != 0) {
    (void)RunCommand({"umount", "-l", mountPoint_});  // something still holds it open
  }
  mounted_ = false;
  if (!device_.empty()) (void)RunCommand({"losetup", "-d", device_});
  device_.clear();
  if (!mountPoint_.empty()) ::rmdir(mountPoint_.c_str());
  if (!image_.empty()) ::unlink(image_.c_str());
  image_.clear();
}

std::string FillUp(const std::string& folder, const std::string& name, uint64_t leaveFree) {
  const std::string path = folder + "/" + name;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return path;
  const std::string chunk(1 << 16, 'f');
  for (const size_t size : {size_t{1} << 16, size_t{4096}, size_t{512}, size_t{1}}) {
    while (::write(fd, chunk.data(), size) > 0) {
    }
  }
  (void)::fsync(fd);
  struct stat st {};
  if (::fstat(fd, &st) == 0) {
    const auto size = static_cast<uint64_t>(st.st_size);
    (void)::ftruncate(fd, static_cast<off_t>(size > leaveFree ? size - leaveFree : 0));
  }
  (void)::fsync(fd);
  ::close(fd);
  return path;
}
