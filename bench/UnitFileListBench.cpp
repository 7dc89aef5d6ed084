// Reading a large folder into the file list and sorting a million entries:
// the scan runs over a real folder of 100,000 empty files, made once per run
// in a temporary folder and removed at exit; a folder of 1,000,000 entries
// takes about ten times the reported time and heap.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "filelist/UnitFileList.h"
#include "filelist/UnitFileListSort.h"
#include "platform/UnitClock.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"

namespace {

constexpr int kFolderEntries = 100000;
constexpr int kSortEntries = 1000000;

std::u16string Numbered(const char16_t* prefix, unsigned value, const char16_t* suffix) {
  std::string digits = std::to_string(value);
  digits.insert(0, 6 - std::min<size_t>(6, digits.size()), '0');
  return prefix + AsciiToUtf16(digits) + suffix;
}

// The temporary folder of empty files, made on first use.
class TBenchFolder {
 public:
  TBenchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/tallowick-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = Utf8ToUtf16(pattern);
    auto fs = NewPosixFileSystem();
    for (unsigned i = 0; i < kFolderEntries; ++i) {
      const std::u16string name = Numbered(u"IMG_2013", i, i % 5 == 0 ? u".JPG" : u".jpg");
      if (!fs->WriteWholeFile(path_ + u"/" + name, "").ok()) std::abort();
    }
  }
  ~TBenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Utf16ToUtf8(path_), ignored);
  }
  TBenchFolder(const TBenchFolder&) = delete;
  TBenchFolder& operator=(const TBenchFolder&) = delete;
  const std::u16string& Path() const { return path_; }

 private:
  std::u16string path_;
};

const TBenchFolder& Folder() {
  static const TBenchFolder folder;
  return folder;
}

size_t HeapInUse() { return mallinfo2().uordblks; }

// The platform's listing alone: opendir, readdir and statx per entry.
void BM_ListFolder100k(benchmark::State& state) {
  const std::u16string path = Folder().Path();
  auto fs = NewPosixFileSystem();
  for (auto _ : state) {
    int entries = 0;
    if (!fs->ListFolder(path, [&](const TFolderEntry&) { return ++entries, true; }).ok()) {
      state.SkipWithError("listing failed");
    }
    benchmark::DoNotOptimize(entries);
  }
  state.SetItemsProcessed(state.iterations() * kFolderEntries);
}
BENCHMARK(BM_ListFolder100k)->Unit(benchmark::kMillisecond);

// The whole refresh: listing, filter, columns, dates, checks and the sort by name.
void BM_RefreshFileList100k(benchmark::State& state) {
  auto fs = NewPosixFileSystem();
  TSystemClock clock;
  TNoProgress progress;
  TScanOptions options;
  options.folder = Folder().Path();
  options.filter = u"*.jpg";
  size_t heap = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<TFrmDummyShowPreview>(*fs, clock);
    const size_t before = HeapInUse();
    state.ResumeTiming();
    bool once = false;
    int files = 0;
    int checked = 0;
    int folders = 0;
    list->RefreshFileList(options, progress, once, files, false, checked, folders);
    state.PauseTiming();
    if (list->Count() != kFolderEntries) state.SkipWithError("not every file was listed");
    heap = HeapInUse() - before;
    list.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kFolderEntries);
  state.counters["heap_bytes_per_entry"] = static_cast<double>(heap) / kFolderEntries;
}
BENCHMARK(BM_RefreshFileList100k)->Unit(benchmark::kMillisecond);

// A million entries in random order, sorted by name (natural order) or size.
void BM_SortMillion(benchmark::State& state) {
  const auto kind = static_cast<TSortKind>(state.range(0));
  std::vector<std::unique_ptr<TFileListData>> rows;
  std::vector<TTagData> tags(kSortEntries);
  std::mt19937 random(42);
  for (int i = 0; i < kSortEntries; ++i) {
    auto row = std::make_unique<TFileListData>();
    const unsigned n = static_cast<unsigned>(i);
    row->caption = Numbered(n % 3 == 0 ? u"IMG_" : (n % 3 == 1 ? u"Track " : u"Report v"),
                            random() % 1000000, n % 2 == 0 ? u".jpg" : u".txt");
    row->SetSize(AsciiToUtf16(std::to_string(random() % 100000000)));
    row->data = i;
    tags[static_cast<size_t>(i)].IsFolder = i % 100 == 0;
    rows.push_back(std::move(row));
  }
  for (auto _ : state) {
    state.PauseTiming();
    std::shuffle(rows.begin(), rows.end(), random);
    state.ResumeTiming();
    SortFileList(rows, tags, {kind, 0, false});
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * kSortEntries);
}
BENCHMARK(BM_SortMillion)
    ->Arg(static_cast<int>(TSortKind::Name))
    ->Arg(static_cast<int>(TSortKind::Size))
    ->Unit(benchmark::kMillisecond);

}  // namespace
