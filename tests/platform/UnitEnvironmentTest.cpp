#include "platform/UnitEnvironment.h"

#include <gtest/gtest.h>

#include "platform/UnitAppFolder.h"
#include "platform/UnitHugePageHeap.h"
#include "support/UnitFakeServices.h"

TEST(EnvironmentTest, ExpandsSetNamesAndKeepsTheRest) {
  TMapEnvironment env;
  env.values[u"HOME"] = u"/home/ann";
  EXPECT_EQ(ExpandEnvironmentStrings(u"%HOME%/x", env), u"/home/ann/x");
  EXPECT_EQ(ExpandEnvironmentStrings(u"%NOPE%/x", env), u"%NOPE%/x");
  EXPECT_EQ(ExpandEnvironmentStrings(u"100% sure", env), u"100% sure");
  EXPECT_EQ(ExpandEnvironmentStrings(u"%NOPE%HOME%", env), u"%NOPE/home/ann");
}

TEST(EnvironmentTest, ProcessEnvironmentReadsVariables) {
  setenv("TALLOWICK_TEST_VAR", "v\xC3\xA9", 1);
  TProcessEnvironment env;
  EXPECT_EQ(env.Get(u"TALLOWICK_TEST_VAR"), std::u16string(u"v\u00E9"));
  EXPECT_FALSE(env.Get(u"TALLOWICK_SURELY_UNSET_VAR").has_value());
  EXPECT_FALSE(env.Get(u"").has_value());
}

TEST(ApplicationFolderTest, FromTheEnvironment) {
  TMapEnvironment env;
  env.values[u"HOME"] = u"/home/ann";
  EXPECT_EQ(ApplicationFolder(env), u"/home/ann/.config/tallowick/");
  env.values[u"XDG_CONFIG_HOME"] = u"/cfg/";
  EXPECT_EQ(ApplicationFolder(env), u"/cfg/tallowick/");
  env.values[u"TALLOWICK_HOME"] = u"/portable";
  EXPECT_EQ(ApplicationFolder(env), u"/portable/");
}

TEST(HugePageHeapTest, AsksForHugePagesOnceAndKeepsTheOtherTunables) {
  const std::string heap =
      "glibc.malloc.mmap_threshold=33554432:glibc.malloc.trim_threshold=536870912";
  const struct {
    std::optional<std::string> current;
    std::optional<std::string> expected;
  } cases[] = {
      {std::nullopt, "glibc.malloc.hugetlb=1:" + heap},
      {"", "glibc.malloc.hugetlb=1:" + heap},
      {"glibc.malloc.check=3", "glibc.malloc.check=3:glibc.malloc.hugetlb=1:" + heap},
      {"glibc.malloc.trim_threshold=0",  // the user's own setting stays the only one
       "glibc.malloc.trim_threshold=0:glibc.malloc.hugetlb=1:glibc.malloc.mmap_threshold=33554432"},
      {"glibc.malloc.hugetlb=0", std::nullopt},  // refused by the user: kept
      {"glibc.malloc.hugetlb=1", std::nullopt},  // the restarted program itself
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TunablesWithHugePages(c.current), c.expected) << c.current.value_or("(unset)");
  }
}
