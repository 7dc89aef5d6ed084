#include "rename/UnitRenameJournal.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitRenameRunFixture.h"

namespace {

const std::u16string kTemp = u".TW_TEMPNAME";

// A journal of moves old -> new in /f, each entry's identity taken now.
TJournal JournalOf(TFakeFileSystem& fs, const std::vector<std::pair<std::u16string, std::u16string>>& moves) {
  TJournal journal;
  journal.kind = u"rename";
  for (const auto& [from, to] : moves) {
    journal.entries.push_back({u"/f/" + from, {u"/f/" + to + kTemp, u"/f/" + to},
                               IdentityOf(fs, u"/f/" + from)});
  }
  return journal;
}

TEST(TRenameJournalTest, RecoveryPutsEveryEntryBackWhereverTheRunStopped) {
  // A swap, a chain and a move into a sub-folder, stopped after each move.
  const std::vector<std::pair<std::u16string, std::u16string>> moves = {
      {u"a", u"b"}, {u"b", u"a"}, {u"c", u"d"}, {u"d", u"e"}, {u"g", u"sub/g"}};
  const size_t count = moves.size();
  for (size_t done = 0; done <= 2 * count; ++done) {
    TFakeFileSystem fs;
    fs.AddFolder(u"/f");
    for (const auto& [from, to] : moves) fs.AddFile(u"/f/" + from, Utf16ToUtf8(from));
    const auto before = Snapshot(fs, u"/f");
    const TJournal journal = JournalOf(fs, moves);
    // The run: phase 1 then phase 2, cut after `done` moves.
    (void)fs.CreateFolderPath(u"/f/sub");
    for (size_t i = 0; i < done; ++i) {
      const auto& [from, to] = moves[i % count];
      const std::u16string source = i < count ? u"/f/" + from : u"/f/" + to + kTemp;
      const std::u16string target = i < count ? u"/f/" + to + kTemp : u"/f/" + to;
      ASSERT_TRUE(fs.RenameNoReplace(source, target).ok()) << done;
    }
    const TRecoveryReport report = RecoverJournal(fs, journal);
    EXPECT_TRUE(report.complete) << done;
    auto after = Snapshot(fs, u"/f");
    after.erase(u"/f/sub/");
    EXPECT_EQ(after, before) << "cut after " << done << " moves";
    // A second recovery finds everything home and moves nothing.
    EXPECT_TRUE(RecoverJournal(fs, journal).moved.empty()) << done;
  }
}

TEST(TRenameJournalTest, RecoveryNeverGuessesNorReplaces) {
  TFakeFileSystem fs;
  fs.AddFolder(u"/f");
  fs.AddFile(u"/f/a", "a");
  fs.AddFile(u"/f/b", "b");
  const TJournal journal = JournalOf(fs, {{u"a", u"x"}, {u"b", u"y"}});
  ASSERT_TRUE(fs.RenameNoReplace(u"/f/a", u"/f/x").ok());
  fs.AddFile(u"/f/a", "someone else's");  // the old name was taken meanwhile
  ASSERT_TRUE(fs.DeleteFile(u"/f/b").ok());
  fs.AddFile(u"/f/y", "not the entry");  // a stranger under the new name
  const TRecoveryReport report = RecoverJournal(fs, journal);
  EXPECT_FALSE(report.complete);
  ASSERT_EQ(report.problems.size(), 2u);
  EXPECT_EQ(report.problems[0], u"/f/b: found under none of its names; not moved");
  EXPECT_EQ(report.problems[1], u"/f/a: File exists; left under /f/x");
  EXPECT_EQ(*fs.FileBytes(u"/f/a"), "someone else's");
  EXPECT_EQ(*fs.FileBytes(u"/f/x"), "a");
  EXPECT_EQ(*fs.FileBytes(u"/f/y"), "not the entry");
}

TEST(TRenameJournalTest, EncodingKeepsEveryNameAndRefusesACutJournal) {
  std::mt19937 random(7);
  TJournal journal;
  journal.kind = u"undo";
  journal.stateFile = u"/app/undo/0000.txt";
  const auto randomName = [&random] {
    std::string bytes = "/f/";
    const int length = std::uniform_int_distribution<int>(1, 12)(random);
    for (int k = 0; k < length; ++k) {
      char c = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random));
      bytes += c == '/' ? 'x' : c;
    }
    return Utf8ToUtf16(bytes);
  };
  for (int i = 0; i < 200; ++i) {
    // Places that begin with the home or an earlier place, with and without
    // the temporary suffix, and with text that looks like a reference.
    const std::u16string name = randomName();
    const std::u16string other = randomName();
    journal.entries.push_back(
        {name,
         {name + kTemp, other, other + kTemp + u"\\~" + kTemp, name + u"\t\n\\", name + u"\\0"},
         {static_cast<uint64_t>(i), static_cast<uint64_t>(i) * 977 + 1}});
  }
  journal.folders = {u"/f/new\tfolder"};
  // Names kept relative to a base are read back whole.
  TJournal relative = journal;
  relative.base = u"/f/";
  const auto strip = [](std::u16string& name) { name.erase(0, 3); };
  for (TJournalEntry& entry : relative.entries) {
    strip(entry.home);
    for (std::u16string& place : entry.places) strip(place);
  }
  strip(relative.folders[0]);
  const std::string encoded = EncodeJournal(relative);
  EXPECT_LT(encoded.size(), EncodeJournal(journal).size());
  TJournal back;
  std::u16string problem;
  ASSERT_TRUE(DecodeJournal(encoded, back, problem)) << Utf16ToUtf8(problem);
  EXPECT_EQ(back.kind, journal.kind);
  EXPECT_EQ(back.stateFile, journal.stateFile);
  ASSERT_EQ(back.entries.size(), journal.entries.size());
  for (size_t i = 0; i < back.entries.size(); ++i) {
    EXPECT_EQ(Utf16ToUtf8(back.entries[i].home), Utf16ToUtf8(journal.entries[i].home)) << i;
    EXPECT_EQ(back.entries[i].places, journal.entries[i].places) << i;
    EXPECT_EQ(back.entries[i].id, journal.entries[i].id) << i;
  }
  EXPECT_EQ(back.folders, journal.folders);
  for (size_t cut = 0; cut < encoded.size(); cut += 97) {
    EXPECT_FALSE(DecodeJournal(encoded.substr(0, cut), back, problem)) << cut;
  }
}

