#include "textfile/UnitCsvFields.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/UnitText.h"

namespace {

struct TSplitCase {
  std::u16string line;
  char16_t delim;
  std::vector<std::u16string> fields;
};

std::string Show(const std::vector<std::u16string>& fields) {
  std::string out;
  for (const auto& f : fields) out += "[" + Utf16ToUtf8(f) + "]";
  return out;
}

}  // namespace

TEST(TFieldScannerTest, SplitsFieldsWithQuotesAndDelimiters) {
  const std::vector<TSplitCase> cases = {
      {u"", u',', {}},
      {u"a", u',', {u"a"}},
      {u"a,", u',', {u"a", u""}},
      {u",", u',', {u"", u""}},
      {u",,", u',', {u"", u"", u""}},
      {u"a,,b", u',', {u"a", u"", u"b"}},
      {u"a,\"b,c\",d", u',', {u"a", u"b,c", u"d"}},
      {u"\"a\"\"b\"", u',', {u"a\"b"}},
      {u"\"\"", u',', {u""}},
      {u"\"\",x", u',', {u"", u"x"}},
      {u"\"abc", u',', {u"abc"}},                 // unclosed: runs to the end
      {u"\"ab,c", u',', {u"ab,c"}},
      {u"\"ab\"cd,e", u',', {u"ab", u"cd", u"e"}},  // text after the closing mark
      {u"\"ab\",", u',', {u"ab", u""}},
      {u" a , b ", u',', {u" a ", u" b "}},        // nothing trimmed
      {u" \"a\"", u',', {u" \"a\""}},              // a quote after a blank is literal
      {u"a\"b,c", u',', {u"a\"b", u"c"}},
      {u"a\tb\t", u'\t', {u"a", u"b", u""}},
      {u"a,b", u'\t', {u"a,b"}},
      {u"\"x\ty\"\tz", u'\t', {u"x\ty", u"z"}},
      {u"\"", u',', {u""}},
      {u"\"\"\"", u',', {u"\""}},
      {u"a\"b\"c", u'"', {u"a", u"b", u"c"}},      // the quotation mark as delimiter
      {u"\"a\"", u'"', {u"a"}},
  };
  for (const TSplitCase& c : cases) {
    EXPECT_EQ(Show(SplitFields(c.line, c.delim)), Show(c.fields))
        << "line: " << Utf16ToUtf8(c.line) << " delim " << static_cast<int>(c.delim);
    EXPECT_EQ(CountFields(c.line, c.delim), c.fields.size()) << "line: " << Utf16ToUtf8(c.line);
  }
}

TEST(TFieldScannerTest, RandomLinesAlwaysEndAndNeverYieldMoreFieldsThanCharactersPlusOne) {
  std::mt19937 random(11);
  const std::u16string alphabet = u"a,\"\t \xD800";
  for (int round = 0; round < 20000; ++round) {
    std::u16string line;
    const int length = static_cast<int>(random() % 16);
    for (int i = 0; i < length; ++i) line.push_back(alphabet[random() % alphabet.size()]);
    const char16_t delim = alphabet[random() % alphabet.size()];
    const std::vector<std::u16string> fields = SplitFields(line, delim);
    EXPECT_LE(fields.size(), line.size() + 1) << "line: " << Utf16ToUtf8(line);
    size_t total = 0;
    for (const auto& f : fields) total += f.size();
    EXPECT_LE(total, line.size()) << "line: " << Utf16ToUtf8(line);
    if (line.find(u'"') == std::u16string::npos && delim != u'"') {
      // Without quotation marks the fields are exactly the pieces between delimiters.
      std::u16string joined;
      for (size_t i = 0; i < fields.size(); ++i) joined += (i ? std::u16string(1, delim) : u"") + fields[i];
      EXPECT_EQ(Utf16ToUtf8(joined), Utf16ToUtf8(line));
    }
  }
}
