#include "cli/UnitManualTables.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "cli/UnitVariablesCommand.h"
#include "matching/UnitVariableCatalogue.h"
#include "metadata/UnitExifTags.h"
#include "metadata/UnitFileTags.h"
#include "metadata/UnitMp3Reader.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"

namespace {

std::string ReadPage() {
  std::ifstream in(TALLOWICK_TEST_DATA "/../../docs/tallowick-script.5", std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The committed page holds every generated table exactly as the code makes
// it; scripts/make-script-manual.sh brings it up to date.
TEST(TScriptManualTest, CommittedPageHoldsTheTablesOfTheCode) {
  const std::string page = ReadPage();
  ASSERT_FALSE(page.empty());
  for (const TManualTable& table : ManualTables()) {
    const std::string begin = Utf16ToUtf8(ManualBeginMarker(table.name)) + "\n";
    const std::string end = Utf16ToUtf8(ManualEndMarker(table.name)) + "\n";
    const size_t from = page.find(begin);
    ASSERT_NE(from, std::string::npos) << Utf16ToUtf8(table.name);
    const size_t to = page.find(end, from);
    ASSERT_NE(to, std::string::npos) << Utf16ToUtf8(table.name);
    EXPECT_EQ(page.substr(from + begin.size(), to - from - begin.size()), Utf16ToUtf8(table.roff))
        << "docs/tallowick-script.5 is out of date: run scripts/make-script-manual.sh";
  }
}

// The catalogue lists every simple variable once, the MP3 and JPEG names the
// readers know (all MP3 members), and the whole EXIF table.
TEST(TVariableCatalogueListTest, CoversTheDeclarationsOfTheReaders) {
  std::multiset<std::u16string> listed;
  for (const TVariableRow& row : VariableCatalogue()) listed.insert(LowerCase(row.variable));
  for (int i = 0; i < svText1; ++i) EXPECT_EQ(listed.count(SimpleVariableName(i)), 1u) << i;
  for (const TExifTag& tag : ExifTagTable()) {
    EXPECT_EQ(listed.count(u"?" + LowerCase(tag.code) + u"?"), 1u) << Utf16ToUtf8(tag.code);
  }
  TFakeFileSystem fs;
  TFileTagReader reader(fs);
  std::set<int> mp3Members;
  for (const TVariableRow& row : VariableCatalogue()) {
    const std::u16string inner = row.variable.substr(1, row.variable.size() - 2);
    if (row.family == u"MP3 tags" || row.family == u"MP3 stream") {
      const auto member = Mp3Code(inner);
      ASSERT_TRUE(member.has_value()) << Utf16ToUtf8(row.variable);
      mp3Members.insert(static_cast<int>(*member));
    }
    if (row.family == u"JPEG") {
      EXPECT_NE(reader.Lookup(TTagFamily::Jfif, TTagList(), LowerCase(row.variable)), u":ERROR:")
          << Utf16ToUtf8(row.variable);
    }
    EXPECT_FALSE(row.caption.empty()) << Utf16ToUtf8(row.variable);
  }
  EXPECT_EQ(mp3Members.size(), static_cast<size_t>(MP3_Enum::M_C) + 1);
  // Families come in the declared order, each in one run.
  std::vector<std::u16string_view> seen;
  for (const TVariableRow& row : VariableCatalogue()) {
    if (seen.empty() || seen.back() != row.family) seen.push_back(row.family);
  }
  EXPECT_EQ(seen, VariableFamilies());
}

}  // namespace
