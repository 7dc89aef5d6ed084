#include "platform/UnitParallelListing.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Names read at a time; the batches read ahead of the one being visited; the
// names one thread claims to describe at a time.
constexpr size_t kBatchNames = 256;
constexpr size_t kBatchesAhead = 4;
constexpr size_t kClaim = 32;

struct TBatch {
  std::vector<TRawFolderName> names;
  std::vector<TFolderEntry> entries;
  std::vector<char> present;  // described and still there
  size_t claimed = 0;         // names handed to a describing thread
  size_t finished = 0;        // names described
  bool last = false;
  int err = 0;

  bool AllClaimed() const { return claimed == names.size(); }
  bool AllFinished() const { return finished == names.size(); }
};

std::unique_ptr<TBatch> ReadBatch(const TListingSource& source) {
  auto batch = std::make_unique<TBatch>();
  batch->names.reserve(kBatchNames);
  batch->last = !source.read(kBatchNames, batch->names, batch->err);
  batch->entries.resize(batch->names.size());
  batch->present.assign(batch->names.size(), 0);
  return batch;
}

void DescribeRange(const TListingSource& source, TBatch& batch, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i) {
    batch.present[i] = source.describe(batch.names[i], batch.entries[i]) ? 1 : 0;
  }
}

// False when `visit` asked to stop.
bool VisitBatch(const TBatch& batch, const TFolderVisitor& visit) {
  for (size_t i = 0; i < batch.names.size(); ++i) {
    if (batch.present[i] != 0 && !visit(batch.entries[i])) return false;
  }
  return true;
}

// Describes and visits `batch` and then every batch after it on the caller's
// thread alone.
int ListOnOneThread(const TListingSource& source, std::unique_ptr<TBatch> batch,
                    const TFolderVisitor& visit) {
  for (;;) {
    DescribeRange(source, *batch, 0, batch->names.size());
    if (!VisitBatch(*batch, visit)) return 0;
    if (batch->last) return batch->err;
    batch = ReadBatch(source);
  }
}

class TTwoThreadListing {
 public:
  // `first` is the batch read already.
  TTwoThreadListing(const TListingSource& source, std::unique_ptr<TBatch> first)
      : source_(source) {
    batches_.push_back(std::move(first));
  }

  ~TTwoThreadListing() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    if (helper_.joinable()) helper_.join();
  }

  TTwoThreadListing(const TTwoThreadListing&) = delete;
  TTwoThreadListing& operator=(const TTwoThreadListing&) = delete;

  // False when no helper thread could be started; the first batch is then
  // handed back.
  bool Start(std::unique_ptr<TBatch>& first) {
    try {
      helper_ = std::thread([this] { HelpUntilDone(); });
    } catch (const std::system_error&) {
      first = std::move(batches_.front());
      batches_.clear();
      return false;
    }
    return true;
  }

  int VisitAll(const TFolderVisitor& visit) {
    for (;;) {
      const std::unique_ptr<TBatch> batch = NextDescribedBatch();
      if (!VisitBatch(*batch, visit)) return 0;
      if (batch->last) return batch->err;
    }
  }

 private:
  // The helper reads ahead while there is room and otherwise describes.
  void HelpUntilDone() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
      if (!readDone_ && batches_.size() < kBatchesAhead) {
        lock.unlock();
        std::unique_ptr<TBatch> batch = ReadBatch(source_);
        lock.lock();
        readDone_ = batch->last;
        batches_.push_back(std::move(batch));
        changed_.notify_all();
      } else if (!DescribeSome(lock)) {
        if (readDone_) return;
        changed_.wait(lock);
      }
    }
  }

  // Claims names of the oldest batch that has unclaimed ones and describes
  // them with the lock released. False when there was none to claim.
  bool DescribeSome(std::unique_lock<std::mutex>& lock) {
    for (const std::unique_ptr<TBatch>& held : batches_) {
      if (held->AllClaimed()) continue;
      TBatch& batch = *held;  // stays queued until every name is described
      const size_t begin = batch.claimed;
      const size_t end = std::min(begin + kClaim, batch.names.size());
      batch.claimed = end;
      lock.unlock();
      DescribeRange(source_, batch, begin, end);
      lock.lock();
      batch.finished += end - begin;
      if (batch.AllFinished()) changed_.notify_all();
      return true;
    }
    return false;
  }

  // Takes the oldest batch off the queue once it is described, helping with
  // it meanwhile.
  std::unique_ptr<TBatch> NextDescribedBatch() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !batches_.empty(); });
    TBatch& front = *batches_.front();
    while (!front.AllClaimed()) DescribeSome(lock);
    changed_.wait(lock, [&front] { return front.AllFinished(); });
    std::unique_ptr<TBatch> batch = std::move(batches_.front());
    batches_.pop_front();
    changed_.notify_all();  // room to read ahead
    return batch;
  }

  const TListingSource& source_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<TBatch>> batches_;
  bool readDone_ = false;
  bool stop_ = false;
  std::thread helper_;
};

}  // namespace

int ListInParallel(const TListingSource& source, const TFolderVisitor& visit) {
  // A folder that fits in one batch (most folders of a tree) is not worth a
  // thread.
  std::unique_ptr<TBatch> first = ReadBatch(source);
  if (first->last) return ListOnOneThread(source, std::move(first), visit);
  TTwoThreadListing listing(source, std::move(first));
  if (!listing.Start(first)) return ListOnOneThread(source, std::move(first), visit);
  return listing.VisitAll(visit);
}
