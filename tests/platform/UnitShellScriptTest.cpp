#include "platform/UnitShellScript.h"

#include <gtest/gtest.h>

#include "platform/UnitText.h"

namespace {

TEST(TShellScriptTest, QuotesEveryPathAsOneLiteralWord) {
  struct TCase {
    std::string name;  // bytes of the name
    std::string quoted;
  };
  const TCase cases[] = {
      {"/d/plain.txt", "'/d/plain.txt'"},
      {"it's", "'it'\\''s'"},
      {"''", "''\\'''\\'''"},
      {"$(rm -rf ~) `id` *;|&<>", "'$(rm -rf ~) `id` *;|&<>'"},
      {"two\nlines", "'two\nlines'"},
      {"-n", "'-n'"},
      {"", "''"},
      {"caf\xE9", "'caf\xE9'"},  // not UTF-8: the byte itself
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ShellQuote(Utf8ToUtf16(c.name)), c.quoted) << c.name;
  }
}

TEST(TShellScriptTest, MoveCommandPutsTheCommandFirstAsWritten) {
  EXPECT_EQ(ShellMoveCommand(u"mv -n --", u"/a b", u"/c'd"), "mv -n -- '/a b' '/c'\\''d'");
  EXPECT_EQ(ShellMoveCommand(u"echo", u"/\u00e9", u"/x"), "echo '/\xC3\xA9' '/x'");
}

}  // namespace
