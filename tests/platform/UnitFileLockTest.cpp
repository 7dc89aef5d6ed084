#include "platform/UnitFileLock.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/UnitText.h"
#include "support/UnitTempFolder.h"

namespace {

using std::chrono::steady_clock;

long MillisecondsSince(steady_clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - start).count());
}

// Two holders of one lock file in this process: the second is refused while
// the first holds it, waits about as long as asked, and gets it once it is
// released.
TEST(TFileLockTest, OneHolderAtATime) {
  const TTempFolder dir;
  const std::u16string path = Utf8ToUtf16(dir.PathOf("run.lock"));
  TFileLock first(path);
  TFileLock second(path);
  bool taken = false;
  ASSERT_TRUE(first.TryLock(taken).ok());
  EXPECT_TRUE(taken);
  EXPECT_TRUE(first.Held());
  ASSERT_TRUE(first.TryLock(taken).ok());
  EXPECT_TRUE(taken) << "taking a held lock again is no change";
  ASSERT_TRUE(second.TryLock(taken).ok());
  EXPECT_FALSE(taken);
  const auto start = steady_clock::now();
  ASSERT_TRUE(second.Wait(300, taken).ok());
  EXPECT_FALSE(taken);
  EXPECT_GE(MillisecondsSince(start), 300);
  EXPECT_LT(MillisecondsSince(start), 3000);
  first.Unlock();
  EXPECT_FALSE(first.Held());
  ASSERT_TRUE(second.Wait(300, taken).ok());
  EXPECT_TRUE(taken);
  ASSERT_TRUE(first.TryLock(taken).ok());
  EXPECT_FALSE(taken);
}

// Across processes: a child holds the lock until it ends without releasing
// it (as a crash would); the parent is refused meanwhile, and waiting
// through the child's end gets the lock.
TEST(TFileLockTest, AnotherProcessHoldsItUntilItEnds) {
  const TTempFolder dir;
  const std::u16string path = Utf8ToUtf16(dir.PathOf("run.lock"));
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(ready[0]);
    TFileLock held(path);
    bool taken = false;
    const char signal = held.TryLock(taken).ok() && taken ? 'y' : 'n';
    if (::write(ready[1], &signal, 1) != 1) ::_exit(2);
    ::usleep(400 * 1000);
    ::_exit(0);  // no destructor runs: the lock goes with the process
  }
  ::close(ready[1]);
  char signal = 0;
  ASSERT_EQ(::read(ready[0], &signal, 1), 1);
  ::close(ready[0]);
  ASSERT_EQ(signal, 'y');
  TFileLock mine(path);
  bool taken = false;
  ASSERT_TRUE(mine.TryLock(taken).ok());
  EXPECT_FALSE(taken);
  ASSERT_TRUE(mine.Wait(10000, taken).ok());
  EXPECT_TRUE(taken);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(TFileLockTest, ALockFileThatCannotBeMadeNamesIt) {
  const TTempFolder dir;
  const std::u16string path = Utf8ToUtf16(dir.PathOf("missing/run.lock"));
  TFileLock lock(path);
  bool taken = true;
  const TStatus status = lock.Wait(100, taken);
  EXPECT_FALSE(taken);
  EXPECT_EQ(status.code(), ENOENT);
  EXPECT_EQ(status.file(), path);
}

}  // namespace
