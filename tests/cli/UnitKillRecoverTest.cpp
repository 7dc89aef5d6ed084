// A run killed at any point (SIGKILL: nothing of the program runs after it)
// is recovered whole: `tallowick --recover` puts every entry back under its
// old name with its content, and no temporary name is left. The runs are real
// processes of the tallowick executable over a folder of 2,000 files.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "session/UnitSession.h"
#include "support/UnitFakeServices.h"
#include "support/UnitRenameRunFixture.h"
#include "support/UnitTempFolder.h"

extern char** environ;

namespace {

using TClockTime = std::chrono::steady_clock;

// Swaps, chains into free names, case changes and moves into sub-folders.
TNamePlan KillPlan() {
  TNamePlan plan = SwapChainCasePlan(300);
  for (int i = 0; i < 200; ++i) {
    const std::u16string name = u"s" + IntToStr(i);
    plan.emplace_back(name, u"d" + IntToStr(i % 20) + u"/" + name);
  }
  return plan;
}

class TProcess {
 public:
  TProcess(const std::vector<std::string>& args, const std::string& home) {
    std::vector<std::string> env = {"TALLOWICK_HOME=" + home};
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::string(*e).rfind("TALLOWICK_HOME=", 0) != 0) env.emplace_back(*e);
    }
    std::vector<char*> argv, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    spawned_ = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
  }
  bool Spawned() const { return spawned_; }
  void Kill() const { ::kill(pid_, SIGKILL); }
  // The exit code, or -1 when killed.
  int Wait() const {
    int status = 0;
    if (::waitpid(pid_, &status, 0) != pid_) return -2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = 0;
  bool spawned_ = false;
};

int RunTallowick(const std::vector<std::string>& args, const std::string& home) {
  const TProcess process(args, home);
  return process.Spawned() ? process.Wait() : -3;
}

// The folder's files and their contents; empty folders the runs made are left out.
std::map<std::u16string, std::string> Files(TFileSystem& fs, const std::u16string& folder) {
  std::map<std::u16string, std::string> files = Snapshot(fs, folder);
  std::erase_if(files, [](const auto& file) { return file.first.ends_with(u"/"); });
  return files;
}

class TKillRecoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = temp.Path();
    home = root + "/home";
    folder = root + "/f";
    const std::u16string folder16 = Utf8ToUtf16(folder);
    ASSERT_TRUE(fs->CreateFolderPath(Utf8ToUtf16(home)).ok());
    Populate(*fs, folder16, KillPlan());
    TFixedClock clock;
    TMapEnvironment env;
    TFakeTagReader tags;
    TSession maker(*fs, clock, env, tags, Utf8ToUtf16(home) + u"/");
    ASSERT_TRUE(UsePlan(maker, folder16, KillPlan(), Utf8ToUtf16(home) + u"/names.txt",
                        Utf8ToUtf16(home) + u"/map.twscr")
                    .ok());
    before = Files(*fs, folder16);
    ASSERT_EQ(before.size(), 2000u);
  }

  // How long a whole run of `args` takes, the folder renamed and undone again.
  std::chrono::microseconds Duration(const std::vector<std::string>& args) {
    const auto start = TClockTime::now();
    EXPECT_EQ(RunTallowick(args, home), 0);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(TClockTime::now() - start);
    EXPECT_EQ(RunTallowick({TALLOWICK_EXE, "--undo"}, home), 0);
    EXPECT_EQ(Files(*fs, Utf8ToUtf16(folder)), before);
    return took;
  }

  // Kills `args` after `delay`, recovers, and checks that every file is back
  // (a run that ended before the kill is undone first).
  void KillAndRecover(const std::vector<std::string>& args, std::chrono::microseconds delay,
                      const std::string& label) {
    const TProcess process(args, home);
    ASSERT_TRUE(process.Spawned());
    std::this_thread::sleep_for(delay);
    process.Kill();
    const int code = process.Wait();
    ASSERT_EQ(RunTallowick({TALLOWICK_EXE, "--recover"}, home), 0) << label;
    const std::u16string folder16 = Utf8ToUtf16(folder);
    auto after = Files(*fs, folder16);
    if (after != before) {
      // The run had ended (its journal gone, its batch stored) before the
      // kill came: undoing it must bring everything back.
      ++finished;
      ASSERT_EQ(RunTallowick({TALLOWICK_EXE, "--undo"}, home), 0) << label;
      after = Files(*fs, folder16);
    } else if (code == -1) {
      ++killed;
    }
    for (const auto& [path, content] : after) {
      ASSERT_FALSE(path.find(u".TW_") != std::u16string::npos) << label << Utf16ToUtf8(path);
    }
    ASSERT_EQ(after, before) << label << " (exit " << code << ")";
  }

  TTempFolder temp;
  std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  std::string root, home, folder;
  std::map<std::u16string, std::string> before;
  int killed = 0;
  int finished = 0;
};

TEST_F(TKillRecoverTest, EveryKilledRenameAndUndoIsRecoveredWhole) {
  std::mt19937 random(2026);
  const std::vector<std::string> modes = {"-xi", "-xu", "-ri"};
  std::vector<std::chrono::microseconds> runTime;
  for (const std::string& mode : modes) runTime.push_back(Duration({TALLOWICK_EXE, mode, "map.twscr", folder}));
  // Until 200 rename runs died mid-way (a run may end before its kill comes).
  for (int trial = 0; killed < 200 && trial < 600; ++trial) {
    const size_t m = static_cast<size_t>(trial) % modes.size();
    std::uniform_int_distribution<long> at(0, runTime[m].count() * 9 / 10);
    KillAndRecover({TALLOWICK_EXE, modes[m], "map.twscr", folder}, std::chrono::microseconds(at(random)),
                   modes[m] + " trial " + std::to_string(trial));
    if (HasFatalFailure()) return;
  }
  // An undo killed half-way: renamed in full first, then --undo is killed.
  const std::vector<std::string> rename = {TALLOWICK_EXE, "-xi", "map.twscr", folder};
  const std::vector<std::string> undo = {TALLOWICK_EXE, "--undo"};
  const auto start = TClockTime::now();
  ASSERT_EQ(RunTallowick(rename, home), 0);
  ASSERT_EQ(RunTallowick(undo, home), 0);
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(TClockTime::now() - start);
  std::uniform_int_distribution<long> at(0, whole.count() / 2);
  for (int trial = 0; trial < 40; ++trial) {
    ASSERT_EQ(RunTallowick(rename, home), 0);
    KillAndRecover(undo, std::chrono::microseconds(at(random)), "--undo trial " + std::to_string(trial));
    if (HasFatalFailure()) return;
  }
  std::printf("%d runs killed mid-way and recovered, %d ended before the kill\n", killed, finished);
  EXPECT_GE(killed, 200);
}

}  // namespace
