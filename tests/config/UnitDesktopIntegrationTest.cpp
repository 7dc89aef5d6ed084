#include "config/UnitDesktopIntegration.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "config/UnitDesktopExec.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "support/UnitFakeServices.h"
#include "support/UnitTempFolder.h"

namespace {

TEST(TDesktopExecTest, QuotesAndEscapesAsLaunchersReadThem) {
  struct TCase {
    std::u16string program;
    std::string word;  // empty: refused
  };
  const TCase cases[] = {
      {u"/usr/bin/tallowick", "/usr/bin/tallowick"},
      {u"/opt/my apps/tw", "\"/opt/my apps/tw\""},
      {u"/opt/100%/tw", "/opt/100%%/tw"},
      {u"/o/a\"b$c`d", "\"/o/a\\\\\"b\\\\$c\\\\`d\""},
      {u"/o/back\\slash", "\"/o/back\\\\\\\\slash\""},
      {u"/o/line\nbreak", ""},
      {Utf8ToUtf16("/o/\xff"), ""},
  };
  for (const TCase& c : cases) {
    std::string word;
    const TStatus status = DesktopExecWord(c.program, word);
    EXPECT_EQ(status.ok(), !c.word.empty()) << Utf16ToUtf8(c.program);
    if (status.ok()) {
      EXPECT_EQ(word, c.word) << Utf16ToUtf8(c.program);
    }
  }
}

std::string Read(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsExecutable(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IXUSR) != 0;
}

// The desktop's own checker, where it is installed.
void ExpectValidDesktopEntry(const std::string& path) {
  if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0) return;
  EXPECT_EQ(std::system(("desktop-file-validate '" + path + "'").c_str()), 0) << path;
}

class TDesktopIntegrationTest : public ::testing::Test {
 protected:
  TDesktopIntegrationTest() {
    env.values[u"HOME"] = u"/nonexistent";
    env.values[u"XDG_DATA_HOME"] = Utf8ToUtf16(temp.PathOf("data"));
    env.values[u"XDG_CONFIG_HOME"] = Utf8ToUtf16(temp.PathOf("config"));
    for (const char* folder : {"data/nautilus", "data/nemo", "data/kio", "config/Thunar"}) {
      std::filesystem::create_directories(temp.PathOf(folder));
    }
  }
  std::string Data(const std::string& name) const { return temp.PathOf("data/" + name); }

  TTempFolder temp;
  TMapEnvironment env;
  std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  TDesktopIntegration shell{*fs, env, u"/opt/tw apps/tallowick"};
};

TEST_F(TDesktopIntegrationTest, FolderMenuIsWrittenOnceAndRemovedLeavingOthersActions) {
  const std::string uca = temp.WriteFile(
      "config/Thunar/uca.xml",
      "<?xml version=\"1.0\"?>\n<actions><action><name>Other</name>"
      "<unique-id>other-1</unique-id><command>other %f</command></action></actions>\n");
  std::u16string report;
  ASSERT_TRUE(shell.SetFolderMenu(true, report).ok()) << Utf16ToUtf8(report);
  ASSERT_TRUE(shell.SetFolderMenu(true, report).ok());  // again: nothing doubled
  const std::string entry = Data("applications/tallowick-folder.desktop");
  EXPECT_NE(Read(entry).find("Exec=\"/opt/tw apps/tallowick\" %f\n"), std::string::npos);
  ExpectValidDesktopEntry(entry);
  EXPECT_TRUE(IsExecutable(Data("nautilus/scripts/Tallowick")));
  EXPECT_TRUE(IsExecutable(Data("kio/servicemenus/tallowick-folder.desktop")));
  EXPECT_NE(Read(Data("nemo/actions/tallowick-folder.nemo_action")).find("Extensions=dir;"),
            std::string::npos);
  const std::string actions = Read(uca);
  EXPECT_NE(actions.find("other-1"), std::string::npos);
  EXPECT_EQ(actions.find("tallowick-folder"), actions.rfind("tallowick-folder"));
  EXPECT_NE(actions.find("'/opt/tw apps/tallowick' %f"), std::string::npos);
  EXPECT_NE(Utf16ToUtf8(report).find("Wrote " + entry), std::string::npos);

  ASSERT_TRUE(shell.SetFolderMenu(false, report).ok()) << Utf16ToUtf8(report);
  for (const char* name : {"applications/tallowick-folder.desktop", "nautilus/scripts/Tallowick",
                           "kio/servicemenus/tallowick-folder.desktop",
                           "nemo/actions/tallowick-folder.nemo_action"}) {
    EXPECT_FALSE(std::filesystem::exists(Data(name))) << name;
  }
  EXPECT_EQ(Read(uca).find("tallowick-folder"), std::string::npos);
  EXPECT_NE(Read(uca).find("other-1"), std::string::npos);
}

TEST_F(TDesktopIntegrationTest, OnlyTheFileManagersPresentGetFilesAndBrokenOnesAreLeftAlone) {
  std::filesystem::remove_all(temp.PathOf("data/nemo"));
  const std::string uca = temp.WriteFile("config/Thunar/uca.xml", "<actions><action>");
  std::u16string report;
  const TStatus status = shell.SetFolderMenu(true, report);
  EXPECT_FALSE(status.ok());
  EXPECT_NE(Utf16ToUtf8(report).find("Left " + uca + " as it is"), std::string::npos);
  EXPECT_EQ(Read(uca), "<actions><action>");
  EXPECT_FALSE(std::filesystem::exists(temp.PathOf("data/nemo")));
  EXPECT_TRUE(std::filesystem::exists(Data("applications/tallowick-folder.desktop")));
}

TEST_F(TDesktopIntegrationTest, SendToEntryOpensTheSelectedFiles) {
  std::u16string report;
  ASSERT_TRUE(shell.CreateSendTo(report).ok()) << Utf16ToUtf8(report);
  const std::string entry = Data("applications/tallowick-files.desktop");
  EXPECT_NE(Read(entry).find(" %F\n"), std::string::npos);
  ExpectValidDesktopEntry(entry);

  TMapEnvironment nowhere;
  TDesktopIntegration homeless(*fs, nowhere, u"/usr/bin/tallowick");
  EXPECT_FALSE(homeless.CreateSendTo(report).ok());
  EXPECT_NE(report.find(u"HOME"), std::u16string::npos);
}

}  // namespace
