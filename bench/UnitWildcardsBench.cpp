// Replacing in many file names with one compiled wildcard pattern or regular
// expression, the way a preview runs a replace step over a large folder.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "matching/UnitRegExpWildcards.h"
#include "matching/UnitWildcards.h"
#include "platform/UnitText.h"

namespace {

std::u16string Digits(unsigned value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width)
    text.insert(0, static_cast<size_t>(width) - text.size(), '0');
  return AsciiToUtf16(text);
}

// 100,000 names (without extension) in the styles of cameras, music and documents.
const std::vector<std::u16string>& FileNames() {
  static const std::vector<std::u16string> names = [] {
    std::vector<std::u16string> out;
    out.reserve(100000);
    unsigned seed = 12345;
    for (unsigned i = 0; i < 100000; ++i) {
      seed = seed * 1103515245u + 12345u;
      const unsigned r = (seed >> 8) % 100000;
      switch (i % 6) {
        case 0:
          out.push_back(u"IMG_2013" + Digits(101 + r % 1200, 4) + u"_" + Digits(r, 6));
          break;
        case 1:
          out.push_back(Digits(1 + r % 20, 2) + u" - Artist " + Digits(r % 300, 1) +
                        u" - Song Title");
          break;
        case 2:
          out.push_back(u"DSC" + Digits(r, 5));
          break;
        case 3:
          out.push_back(u"VID_2019" + Digits(r % 1231, 4) + u"_" + Digits(r, 6) + u" (copy)");
          break;
        case 4:
          out.push_back(u"Caf\u00E9 Holiday " + Digits(r % 50, 1) + u" \u00C9t\u00E9 img_x_");
          break;
        default:
          out.push_back(u"report final v" + Digits(r % 9, 1));
          break;
      }
    }
    return out;
  }();
  return names;
}

void BM_WildcardReplace(benchmark::State& state) {
  const auto& names = FileNames();
  TWildcards w;
  w.SetSearchPattern(u"img_*_");
  size_t i = 0;
  for (auto _ : state) {
    w.SetSearchString(names[i]);
    benchmark::DoNotOptimize(w.SearchReplaceWith(u"photo ", true));
    if (++i == names.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WildcardReplace);

// The four-argument form that the steps call: the unchanged pattern is not recompiled.
void BM_WildcardReplaceFourArguments(benchmark::State& state) {
  const auto& names = FileNames();
  TWildcards w;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(w.SearchReplaceWith(names[i], u"img_*_", u"photo ", true));
    if (++i == names.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WildcardReplaceFourArguments);

void BM_RegExpReplace(benchmark::State& state) {
  const auto& names = FileNames();
  TRegExpWildcards r;
  r.SetSearchPattern(u"(\\d{4})(\\d{2})(\\d{2})");
  size_t i = 0;
  for (auto _ : state) {
    r.SetSearchString(names[i]);
    benchmark::DoNotOptimize(r.SearchReplaceWith(u"$1-$2-$3", true));
    if (++i == names.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RegExpReplace);

void BM_RegExpReplaceFourArguments(benchmark::State& state) {
  const auto& names = FileNames();
  TRegExpWildcards r;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        r.SearchReplaceWith(names[i], u"(\\d{4})(\\d{2})(\\d{2})", u"$1-$2-$3", true));
    if (++i == names.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RegExpReplaceFourArguments);

// For comparison: a new matcher per call compiles the expression every time.
void BM_RegExpReplaceFreshMatcher(benchmark::State& state) {
  const auto& names = FileNames();
  size_t i = 0;
  for (auto _ : state) {
    TRegExpWildcards r;
    benchmark::DoNotOptimize(
        r.SearchReplaceWith(names[i], u"(\\d{4})(\\d{2})(\\d{2})", u"$1-$2-$3", true));
    if (++i == names.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RegExpReplaceFreshMatcher);

}  // namespace
