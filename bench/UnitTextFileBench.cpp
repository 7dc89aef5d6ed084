// Preparing a text file of 1,000,000 lines and looking entries up in it, the
// way a preview of a million-entry list with text-file renaming does.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/UnitText.h"
#include "textfile/UnitTextFileFormat.h"

namespace {

constexpr int kLines = 1000000;

std::string Name(int i) { return "IMG_" + std::to_string(1000000 + i) + ".jpg"; }

// "IMG_1000000.jpg,Holiday 0 - Beach,2013-07-01" and so on.
const std::string& FileBytes() {
  static const std::string bytes = [] {
    std::string out;
    out.reserve(kLines * 48);
    for (int i = 0; i < kLines; ++i) {
      out += Name(i) + ",\"Holiday " + std::to_string(i) + ", Beach\",2013-07-01\r\n";
    }
    return out;
  }();
  return bytes;
}

// Names in a scattered order, as a sorted list rarely follows the file.
const std::vector<std::u16string>& SearchNames() {
  static const std::vector<std::u16string> names = [] {
    std::vector<std::u16string> out;
    out.reserve(kLines);
    unsigned seed = 99;
    for (int i = 0; i < kLines; ++i) {
      seed = seed * 1103515245u + 12345u;
      out.push_back(AsciiToUtf16(Name(static_cast<int>((seed >> 4) % kLines))));
    }
    return out;
  }();
  return names;
}

void BM_PrepareMillionLines(benchmark::State& state) {
  const std::string& bytes = FileBytes();
  for (auto _ : state) {
    TTextFileFormat format;
    format.LoadFromBytes(bytes);
    benchmark::DoNotOptimize(format.FieldCount());
  }
  state.counters["lines/s"] = benchmark::Counter(kLines, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PrepareMillionLines)->Unit(benchmark::kMillisecond);

// The first searches after a load: they build the substring index.
void BM_IndexMillionLines(benchmark::State& state) {
  TTextFileFormat format;
  format.LoadFromBytes(FileBytes());
  for (auto _ : state) {
    format.Put(0, format.Get(0));  // forgets the index
    for (int i = 0; i < 10; ++i) benchmark::DoNotOptimize(format.FindLine(u"no such name"));
  }
}
BENCHMARK(BM_IndexMillionLines)->Unit(benchmark::kMillisecond);

// One search per entry once the index stands.
void BM_FindLineInMillionLines(benchmark::State& state) {
  TTextFileFormat format;
  format.LoadFromBytes(FileBytes());
  const std::vector<std::u16string>& names = SearchNames();
  for (int i = 0; i < 10; ++i) benchmark::DoNotOptimize(format.FindLine(u"no such name"));
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(format.FindLine(names[next]));
    next = next + 1 == names.size() ? 0 : next + 1;
  }
}
BENCHMARK(BM_FindLineInMillionLines);

// By line number: the three fields of the entry's line.
void BM_FieldsByLineNumber(benchmark::State& state) {
  TTextFileFormat format;
  format.LoadFromBytes(FileBytes());
  int line = 0;
  for (auto _ : state) {
    for (int field = 0; field < format.FieldCount(); ++field) {
      benchmark::DoNotOptimize(format.GetField(line, field));
    }
    line = line + 1 == kLines ? 0 : line + 1;
  }
}
BENCHMARK(BM_FieldsByLineNumber);

// A whole preview pass by search: load, then every entry of a million once.
void BM_PreviewPassBySearch(benchmark::State& state) {
  const std::vector<std::u16string>& names = SearchNames();
  for (auto _ : state) {
    TTextFileFormat format;
    format.LoadFromBytes(FileBytes());
    for (const std::u16string& name : names) benchmark::DoNotOptimize(format.FindLine(name));
  }
}
BENCHMARK(BM_PreviewPassBySearch)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
