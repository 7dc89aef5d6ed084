#include "platform/UnitParallelListing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/UnitSplitWork.h"
#include "platform/UnitText.h"

namespace {

// A listing of `total` numbered names that fails with `failure` at its end
// (0: ends cleanly). Every seventh entry is gone by the time it is described,
// and describing yields now and then so that the two threads interleave.
struct TNumberedSource {
  int total = 0;
  int failure = 0;
  int next = 0;
  std::atomic<int> reads{0};

  TListingSource Source() {
    TListingSource source;
    source.read = [this](size_t limit, std::vector<TRawFolderName>& names, int& err) {
      ++reads;
      while (names.size() < limit) {
        if (next == total) {
          err = failure;
          return false;
        }
        names.emplace_back(std::to_string(next++), 0);
      }
      return true;
    };
    source.describe = [](const TRawFolderName& name, TFolderEntry& entry) {
      const int number = std::stoi(name.first);
      if (number % 5 == 0) std::this_thread::yield();
      entry.name = Utf8ToUtf16(name.first);
      entry.info.size = static_cast<uint64_t>(number);
      return number % 7 != 3;
    };
    return source;
  }
};

}  // namespace

// Every entry still there is visited once, in reading order, described as
// itself, at every size around the batch boundaries; a failed read is
// reported after the entries read before it.
TEST(TParallelListingTest, VisitsEveryEntryInReadingOrder) {
  for (const int total : {0, 1, 3, 255, 256, 257, 1000, 20000}) {
    for (const int failure : {0, 5}) {
      TNumberedSource numbered;
      numbered.total = total;
      numbered.failure = failure;
      std::vector<uint64_t> seen;
      const int err = ListInParallel(numbered.Source(), [&](const TFolderEntry& entry) {
        EXPECT_EQ(entry.name, Utf8ToUtf16(std::to_string(entry.info.size)));
        seen.push_back(entry.info.size);
        return true;
      });
      EXPECT_EQ(err, failure) << total;
      std::vector<uint64_t> expected;
      for (int i = 0; i < total; ++i) {
        if (i % 7 != 3) expected.push_back(static_cast<uint64_t>(i));
      }
      EXPECT_EQ(seen, expected) << total << " names, failure " << failure;
    }
  }
}

// A visitor that stops ends the listing soon: the helper reads only a few
// batches ahead.
TEST(TParallelListingTest, StoppingEndsReadingAhead) {
  TNumberedSource numbered;
  numbered.total = 1000000;
  int visited = 0;
  const int err = ListInParallel(numbered.Source(), [&](const TFolderEntry&) {
    return ++visited < 10;
  });
  EXPECT_EQ(err, 0);
  EXPECT_EQ(visited, 10);
  EXPECT_LE(numbered.reads, 8);
}

// Work beside the caller is done once: its result is there after Finish, and
// work that is never finished is still waited for when the object goes, so
// that it never outlives what it reads.
TEST(TWorkBesideTest, IsDoneOnceAndWaitedFor) {
  std::atomic<int> runs{0};
  {
    TWorkBeside work([&runs] { ++runs; });
    work.Finish();
    EXPECT_EQ(runs.load(), 1);
    work.Finish();
    work.Abandon();
  }
  EXPECT_EQ(runs.load(), 1);
  bool done = false;
  {
    TWorkBeside slow([&done] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      done = true;
    });
  }
  EXPECT_TRUE(done);
}

// Work ahead is done in order, one item at a time, and Stop tells exactly
// how many items from the first are done; nothing is done after it.
TEST(TWorkAheadTest, StopTellsTheItemsDoneFromTheFirst) {
  for (const size_t stopAt : {size_t{0}, size_t{500}, size_t{5000}}) {
    std::vector<size_t> done;
    std::atomic<bool> reached{false};
    TWorkAhead work(5000, [&](size_t item) {
      done.push_back(item);
      if (item + 1 >= stopAt) reached = true;
    });
    while (stopAt > 0 && !reached) std::this_thread::yield();
    const size_t count = work.Stop();
    EXPECT_GE(count, stopAt);
    ASSERT_EQ(done.size(), count);
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(done[i], i);
    EXPECT_EQ(work.Stop(), count);
    EXPECT_EQ(done.size(), count);
  }
}
