#include "textfile/UnitSubstringIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "platform/UnitText.h"
#include "textfile/UnitSuffixArray.h"

namespace {

std::vector<int32_t> SortedSuffixes(std::u16string_view text) {
  std::vector<int32_t> sa(text.size());
  std::iota(sa.begin(), sa.end(), 0);
  std::sort(sa.begin(), sa.end(), [&](int32_t a, int32_t b) {
    return text.substr(static_cast<size_t>(a)) < text.substr(static_cast<size_t>(b));
  });
  return sa;
}

std::u16string RandomText(std::mt19937& random, size_t length, std::u16string_view alphabet) {
  std::u16string text;
  for (size_t i = 0; i < length; ++i) text.push_back(alphabet[random() % alphabet.size()]);
  return text;
}

}  // namespace

TEST(TSuffixArrayTest, AgreesWithSortingOnRandomAndRepetitiveTexts) {
  std::mt19937 random(1);
  const std::vector<std::u16string> alphabets = {u"a", u"ab", u"abc",
                                                 std::u16string(u"\0\uFFFF\u00e9x", 4)};
  for (int round = 0; round < 400; ++round) {
    const size_t length = random() % (round < 300 ? 60 : 3000);
    const std::u16string text = RandomText(random, length, alphabets[round % alphabets.size()]);
    ASSERT_EQ(BuildSuffixArray(text), SortedSuffixes(text)) << "text: " << Utf16ToUtf8(text);
  }
  for (const std::u16string& text :
       {std::u16string(5000, u'a'), std::u16string(u"ab") + std::u16string(999, u'b'),
        [] {
          std::u16string t;
          for (int i = 0; i < 600; ++i) t += u"abcab";
          return t;
        }()}) {
    ASSERT_EQ(BuildSuffixArray(text), SortedSuffixes(text)) << "length " << text.size();
  }
}

TEST(TSubstringIndexTest, FirstOccurrenceAgreesWithFind) {
  std::mt19937 random(2);
  for (int round = 0; round < 200; ++round) {
    const std::u16string text = RandomText(random, random() % 5000, u"abc\n");
    TSubstringIndex index;
    index.Build(text);
    ASSERT_TRUE(index.Built());
    for (int query = 0; query < 50; ++query) {
      const std::u16string pattern = RandomText(random, 1 + random() % 6, u"abcd\n");
      const size_t expected = text.find(pattern);
      ASSERT_EQ(index.FirstOccurrence(pattern), expected)
          << "pattern " << Utf16ToUtf8(pattern) << " in a text of " << text.size();
    }
    EXPECT_EQ(index.FirstOccurrence(u""), std::u16string::npos);
    EXPECT_EQ(index.FirstOccurrence(text + u"a"), std::u16string::npos);
  }
}
