#include "cli/UnitHandOver.h"

#include <gtest/gtest.h>

#include "cli/UnitCommandLineSplit.h"
#include "platform/UnitSingleInstance.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"
#include "support/UnitTempFolder.h"

namespace {

TEST(THandOverTest, PathsLiveInTheRuntimeFolderAndNameTheApplicationFolder) {
  TFakeFileSystem fs;
  fs.AddFolder(u"/run/user/7");
  TMapEnvironment env;
  env.values[u"XDG_RUNTIME_DIR"] = u"/run/user/7";
  const THandOverPaths a = HandOverPaths(env, fs, u"/home/u/.config/tallowick/");
  EXPECT_TRUE(a.lockFile.starts_with(u"/run/user/7/tallowick-")) << Utf16ToUtf8(a.lockFile);
  EXPECT_TRUE(a.lockFile.ends_with(u".lock"));
  EXPECT_EQ(a.socket, a.lockFile.substr(0, a.lockFile.size() - 5) + u".socket");
  EXPECT_NE(HandOverPaths(env, fs, u"/tmp/other/").socket, a.socket);
  EXPECT_EQ(HandOverPaths(env, fs, u"/home/u/.config/tallowick/").socket, a.socket);
  // Unset, relative or missing: the application folder.
  for (const std::u16string runtime : {u"", u"run/user/7", u"/gone"}) {
    env.values[u"XDG_RUNTIME_DIR"] = runtime;
    EXPECT_TRUE(HandOverPaths(env, fs, u"/app/").socket.starts_with(u"/app/tallowick-"))
        << Utf16ToUtf8(runtime);
  }
}

TEST(THandOverTest, MessageSplitsBackWithPathsMadeAbsolute) {
  const std::string message = HandOverMessage(
      u"tallowick", {u"photos/2024", u"-s", u"/abs/x", u"FileDrop.dat", u"a \"q\" b"}, u"/home/u");
  const TFrmDummyInstance table(Utf8ToUtf16(message));
  ASSERT_EQ(table.ParamCount(), 5);
  EXPECT_EQ(table.ParamStr(0), u"tallowick");
  EXPECT_EQ(table.ParamStr(1), u"/home/u/photos/2024");
  EXPECT_EQ(table.ParamStr(2), u"-s");
  EXPECT_EQ(table.ParamStr(3), u"/abs/x");
  EXPECT_EQ(table.ParamStr(4), u"FileDrop.dat");
  EXPECT_EQ(table.ParamStr(5), u"/home/u/a \"q\" b");
}

TEST(TInstanceChannelTest, SecondCopyHandsItsMessageToTheFirst) {
  const TTempFolder temp;
  const std::u16string base = Utf8ToUtf16(temp.Path());
  bool first = false;
  std::string received;
  {
    TInstanceChannel running(base + u"/t.lock", base + u"/t.socket");
    ASSERT_TRUE(running.Claim(first).ok());
    EXPECT_TRUE(first);
    EXPECT_GE(running.ListeningDescriptor(), 0);
    EXPECT_EQ(running.Receive(received).code(), EAGAIN);  // nothing waits yet

    TInstanceChannel second(base + u"/t.lock", base + u"/t.socket");
    ASSERT_TRUE(second.Claim(first).ok());
    EXPECT_FALSE(first);
    const std::string message = "\"tallowick\" \"/home/u/\xc3\xa9t\xc3\xa9\"";
    ASSERT_TRUE(TInstanceChannel::Send(base + u"/t.socket", message).ok());
    ASSERT_TRUE(running.Receive(received).ok());
    EXPECT_EQ(received, message);
  }
  // The first copy is gone: the next one becomes first, nothing to send to.
  TInstanceChannel next(base + u"/t.lock", base + u"/t.socket");
  ASSERT_TRUE(next.Claim(first).ok());
  EXPECT_TRUE(first);
  EXPECT_FALSE(TInstanceChannel::Send(base + u"/none.socket", "x", 100).ok());
}

TEST(TInstanceChannelTest, SocketPathTooLongStillHoldsTheLock) {
  const TTempFolder temp;
  const std::u16string base = Utf8ToUtf16(temp.Path());
  TInstanceChannel running(base + u"/t.lock", base + u"/" + std::u16string(120, u's'));
  bool first = false;
  EXPECT_EQ(running.Claim(first).code(), ENAMETOOLONG);
  EXPECT_TRUE(first);
  EXPECT_EQ(running.ListeningDescriptor(), -1);
  TInstanceChannel second(base + u"/t.lock", base + u"/x.socket");
  ASSERT_TRUE(second.Claim(first).ok());
  EXPECT_FALSE(first);
}

}  // namespace
