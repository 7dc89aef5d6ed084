#include "platform/UnitBlockPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <thread>

// Blocks handed out are aligned, never overlap a block still in use, keep what
// was written into them, and the pool serves again after every block came back
// (its slabs were released then), also from several threads at once.
TEST(TBlockPoolTest, LiveBlocksNeverOverlapThroughReuseAndRelease) {
  TBlockPool pool(100);  // rounded up to an aligned size
  std::mt19937 random(3);
  std::map<uintptr_t, unsigned char> live;  // block address -> the byte filling it
  const auto check = [&] {
    uintptr_t end = 0;
    for (const auto& [at, fill] : live) {
      ASSERT_GE(at, end) << "blocks overlap";
      ASSERT_EQ(at % alignof(std::max_align_t), 0u);
      const auto* bytes = reinterpret_cast<const unsigned char*>(at);
      for (size_t i = 0; i < 100; ++i) ASSERT_EQ(bytes[i], fill);
      end = at + 100;
    }
  };
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 60000; ++i) {  // more than one slab
      if (!live.empty() && random() % 3 == 0) {
        auto it = live.lower_bound(random());
        if (it == live.end()) it = live.begin();
        pool.Free(reinterpret_cast<void*>(it->first));
        live.erase(it);
      } else {
        void* block = pool.Allocate();
        const auto fill = static_cast<unsigned char>(random());
        std::memset(block, fill, 100);
        ASSERT_TRUE(live.emplace(reinterpret_cast<uintptr_t>(block), fill).second);
      }
    }
    check();
    for (const auto& [at, fill] : live) pool.Free(reinterpret_cast<void*>(at));
    live.clear();
  }
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&pool] {
      std::vector<void*> mine;
      for (int i = 0; i < 20000; ++i) mine.push_back(pool.Allocate());
      for (void* block : mine) pool.Free(block);
    });
  }
  for (std::thread& thread : threads) thread.join();
}
