// Expansion of a typical counter-name-date text over 100,000 entries.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "matching/UnitMetaVariables.h"
#include "metadata/UnitTagReader.h"
#include "platform/UnitClock.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

constexpr int kEntries = 100000;

std::vector<RenameRecord> MakeRecords() {
  std::vector<RenameRecord> records(kEntries);
  for (int i = 0; i < kEntries; ++i) {
    const std::string caption = "IMG_2013" + std::to_string(100000 + i) + ".jpg";
    FillRenameRecordNames(records[i], u"/home/ann/Pictures/2013", AsciiToUtf16(caption), false,
                          u"", u"2013-08-14 09:05:03");
    records[i].listposition = records[i].selectedposition = i + 1;
    records[i].listtotal = records[i].selectedtotal = kEntries;
    records[i].filesize = u"1,234,567";
  }
  return records;
}

void BM_ExpandCounterNameDate(benchmark::State& state) {
  const std::vector<RenameRecord> records = MakeRecords();
  auto fs = NewPosixFileSystem();
  TSystemClock clock;
  TProcessEnvironment env;
  TNoTagReader tags;
  TMetaVariables vars(*fs, clock, env, tags);
  const std::u16string text = u"?n04? - ?cfo? ?cds:Fyyyy?";
  size_t i = 0;
  for (auto _ : state) {
    TExpansion e = vars.Expand(text, records[i]);
    benchmark::DoNotOptimize(e.text);
    if (++i == records.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExpandCounterNameDate);

}  // namespace
