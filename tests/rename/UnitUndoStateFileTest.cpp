#include "rename/UnitUndoStateFile.h"

#include <gtest/gtest.h>

#include <random>

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

// A random file name component: any bytes but "/" and NUL, weighted towards
// what could upset the line format or the escapes: quotes, blanks, line ends,
// bytes that are not UTF-8, and characters beyond the BMP whose second code
// unit is U+DC0A, U+DC0D or U+DC22.
std::string RandomComponent(std::mt19937& rng) {
  static const std::vector<std::string> pieces = {
      "\"", " ", "\r", "\n", "\" \"", "a", "Z", ".", "\\",
      "\xF0\x9F\x90\x8A",  // U+1F40A: D83D DC0A
      "\xF0\x90\x80\xA2",  // U+10022: D800 DC22
      "\xF0\x90\x80\x8D",  // U+1000D: D800 DC0D
      "\xED\xB0\xA2",      // the bytes of a lone U+DC22: not UTF-8
      "\xEF\xBB\xBF", "\xC3\xA9"};
  std::uniform_int_distribution<int> length(1, 8), kind(0, 2), byte(1, 255);
  std::uniform_int_distribution<size_t> piece(0, pieces.size() - 1);
  std::string out;
  for (int n = length(rng); n > 0; --n) {
    if (kind(rng) == 0) {
      const char b = static_cast<char>(byte(rng));
      if (b != '/') out.push_back(b);
    } else {
      out += pieces[piece(rng)];
    }
  }
  return out.empty() ? "x" : out;
}

TEST(TUndoStateFileTest, EveryByteStringAFileNameCanHoldReadsBackExactly) {
  std::mt19937 rng(20240307);
  std::uniform_int_distribution<int> count(1, 4);
  for (int round = 0; round < 3000; ++round) {
    std::vector<TRenamePair> pairs;
    for (int n = count(rng); n > 0; --n) {
      std::string oldPath;
      for (int depth = count(rng); depth > 0; --depth) oldPath += "/" + RandomComponent(rng);
      const std::string newPath = oldPath.substr(0, oldPath.rfind('/') + 1) + RandomComponent(rng);
      pairs.push_back({Utf8ToUtf16(oldPath), Utf8ToUtf16(newPath)});
    }
    const std::vector<TRenamePair> read = DecodeUndoState(EncodeUndoState(pairs));
    // A run's batch, encoded one pair at a time, is the same two files.
    const TEncodedBatch batch = EncodeBatch(pairs, {u"/made"});
    ASSERT_EQ(batch.state, EncodeUndoState(pairs)) << "round " << round;
    ASSERT_EQ(batch.extra, EncodeUndoExtra(pairs, {u"/made"})) << "round " << round;
    ASSERT_EQ(read.size(), pairs.size()) << "round " << round;
    for (size_t i = 0; i < pairs.size(); ++i) {
      ASSERT_EQ(read[i].oldName, pairs[i].oldName) << "round " << round;
      ASSERT_EQ(read[i].newName, pairs[i].newName) << "round " << round;
    }
  }
}

// Text that no name decodes to (a lone U+DC22, a lone high surrogate) still
// reads back naming the same bytes.
TEST(TUndoStateFileTest, APathNotInDecodedFormNamesTheSameBytes) {
  for (const std::u16string& path :
       {std::u16string(u"/d/q\xDC22\"x"), std::u16string(u"/d/\xD800\"")}) {
    const std::vector<TRenamePair> read = DecodeUndoState(EncodeUndoState({{path, path}}));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(Utf16ToUtf8(read[0].oldName), Utf16ToUtf8(path));
  }
}

