// The file list's sort: natural order of names, the other column kinds,
// folders first, and the ordering laws std::sort relies on.
#include "filelist/UnitFileListSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "filelist/UnitNaturalOrder.h"
#include "platform/UnitText.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(NaturalOrderTest, Cases) {
  struct Case {
    std::u16string a, b;
    int expected;
  };
  const Case cases[] = {
      {u"file2", u"file10", -1},
      {u"file10", u"file9", 1},
      {u"file01", u"file1", 0},
      {u"abc", u"ABD", -1},
      {u"ABC", u"abc", 0},
      {u"a", u"a1", -1},
      {u"", u"a", -1},
      {u"", u"", 0},
      {u"a1", u"a:", -1},  // a number counts as "9" (57) against ":" (58)
      {u"a1", u"a/", 1},   // and against "/" (47)
      {u"a9", u"a9b", -1},
      {u"1234567890", u"123456789", 1},  // ten digits: 123456789 then 0
      {u"1234567891", u"1234567890", 1},
      {u"x\u0661\u0660", u"x\u0662", 1},  // Arabic-Indic 10 > 2
      {u"\uFF11\uFF10", u"\uFF12", 1},    // fullwidth 10 > 2
      {u"\u0662", u"2", 0},
      {u"_a", u"`a", -1},  // code order after folding A-Z to a-z
      {u"Zeta", u"_x", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sign(NaturalCompare(c.a, c.b)), c.expected)
        << Utf16ToUtf8(c.a) << " vs " << Utf16ToUtf8(c.b);
    EXPECT_EQ(Sign(NaturalCompare(c.b, c.a)), -c.expected)
        << Utf16ToUtf8(c.b) << " vs " << Utf16ToUtf8(c.a);
  }
}

TEST(NaturalOrderTest, LongNamesAreComparedWhole) {
  const std::u16string prefix(300, u'a');
  EXPECT_LT(NaturalCompare(prefix + u"1", prefix + u"2"), 0);
  EXPECT_LT(NaturalCompare(prefix + u"a", prefix + u"b"), 0);
}

TEST(CompareCaptionsTest, FolderPartThenNameThenExtension) {
  struct Case {
    std::u16string a, b;
    int expected;
  };
  const Case cases[] = {
      {u"b/a.txt", u"a/z.txt", 1},
      {u"a.txt", u"sub/a.txt", -1},
      {u"photo.jpg", u"photo (1).jpg", -1},
      {u"photo.png", u"photo (1).jpg", -1},  // names before extensions, also when they differ
      {u"a.txt", u"a.zip", -1},
      {u"a", u"a.txt", -1},
      {u"v1.2", u"v1.10", -1},
      {u"IMG_2.JPG", u"img_10.jpg", -1},
      {u"disc2/track1.mp3", u"disc10/track1.mp3", -1},
      {u"Same.TXT", u"same.txt", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sign(CompareCaptions(c.a, c.b)), c.expected)
        << Utf16ToUtf8(c.a) << " vs " << Utf16ToUtf8(c.b);
  }
}

TEST(NumericSortValueTest, Cases) {
  struct Case {
    std::u16string text;
    double expected;
  };
  const Case cases[] = {
      {u"1,536", 1536}, {u"0", 0},         {u"", 0},        {u"-2.5", -2.5},
      {u"+7", 7},       {u"+-", 0},        {u"1.2.3", 0},   {u"12 KB", 12},
      {u"abc", 0},      {u"--5", 0},       {u"1,234,567.25", 1234567.25},
  };
  for (const Case& c : cases) EXPECT_EQ(NumericSortValue(c.text), c.expected) << Utf16ToUtf8(c.text);
}

TEST(CompareDateTextsTest, EmptyFirstThenDatesThenOtherTexts) {
  const std::vector<std::u16string> ascending = {
      u"", u"2001-01-01", u"[2001-01-02]", u"2001-01-02 10:00:00", u"2013-08-14", u"not a date",
      u"z"};
  for (size_t i = 0; i < ascending.size(); ++i) {
    for (size_t j = 0; j < ascending.size(); ++j) {
      EXPECT_EQ(Sign(CompareDateTexts(ascending[i], ascending[j])), i < j ? -1 : (i > j ? 1 : 0))
          << Utf16ToUtf8(ascending[i]) << " vs " << Utf16ToUtf8(ascending[j]);
    }
  }
}

