// One state of the automaton that a simple wildcard pattern compiles into
// (see TWildcards): the character it tests and where to go on a hit or a miss.
#pragma once

class TState {
 public:
  // `match` is a lower-case literal, '?' (any one character) or '*' (any run).
  // A next-state index of -1 means the whole pattern has been matched.
  TState(char16_t match, int matchStateIndex, int otherStateIndex);

  void SetState(char16_t match, int matchStateIndex, int otherStateIndex);
  void SetMatchState(int index) { MatchState = index; }
  void SetIsStarting(bool b) { isStarting = b; }
  void SetIsEnding(bool b) { isEnding = b; }

  char16_t GetMatchChar() const { return MatchChar; }
  int GetMatchStateIndex() const { return MatchState; }
  int GetOtherStateIndex() const { return OtherState; }
  bool GetIsStarting() const { return isStarting; }
  bool GetIsEnding() const { return isEnding; }
  // A literal state holds neither '?' nor '*'.
  bool IsLiteral() const { return MatchChar != u'?' && MatchChar != u'*'; }

  // True when `c` equals the literal or the state is a wildcard.
  bool IsMatch(char16_t c) const { return c == MatchChar || !IsLiteral(); }
  // MatchState on a hit, OtherState on a miss.
  int GetNextState(char16_t c) const { return IsMatch(c) ? MatchState : OtherState; }

  bool operator==(const TState&) const = default;

 private:
  char16_t MatchChar;
  int MatchState;
  int OtherState;
  bool isStarting = false;  // state 0 of a compiled pattern; informational only
  bool isEnding = false;    // a hit in this state completes the pattern
};
