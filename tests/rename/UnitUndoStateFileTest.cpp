#include "rename/UnitUndoStateFile.h"

#include <gtest/gtest.h>

#include "platform/UnitText.h"

namespace {

// The bytes of `text` as UTF-16LE.
std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

TEST(TUndoStateFileTest, WritesQuotedPairsAsUtf16LeLinesWithByteOrderMark) {
  const std::vector<TRenamePair> pairs = {{u"/d/a.txt", u"/d/b.txt"}, {u"/d/\u00e9", u"/d/x"}};
  EXPECT_EQ(EncodeUndoState(pairs),
            "\xFF\xFE" + Utf16Le(u"\"/d/a.txt\" \"/d/b.txt\"\r\n\"/d/\u00e9\" \"/d/x\"\r\n"));
  EXPECT_EQ(EncodeUndoState({}), "\xFF\xFE");
}

TEST(TUndoStateFileTest, EveryPathReadsBackExactly) {
  const std::vector<std::string> names = {
      "/d/plain.txt",  "/d/say \"hi\".txt",        "/d/\" \"", "/d/two\r\nlines", "/d/lf\nonly",
      "/d/caf\xE9",    "/d/\xED\xB0\xA2",  // a lone surrogate's three bytes: not UTF-8
      "/d/'quote' $x", "/d/\xF0\x9F\x98\x80 emoji"};
  std::vector<TRenamePair> pairs;
  for (const std::string& name : names) {
    pairs.push_back({Utf8ToUtf16(name), Utf8ToUtf16(name + ".new")});
  }
  const std::vector<TRenamePair> read = DecodeUndoState(EncodeUndoState(pairs));
  ASSERT_EQ(read.size(), pairs.size());
  for (size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_EQ(Utf16ToUtf8(read[i].oldName), names[i]) << names[i];
    EXPECT_EQ(Utf16ToUtf8(read[i].newName), names[i] + ".new") << names[i];
  }
}

TEST(TUndoStateFileTest, ReadsLooseFilesAndSkipsBrokenLines) {
  const std::string bytes = Utf16Le(
                                u"\"/a\" \"/b\"\n"  // no byte-order mark, LF alone
                                u"garbage line\r\n"
                                u"\"/only\" \"three\r\n"
                                u"\"\" \"/empty-old\"\r\n"
                                u"  \"/c\"   \"/d\"  trailing\r\n"
                                u"\"/e\" \"/f\"") +  // no line end at the end
                            "\x41";                  // an odd byte left over
  const std::vector<TRenamePair> read = DecodeUndoState(bytes);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].oldName, u"/a");
  EXPECT_EQ(read[1].newName, u"/d");
  EXPECT_EQ(read[2].oldName, u"/e");
  EXPECT_TRUE(DecodeUndoState("").empty());
  EXPECT_TRUE(DecodeUndoState("\xFF").empty());
}

}  // namespace