class TSortFileListTest : public ::testing::Test {
 protected:
  void Add(const std::u16string& caption, bool folder, const std::u16string& size = u"0",
           const std::u16string& type = u"", const std::u16string& date = u"",
           std::vector<std::u16string> custom = {}) {
    auto row = std::make_unique<TFileListData>();
    row->caption = caption;
    row->SetSize(size);
    row->SetType(type, false);
    row->SetDate(date);
    row->CustomData() = std::move(custom);
    row->data = static_cast<int>(tags.size());
    TTagData tag;
    tag.IsFolder = folder;
    tags.push_back(tag);
    rows.push_back(std::move(row));
  }
  std::vector<std::string> Sorted(TSortKind kind, bool descending = false, size_t custom = 0) {
    SortFileList(rows, tags, {kind, custom, descending});
    std::vector<std::string> captions;
    for (const auto& row : rows) captions.push_back(Utf16ToUtf8(row->caption));
    return captions;
  }

  std::vector<std::unique_ptr<TFileListData>> rows;
  std::vector<TTagData> tags;
};

using Names = std::vector<std::string>;

TEST_F(TSortFileListTest, FoldersStayFirstInBothDirections) {
  Add(u"file10", false);
  Add(u"Beta", true);
  Add(u"file2", false);
  Add(u"alpha", true);
  EXPECT_EQ(Sorted(TSortKind::Name), (Names{"alpha", "Beta", "file2", "file10"}));
  EXPECT_EQ(Sorted(TSortKind::Name, true), (Names{"Beta", "alpha", "file10", "file2"}));
}

TEST_F(TSortFileListTest, ColumnKinds) {
  Add(u"a", false, u"1,536", u"JPG", u"2013-08-14", {u"10", u"b", u"2001-01-01"});
  Add(u"b", false, u"999", u"jpg", u"", {u"9", u"B", u"[2000-01-01]"});
  Add(u"c", false, u"12,000", u"TXT", u"bad", {u"", u"a", u"x"});
  EXPECT_EQ(Sorted(TSortKind::Size), (Names{"b", "a", "c"}));
  EXPECT_EQ(Sorted(TSortKind::Size, true), (Names{"c", "a", "b"}));
  EXPECT_EQ(Sorted(TSortKind::Type), (Names{"a", "c", "b"})) << "ordinal, case-sensitive";
  EXPECT_EQ(Sorted(TSortKind::DateModified), (Names{"b", "a", "c"}));
  EXPECT_EQ(Sorted(TSortKind::CustomNumber, false, 0), (Names{"c", "b", "a"}));
  EXPECT_EQ(Sorted(TSortKind::CustomText, false, 1), (Names{"b", "c", "a"}));
  EXPECT_EQ(Sorted(TSortKind::CustomDate, false, 2), (Names{"b", "a", "c"}));
  EXPECT_EQ(Sorted(TSortKind::CustomText, false, 7), (Names{"b", "a", "c"})) << "missing values tie";
}

TEST_F(TSortFileListTest, NewNameColumnKeepsTheOrder) {
  Add(u"z", false);
  Add(u"a", true);
  Add(u"m", false);
  EXPECT_EQ(Sorted(TSortKind::NewName), (Names{"a", "z", "m"}));
  EXPECT_EQ(Sorted(TSortKind::NewName, true), (Names{"a", "z", "m"}));
}

// Random names from an alphabet full of the characters the rules treat
// specially: digits of two scripts, "." and "/", and the characters around
// the A-Z / a-z fold and the "9" a number counts as.
std::u16string RandomName(std::mt19937& random) {
  static constexpr char16_t kAlphabet[] = u"aAbZz019./ -_`[:8\u0662";
  std::uniform_int_distribution<size_t> length(0, 7);
  std::uniform_int_distribution<size_t> pick(0, std::size(kAlphabet) - 2);
  std::u16string name;
  for (size_t n = length(random); n > 0; --n) name.push_back(kAlphabet[pick(random)]);
  return name;
}

