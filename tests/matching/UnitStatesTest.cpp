#include "matching/UnitStates.h"

#include <gtest/gtest.h>

TEST(TStateTest, LiteralStateFollowsMatchOrOtherIndex) {
  const TState state(u'a', 4, 1);
  EXPECT_TRUE(state.IsMatch(u'a'));
  EXPECT_FALSE(state.IsMatch(u'A'));  // the text is lower-cased before it reaches a state
  EXPECT_EQ(state.GetNextState(u'a'), 4);
  EXPECT_EQ(state.GetNextState(u'b'), 1);
}

TEST(TStateTest, WildcardStatesMatchEveryCodeUnit) {
  for (const char16_t wildcard : {u'?', u'*'}) {
    const TState state(wildcard, 2, 7);
    for (const char16_t c : {u'x', u'?', u'*', u'\0', char16_t{0xDC80}, char16_t{0xFFFF}}) {
      EXPECT_TRUE(state.IsMatch(c))
          << "wildcard " << static_cast<char>(wildcard) << " unit " << static_cast<int>(c);
      EXPECT_EQ(state.GetNextState(c), 2);
    }
  }
}

TEST(TStateTest, SetStateReplacesCharacterAndIndexesButKeepsFlags) {
  TState state(u'a', 1, 0);
  state.SetIsEnding(true);
  state.SetState(u'*', 3, 3);
  state.SetMatchState(-1);
  EXPECT_EQ(state.GetMatchChar(), u'*');
  EXPECT_EQ(state.GetMatchStateIndex(), -1);
  EXPECT_EQ(state.GetOtherStateIndex(), 3);
  EXPECT_TRUE(state.GetIsEnding());
  EXPECT_FALSE(state.GetIsStarting());
}
