#include "matching/UnitMetaVariables.h"

#include <gtest/gtest.h>

#include <random>

#include "metadata/UnitFileTags.h"

#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"

namespace {

std::string Show(const std::u16string& s) { return Utf16ToUtf8(s); }

TDateTime Date(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
  TDateTime value = 0;
  EXPECT_TRUE(TryEncodeDateTime(y, m, d, h, n, s, 0, value));
  return value;
}

class TMetaVariablesTest : public ::testing::Test {
 protected:
  TMetaVariablesTest() : vars(fs, clock, env, tags) {
    clock.Set(Date(2026, 12, 8, 22, 15, 30));
    rec = Entry(u"/home/ann/Pictures/holiday/", u"photo.2013.jpg");
  }

  static RenameRecord Entry(std::u16string_view folder, std::u16string_view caption) {
    RenameRecord r;
    FillRenameRecordNames(r, folder, caption, false, u"", u"2013-08-14 09:05:03");
    r.listposition = 4;
    r.listtotal = 10;
    r.selectedposition = 3;
    r.selectedtotal = 7;
    r.foldertotal = 9;
    r.filesize = u"1,234,567";
    return r;
  }

  std::u16string Expand(std::u16string_view text) {
    TExpansion e = vars.Expand(text, rec);
    EXPECT_TRUE(e.status.ok()) << Show(e.status.Message());
    return e.text;
  }

