#include "platform/UnitHugePageHeap.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace {

constexpr char kTunables[] = "GLIBC_TUNABLES";
constexpr char kHugePages[] = "glibc.malloc.hugetlb";
// Blocks of up to 32 MiB (the most the allocator allows) come from the heap
// too, and freed room stays in it: a run's large lists and texts, the
// journal once written, are made in pages touched already instead of fresh
// ones, each of which costs a fault.
constexpr std::string_view kHeapTunables[] = {"glibc.malloc.mmap_threshold=33554432",
                                              "glibc.malloc.trim_threshold=536870912"};
// Set in the restarted program: the tunables as the caller had them, after
// a "=" when the variable was set at all.
constexpr char kTunablesBefore[] = "TALLOWICK_TUNABLES_BEFORE";

std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// Transparent huge pages are off ("[never]") or cannot be told: nothing to gain.
bool KernelOffersHugePages() {
  std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes;
  std::getline(in, modes);
  return !modes.empty() && modes.find("[never]") == std::string::npos;
}

// A folder whose listing alone takes this much room on disk holds some ten
// thousand entries or more. Below that, starting twice (some 20 ms) would
// cost more than the page faults it saves.
constexpr off_t kLargeFolderBytes = 256 * 1024;

// A batch rename mode ("-xi", "-xu", "-ri", "-ru", in any case).
bool IsRenameMode(std::string_view arg) {
  if (arg.size() != 3 || arg[0] != '-') return false;
  const char mode = static_cast<char>(arg[1] | 0x20);
  const char answer = static_cast<char>(arg[2] | 0x20);
  return (mode == 'x' || mode == 'r') && (answer == 'i' || answer == 'u');
}

bool IsLargeFolder(const char* arg) {
  struct stat st {};
  return ::stat(arg, &st) == 0 && S_ISDIR(st.st_mode) && st.st_size >= kLargeFolderBytes;
}

// The arguments ask to rename a large folder, or to undo the last batch
// (which holds a run's every name, and its reversal every entry's identity).
// A preview or the window keep the smaller pages: huge ones take more room.
bool AsksForLargeWork(char** argv) {
  bool renames = false;
  bool large = false;
  for (char** arg = argv + 1; *arg != nullptr; ++arg) {
    if (std::string_view(*arg) == "--undo") return true;
    renames = renames || IsRenameMode(*arg);
    large = large || IsLargeFolder(*arg);
  }
  return renames && large;
}

// Under valgrind the executable of the process is valgrind's own, which a
// restart would run without the program under test.
bool UnderMemoryChecker() {
  const std::optional<std::string> preload = Variable("LD_PRELOAD");
  return preload && preload->find("vgpreload") != std::string::npos;
}

void RestoreEnvironment(const std::string& before) {
  if (before.starts_with('=')) {
    setenv(kTunables, before.c_str() + 1, 1);
  } else {
    unsetenv(kTunables);
  }
  unsetenv(kTunablesBefore);
}

}  // namespace

std::optional<std::string> TunablesWithHugePages(const std::optional<std::string>& current) {
  const std::string given = current.value_or("");
  if (given.find(kHugePages) != std::string::npos) return std::nullopt;
  std::string tunables = given.empty() ? std::string() : given + ":";
  tunables += std::string(kHugePages) + "=1";
  for (const std::string_view tunable : kHeapTunables) {
    const std::string_view name = tunable.substr(0, tunable.find('='));
    if (given.find(name) == std::string::npos) tunables.append(":").append(tunable);
  }
  return tunables;
}

void RestartWithHugePageHeap(char** argv) {
  if (const std::optional<std::string> before = Variable(kTunablesBefore)) {
    RestoreEnvironment(*before);
    return;
  }
  const std::optional<std::string> current = Variable(kTunables);
  const std::optional<std::string> tunables = TunablesWithHugePages(current);
  if (!tunables || argv[0] == nullptr || UnderMemoryChecker() || !AsksForLargeWork(argv) ||
      !KernelOffersHugePages()) {
    return;
  }
  const std::string before = current ? "=" + *current : std::string();
  if (setenv(kTunablesBefore, before.c_str(), 1) != 0) return;
  if (setenv(kTunables, tunables->c_str(), 1) == 0) execv("/proc/self/exe", argv);
  // Not restarted: go on as started, with the environment as it was.
  RestoreEnvironment(before);
}