TEST(TRenameJournalTest, ReadsTheWholeNamesOfTheFirstVersionAndRefusesAMisplacedBase) {
  TJournal back;
  std::u16string problem;
  ASSERT_TRUE(DecodeJournal("tallowick journal 1\nkind\trename\nstate\t/app/undo/0000.txt\n"
                            "entry\t1\t2\t/f/a\t/f/b.TW_TEMPNAME\t/f/b\nfolder\t/f/new\nend\n",
                            back, problem))
      << Utf16ToUtf8(problem);
  ASSERT_EQ(back.entries.size(), 1u);
  EXPECT_EQ(back.entries[0].home, u"/f/a");
  EXPECT_EQ(back.entries[0].places, (std::vector<std::u16string>{u"/f/b.TW_TEMPNAME", u"/f/b"}));
  EXPECT_EQ(back.folders, std::vector<std::u16string>{u"/f/new"});
  // A base after the first name, a second base, or one in the first version
  // would leave names read before it with another meaning: a damaged file.
  for (const char* text :
       {"tallowick journal 2\nkind\trename\nstate\t\nentry\t1\t2\ta\tb\nbase\t/f/\nend\n",
        "tallowick journal 2\nkind\trename\nstate\t\nbase\t/f/\nbase\t/g/\nend\n",
        "tallowick journal 1\nkind\trename\nstate\t\nbase\t/f/\nentry\t1\t2\ta\tb\nend\n"}) {
    EXPECT_FALSE(DecodeJournal(text, back, problem)) << text;
  }
}

}  // namespace
