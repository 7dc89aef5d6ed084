// Blocks of one size carved from large slabs, for objects made by the
// hundred thousand and walked through again and again (the rows of a list):
// side by side in memory instead of scattered over the heap, and on slabs the
// kernel is asked to back with huge pages, so that walking them does not miss
// the address cache at every row. Safe to use from several threads.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

class TBlockPool {
 public:
  explicit TBlockPool(size_t blockSize);
  ~TBlockPool();
  TBlockPool(const TBlockPool&) = delete;
  TBlockPool& operator=(const TBlockPool&) = delete;

  // A block of the pool's size, aligned for any object; throws std::bad_alloc
  // when no memory is left.
  void* Allocate();
  // Gives back a block from Allocate. When no block is in use any more, the
  // slabs go back to the system.
  void Free(void* block);

 private:
  void AddSlab();
  void ReleaseSlabs();

  std::mutex mutex_;
  const size_t blockSize_;
  std::vector<void*> slabs_;
  void* freeList_ = nullptr;  // blocks given back, each holding the next one's address
  char* next_ = nullptr;      // the first block of the newest slab never handed out
  char* end_ = nullptr;
  size_t inUse_ = 0;
};
