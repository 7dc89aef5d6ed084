#include "platform/UnitBlockPool.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kSlabSize = 2 * kHugePage;

size_t RoundedUp(size_t size, size_t to) { return (size + to - 1) / to * to; }

}  // namespace

TBlockPool::TBlockPool(size_t blockSize)
    : blockSize_(RoundedUp(blockSize < sizeof(void*) ? sizeof(void*) : blockSize,
                           alignof(std::max_align_t))) {}

TBlockPool::~TBlockPool() { ReleaseSlabs(); }

void TBlockPool::AddSlab() {
  void* slab = std::aligned_alloc(kHugePage, kSlabSize);
  if (slab == nullptr) throw std::bad_alloc();
  // Only advice: where huge pages are off or none is free, ordinary pages serve.
  (void)::madvise(slab, kSlabSize, MADV_HUGEPAGE);
  slabs_.push_back(slab);
  next_ = static_cast<char*>(slab);
  end_ = next_ + kSlabSize / blockSize_ * blockSize_;
}

void* TBlockPool::Allocate() {
  const std::lock_guard<std::mutex> lock(mutex_);
  void* block = freeList_;
  if (block != nullptr) {
    freeList_ = *static_cast<void**>(block);
  } else {
    if (next_ == end_) AddSlab();
    block = next_;
    next_ += blockSize_;
  }
  ++inUse_;
  return block;
}

void TBlockPool::Free(void* block) {
  if (block == nullptr) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  *static_cast<void**>(block) = freeList_;
  freeList_ = block;
  if (--inUse_ == 0) ReleaseSlabs();
}

void TBlockPool::ReleaseSlabs() {
  for (void* slab : slabs_) std::free(slab);
  slabs_.clear();
  freeList_ = nullptr;
  next_ = end_ = nullptr;
}