  TFakeFileSystem fs;
  TFixedClock clock;
  TMapEnvironment env;
  TFakeTagReader tags;
  TMetaVariables vars;
  RenameRecord rec;
};

struct Case {
  std::u16string text;
  std::u16string expected;
};

TEST_F(TMetaVariablesTest, SimpleVariables) {
  const Case cases[] = {
      {u"?cf?", u"holiday"},
      {u"?CF?", u"holiday"},
      {u"?pf?", u"Pictures"},
      {u"?cfn?", u"photo.2013.jpg"},
      {u"?cfo?", u"photo.2013"},
      {u"?t?", u"jpg"},
      {u"?c?/?sc?/?fc?", u"10/7/9"},
      {u"?cds?", u"2026-12-08"},
      {u"?cdm?", u"08-Dec-2026"},
      {u"?cdl?", u"Tuesday, December 8, 2026"},
      {u"?cds:Fyyyy?", u"2026"},
      {u"?cds:CP21Fyyyy-mm-dd?", u"2026-12-09"},
      {u"?cds:CM41Fyyyy?", u"2025"},
      {u"?cds:CM40Fyyyy?", u"2026"},
      {u"?cdl:Fdd.mm?", u"08.12"},
      {u"?ds?", u"2013-08-14"},
      {u"?dm?", u"14-Aug-2013"},
      {u"?ds:Fhh-mm-ss?", u"09-05-03"},
      {u"?zc?", u"1,234,567"},
      {u"?zkn?", u"1205"},
      {u"?zk2d?", u"1205.63"},
      {u"?zkc?", u"1,205"},
      {u"?zmn?|?zm2d?|?zgn?|?zg2d?", u"1?1.18?0?0.00"},
      {u"?zn?", u"1234567"},
      {u"?temp?", u""},
      {u"?text1?", u""},
  };
  vars.SetKeepEmptyVariables(false);
  for (const auto& c : cases) EXPECT_EQ(Show(Expand(c.text)), Show(c.expected)) << Show(c.text);
}

TEST_F(TMetaVariablesTest, TimesGetTheColonReplacement) {
  EXPECT_EQ(Expand(u"?ds:Fhh:nn?"), u"09;05");
  EXPECT_EQ(Expand(u"?cds:Fhh:nn?"), u"00;00");  // the short date holds no time
  EXPECT_EQ(Expand(u"?dmo?"), u"?dmo?");  // no packed date: empty, so kept
  rec.Modified = (((2013 - 1980) << 9 | 8 << 5 | 14) << 16) | (9 << 11 | 5 << 5 | 1);
  EXPECT_EQ(Expand(u"?dmo?"), u"2013-08-14 09;05;02");
}

TEST_F(TMetaVariablesTest, CounterFollowsTheCountingOptions) {
  EXPECT_EQ(Expand(u"?n00?-?n03?"), u"3-003");
  vars.SetCounterStart(5);
  vars.SetCounterStep(10);
  EXPECT_EQ(Expand(u"?n00? ?n03? ?N02?"), u"25 025 25");
  EXPECT_EQ(Expand(u"?n02:L05?"), u"00025");
  EXPECT_EQ(Expand(u"?n13?"), u"0000000000025");
  vars.SetCounterUsesListPosition(true);
  EXPECT_EQ(Expand(u"?n02?"), u"04");
  vars.SetCounterUsesListPosition(false);
  vars.SetCounterStart(-100);
  EXPECT_EQ(Expand(u"?n00?"), u"0");  // below zero gives 0
  vars.SetCounterStart(2147483000);
  vars.SetCounterStep(1000);
  EXPECT_EQ(Expand(u"?n00?"), u"0");  // overflow gives 0
}

TEST_F(TMetaVariablesTest, UnknownPairStopsTheSimplePass) {
  EXPECT_EQ(Expand(u"x?y"), u"x?y");
  EXPECT_EQ(Expand(u"a?b?c"), u"a?b?c");
  EXPECT_EQ(Expand(u"a?b? ?n00?"), u"a?b? ?n00?");
  EXPECT_EQ(Expand(u"?n00? ?cf ? ?sc?"), u"3 ?cf ? ?sc?");
  EXPECT_EQ(Expand(u"no variables"), u"no variables");
}

TEST_F(TMetaVariablesTest, EmptyVariablesAreKeptOrRemoved) {
  EXPECT_EQ(Expand(u"?temp?-?text2?"), u"?temp?-?text2?");
  vars.SetKeepEmptyVariables(false);
  EXPECT_EQ(Expand(u"?temp?-?text2?"), u"-");
  vars.SetTempText(u"kept:text");
  vars.SetTextField(1, u"field two");
  EXPECT_EQ(Expand(u"?temp?-?text2?"), u"kept;text-field two");
}

TEST_F(TMetaVariablesTest, PipeTurnsIntoQuestionMarkWhenTheTextHasOne) {
  EXPECT_EQ(Expand(u"a|b ?n00?"), u"a?b 3");
  EXPECT_EQ(Expand(u"a|b"), u"a|b");
}

TEST_F(TMetaVariablesTest, ReservedCharactersInValuesOnly) {
  vars.SetTempText(u"a\\b/c<d>e\"f?g:h|i*j.k");
  EXPECT_EQ(Expand(u"<?temp?>"), u"<a-b{c]d[e'f#g;h!i+j.k>");
  vars.SetReplacement(u'.', u'_');
  EXPECT_EQ(Expand(u"?temp:S19.21?"), u"j_k");
  vars.SetRawOnce(true);
  EXPECT_EQ(Expand(u"?temp?"), u"a\\b/c<d>e\"f?g:h?i*j.k");  // "|" restored as "?" at the end
  // RawOnce lasts one expansion only.
  EXPECT_EQ(Expand(u"?temp:S19.21?"), u"j_k");
}

TEST_F(TMetaVariablesTest, ValueThatRepeatsItsVariableEnds) {
  vars.SetTempText(u"?temp?");
  vars.SetReplacement(u'?', u'?');
  EXPECT_EQ(Expand(u"?temp?"), u"?temp?");
}

TEST_F(TMetaVariablesTest, EnvironmentPieces) {
  env.values[u"HOME"] = u" /home/ann ";
  EXPECT_EQ(Expand(u"%HOME%"), u"{home{ann");
  EXPECT_EQ(Expand(u"%home% and %NOPE% and 100%"), u"%home% and %NOPE% and 100%");
  EXPECT_EQ(Expand(u"%HOME%-%home%-?n00?"), u"{home{ann-{home{ann-3");
  env.values[u"LONG"] = std::u16string(300, u'x');
  EXPECT_EQ(Expand(u"%LONG%"), u"%LONG%");
  vars.SetExpandEnvironment(false);
  EXPECT_EQ(Expand(u"%HOME%"), u"%HOME%");
}

TEST_F(TMetaVariablesTest, FileContents) {
  fs.AddFile(rec.FullName, "ABCDEF");
  EXPECT_EQ(Expand(u"?fcp_1.4?"), u"ABCD");
  EXPECT_EQ(Expand(u"?fcp_5.4?"), u":ERROR:");
  EXPECT_EQ(Expand(u"?fcp_5.7?"), u":ERROR:");
  EXPECT_EQ(Expand(u"?fcp_6.6?"), u"F");
  EXPECT_EQ(Expand(u"?FCP_x.y?"), u"AB");  // unreadable positions: 1 and 2
  EXPECT_EQ(Expand(u"?fcp_2.3:L_4? ?fc?"), u"__BC 9");
  EXPECT_EQ(Expand(u"?fcp_-3.2? ?fcp_1.99999999999?"), u":ERROR: :ERROR:");
  // Positions near the largest number are refused, never multiplied out.
  EXPECT_EQ(Expand(u"?fcu_6148914691236517202.9223372036854775807? ?fcu_1.9223372036854775807?"),
            u":ERROR: :ERROR:");
  fs.AddFile(rec.FullName, std::string("\xFF\xFEh\0i\0:\0", 8));
  EXPECT_EQ(Expand(u"?fcp_2.3?"), u"hi");  // a first byte 0xFF reads UTF-16
  EXPECT_EQ(Expand(u"?fcu_2.4?"), u"hi;");
  rec.FullName = u"/missing";
  EXPECT_EQ(Expand(u"?fcp_1.2?"), u":ERROR:");
}

TEST_F(TMetaVariablesTest, Mp3PassOnlyForMp3Files) {
  tags.mp3[u"?i_ar?"] = u"AC/DC";
  tags.mp3[u"?i_tr?"] = u"7";
  tags.mp3[u"?i_ti?"] = u"";
  EXPECT_EQ(Expand(u"?I_AR? ?n02?"), u"?I_AR? ?n02?");  // not an mp3: stops the simple pass
  EXPECT_EQ(tags.reads, 0);
  rec = Entry(u"/m/", u"song.MP3");
  EXPECT_EQ(Expand(u"?I_AR? ?n02?"), u"AC{DC 03");
  EXPECT_FALSE(tags.lastWithStream);
  EXPECT_EQ(Expand(u"?i_tr?-?i_tr:L_4?"), u"07-__07");
  EXPECT_EQ(Expand(u"?I_TI? ?n02?"), u"?I_TI? ?n02?");  // kept, and it stops the simple pass
  EXPECT_EQ(Expand(u"?i_zz?"), u":ERROR:");
  tags.mp3[u"?m_b?"] = u"128";
  EXPECT_EQ(Expand(u"?m_b?k"), u"128k");
  EXPECT_TRUE(tags.lastWithStream);
  vars.SetKeepEmptyVariables(false);
  EXPECT_EQ(Expand(u"[?I_TI?] ?n02?"), u"[] 03");
}

TEST_F(TMetaVariablesTest, JpegPassesRunInOrderAndReadOnce) {
  rec = Entry(u"/p/", u"img.JPEG");
  tags.jfif[u"?j_w?"] = u"640";
  tags.exif[u"?x_dto?"] = u"2013-08-14 09:05:03";
  tags.exif[u"?x_dt?"] = u"";
  tags.xmp[u"?xmp_dc_title?"] = u"Sea/Sky";
  EXPECT_EQ(Expand(u"?j_w?-?x_dto:Fyyyymmdd?-?xmp_dc_title? ?x_dt?"), u"640-20130814-Sea{Sky ?x_dt?");
  EXPECT_EQ(tags.reads, 1);
  EXPECT_EQ(Expand(u"?x_dto?"), u"2013-08-14 09;05;03");
  EXPECT_EQ(Expand(u"?xmp_dc_creator? ?n00?"), u"?xmp_dc_creator? ?n00?");
}

TEST_F(TMetaVariablesTest, VideoKeptVariablesStayHiddenFromTheSimplePass) {
  rec = Entry(u"/v/", u"clip.mp4");
  tags.video[u"?v_len?"] = u"00:01:05";
  EXPECT_EQ(Expand(u"?v_len? ?v_qt_nam? ?n00?"), u"00;01;05 ?v_qt_nam? 3");
}

TEST_F(TMetaVariablesTest, ReaderErrorEndsTheExpansion) {
  rec = Entry(u"/m/", u"song.mp3");
  tags.failOpen = true;
  TExpansion e = vars.Expand(u"?i_ar? ?n00?", rec);
  EXPECT_FALSE(e.status.ok());
  EXPECT_EQ(e.status.file(), u"/m/song.mp3");
  EXPECT_EQ(e.text, u"?i_ar? ?n00?");
}

TEST_F(TMetaVariablesTest, SizesWithoutANumberAreEmpty) {
  rec.filesize = u"";
  vars.SetKeepEmptyVariables(false);
  EXPECT_EQ(Expand(u"[?zn?][?zc?][?zk2d?]"), u"[][][]");
  rec.filesize = u"12.5";
  EXPECT_EQ(Expand(u"[?zn?]"), u"[]");
}

}  // namespace