template <typename Compare>
void ExpectStrictWeakOrder(const std::vector<std::u16string>& names, Compare compare,
                           const char* what) {
  const size_t n = names.size();
  std::vector<int> table(n * n);
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = 0; j < n; ++j) table[i * n + j] = Sign(compare(names[i], names[j]));
  }
  for (size_t i = 0; i < n; ++i) {
    ASSERT_EQ(table[i * n + i], 0) << what << ": " << Utf16ToUtf8(names[i]);
    for (size_t j = 0; j < n; ++j) {
      ASSERT_EQ(table[i * n + j], -table[j * n + i])
          << what << ": " << Utf16ToUtf8(names[i]) << " vs " << Utf16ToUtf8(names[j]);
      for (size_t k = 0; k < n; ++k) {
        if (table[i * n + j] <= 0 && table[j * n + k] <= 0) {
          ASSERT_LE(table[i * n + k], 0) << what << ": " << Utf16ToUtf8(names[i]) << " <= "
                                         << Utf16ToUtf8(names[j]) << " <= " << Utf16ToUtf8(names[k]);
          if (table[i * n + j] < 0 || table[j * n + k] < 0) {
            ASSERT_LT(table[i * n + k], 0);
          }
        }
      }
    }
  }
}

TEST(SortOrderLawsTest, RandomNamesAreOrderedConsistently) {
  std::mt19937 random(20240506);
  std::vector<std::u16string> names;
  for (int i = 0; i < 160; ++i) names.push_back(RandomName(random));
  ExpectStrictWeakOrder(names, NaturalCompare, "NaturalCompare");
  ExpectStrictWeakOrder(names, CompareCaptions, "CompareCaptions");
  ExpectStrictWeakOrder(names, CompareDateTexts, "CompareDateTexts");
  ExpectStrictWeakOrder(
      names,
      [](std::u16string_view a, std::u16string_view b) {
        const double x = NumericSortValue(a);
        const double y = NumericSortValue(b);
        return (x > y) - (x < y);
      },
      "NumericSortValue");
}

TEST(SortOrderLawsTest, PrefixesAgreeWithTheFullComparison) {
  std::mt19937 random(99);
  std::vector<std::u16string> names;
  for (int i = 0; i < 300; ++i) {
    std::u16string name = RandomName(random);
    if (i % 2 == 0) name = u"IMG_2013" + name + RandomName(random) + RandomName(random);
    names.push_back(name);
  }
  int decidedByPrefix = 0;
  for (size_t i = 0; i + 1 < names.size(); i += 2) {
    for (size_t j = 0; j + 1 < names.size(); j += 2) {
      const std::u16string_view a1 = names[i], a2 = names[i + 1];
      const std::u16string_view b1 = names[j], b2 = names[j + 1];
      int full = NaturalCompare(a1, b1);
      if (full == 0) full = NaturalCompare(a2, b2);
      bool decided = false;
      const int byPrefix =
          CompareNaturalPrefixes(NaturalSortPrefix({a1, a2}), NaturalSortPrefix({b1, b2}), decided);
      if (!decided) continue;
      ++decidedByPrefix;
      ASSERT_EQ(Sign(byPrefix), Sign(full)) << Utf16ToUtf8(names[i]) << "|" << Utf16ToUtf8(names[i + 1])
                                            << " vs " << Utf16ToUtf8(names[j]) << "|"
                                            << Utf16ToUtf8(names[j + 1]);
    }
  }
  EXPECT_GT(decidedByPrefix, 10000) << "most pairs need no full comparison";
}

TEST_F(TSortFileListTest, LargeRandomListEndsSortedWithTiesInListingOrder) {
  std::mt19937 random(7);
  for (int i = 0; i < 5000; ++i) {
    // Every fifth name is an earlier one again: a tie, kept in listing order.
    Add(i % 5 == 4 ? rows[random() % rows.size()]->caption : RandomName(random), i % 7 == 0);
  }
  for (const bool descending : {false, true}) {
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a->data < b->data; });
    SortFileList(rows, tags, {TSortKind::Name, 0, descending});
    ASSERT_EQ(rows.size(), 5000u);
    for (size_t i = 1; i < rows.size(); ++i) {
      const bool folderA = tags[static_cast<size_t>(rows[i - 1]->data)].IsFolder;
      const bool folderB = tags[static_cast<size_t>(rows[i]->data)].IsFolder;
      ASSERT_GE(folderA, folderB) << i;
      if (folderA != folderB) continue;
      const int order = CompareCaptions(rows[i - 1]->caption, rows[i]->caption);
      ASSERT_TRUE(descending ? order >= 0 : order <= 0) << i;
      if (order == 0) {
        ASSERT_LT(rows[i - 1]->data, rows[i]->data) << i;
      }
    }
  }
}

}  // namespace
