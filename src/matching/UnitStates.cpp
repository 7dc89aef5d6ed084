#include "matching/UnitStates.h"

TState::TState(char16_t match, int matchStateIndex, int otherStateIndex)
    : MatchChar(match), MatchState(matchStateIndex), OtherState(otherStateIndex) {}

void TState::SetState(char16_t match, int matchStateIndex, int otherStateIndex) {
  MatchChar = match;
  MatchState = matchStateIndex;
  OtherState = otherStateIndex;
}