namespace {

// Random texts built from variable fragments, format letters and random code
// units, expanded for files whose bytes are random, through the real readers.
TEST(TMetaVariablesRandomTest, RandomTextsAndFilesNeverFail) {
  std::mt19937 rng(2026);
  const std::u16string fragments[] = {
      u"?",      u"?n02?",  u"?cds:",   u"?x_dto",  u"?xmp_",   u"?j_w?", u"?i_ar?", u"?m_b?",
      u"?v_len", u"?fcp_",  u"?fcu_1.", u"%HOME%",  u"%",       u":",     u"|",      u"F",
      u"C",      u"P2",     u"M4",      u"L0",      u"S1.",     u"T1",    u"H",      u"D",
      u"yyyy",   u"\xD800", u"\xDC80",  u"9999999", u"-1",      u".",     u"?temp?", u"?text3?"};
  std::uniform_int_distribution<size_t> pick(0, std::size(fragments) - 1);
  std::uniform_int_distribution<int> unit(0, 0xFFFF);
  std::uniform_int_distribution<int> count(0, 12);
  std::uniform_int_distribution<int> byte(0, 255);
  const std::u16string files[] = {u"/r/a.mp3", u"/r/b.jpg", u"/r/c.mp4", u"/r/d.txt", u"/r/e.avi"};

  TFakeFileSystem fs;
  TFixedClock clock(46000.5);
  TMapEnvironment env;
  env.values[u"HOME"] = u"/home/x?y";
  TFileTagReader tags(fs);
  TMetaVariables vars(fs, clock, env, tags);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(static_cast<size_t>(count(rng) * 40), '\0');
    for (auto& b : bytes) b = static_cast<char>(byte(rng));
    const std::u16string& path = files[round % std::size(files)];
    fs.AddFile(path, bytes);
    std::u16string text;
    for (int i = count(rng); i > 0; --i) {
      text += (i % 4 == 0) ? std::u16string(1, static_cast<char16_t>(unit(rng))) : fragments[pick(rng)];
    }
    RenameRecord rec;
    FillRenameRecordNames(rec, u"/r", ExtractFileName(path), false, u"", u"2013-08-14");
    rec.filesize = IntToStr(static_cast<long long>(bytes.size()));
    vars.SetRawOnce(round % 7 == 0);
    TExpansion e = vars.Expand(text, rec);
    ASSERT_LE(e.text.size(), text.size() * 64 + 20000) << round;
  }
}

}  // namespace