// A line is read only when it is exactly a quoted full path, a blank and a
// quoted full path; every other line is reported by its number and skipped.
TEST(TUndoStateFileTest, ReadsLooseFilesAndSkipsBrokenLines) {
  const std::u16string nul(1, u'\0');
  const std::string bytes = Utf16Le(u"\"/a\" \"/b\"\n"  // no byte-order mark, LF alone
                                    u"garbage line\r\n"
                                    u"\"/only\" \"three\r\n"
                                    u"\"\" \"/empty-old\"\r\n"
                                    u"  \"/c\"   \"/d\"  trailing\r\n"
                                    u"\r\n"  // an empty line is no move and no fault
                                    u"\"/g\" \"/h\"\"/i\" \"/j\"\r\n"  // two lines run together
                                    u"\"relative\" \"/k\"\r\n"
                                    u"\"/l" + nul + u"\" \"/m\"\r\n"
                                    u"\"/e\" \"/f\"") +  // no line end at the end
                            "\x41";                        // an odd byte left over
  const TUndoState read = ReadUndoState(bytes);
  ASSERT_EQ(read.pairs.size(), 2u);
  EXPECT_EQ(read.pairs[0].oldName, u"/a");
  EXPECT_EQ(read.pairs[1].newName, u"/f");
  std::vector<int> lines;
  for (const TUndoStateLine& line : read.unreadable) lines.push_back(line.number);
  EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 5, 7, 8, 9}));
  EXPECT_EQ(read.unreadable[0].text, u"garbage line");
  EXPECT_TRUE(DecodeUndoState("").empty());
  EXPECT_TRUE(DecodeUndoState("\xFF").empty());
  // Unreadable lines written back read back as the same lines.
  const TUndoState again = ReadUndoState(EncodeUndoState(read.pairs, read.unreadable));
  EXPECT_EQ(again.pairs.size(), 2u);
  ASSERT_EQ(again.unreadable.size(), read.unreadable.size());
  for (size_t i = 0; i < read.unreadable.size(); ++i)
    EXPECT_EQ(again.unreadable[i].text, read.unreadable[i].text);
}

// A state file cut short anywhere yields a first part of its pairs; one with
// a byte changed anywhere yields its pairs but the one of the changed line,
// which is reported or, where the change keeps the line's form, read as the
// changed pair. Nothing else is ever read from it.
TEST(TUndoStateFileTest, ATruncatedOrGarbledFileYieldsOnlyItsIntactLines) {
  std::vector<TRenamePair> pairs;
  for (int i = 0; i < 12; ++i) {
    pairs.push_back({u"/d/f" + IntToStr(i) + u" \"x\"", u"/d/\U0001F40A" + IntToStr(i)});
  }
  const std::string bytes = EncodeUndoState(pairs);
  const auto same = [](const TRenamePair& a, const TRenamePair& b) {
    return a.oldName == b.oldName && a.newName == b.newName;
  };
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    const TUndoState read = ReadUndoState(std::string_view(bytes).substr(0, cut));
    ASSERT_LE(read.pairs.size(), pairs.size());
    for (size_t i = 0; i < read.pairs.size(); ++i) ASSERT_TRUE(same(read.pairs[i], pairs[i])) << cut;
    ASSERT_LE(read.unreadable.size(), 1u) << cut;
  }
  std::mt19937 rng(7);
  std::uniform_int_distribution<size_t> where(0, bytes.size() - 1);
  std::uniform_int_distribution<int> value(0, 255);
  for (int round = 0; round < 2000; ++round) {
    std::string garbled = bytes;
    garbled[where(rng)] = static_cast<char>(value(rng));
    const TUndoState read = ReadUndoState(garbled);
    size_t strangers = 0;
    for (const TRenamePair& pair : read.pairs) {
      bool known = false;
      for (const TRenamePair& original : pairs) known = known || same(pair, original);
      if (!known) ++strangers;
    }
    ASSERT_LE(strangers, 1u) << round;
    ASSERT_LE(read.unreadable.size(), 2u) << round;
    ASSERT_GE(read.pairs.size() + read.unreadable.size(), pairs.size() - 1) << round;
  }
}

}  // namespace
