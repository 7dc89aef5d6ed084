// What the steps of a script use besides the entry itself: meta-variable
// expansion, matchers of the class the user chose, the replacement sequence
// and the collision registry of the current preview pass.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/UnitStatus.h"

class TFrmCollisionDialog;
class TMetaVariables;
class TReplacementSequence;
class TWildcards;
struct RenameRecord;

class TScriptContext {
 public:
  // The services must outlive the context.
  TScriptContext(TMetaVariables& vars, TReplacementSequence& sequence,
                 TFrmCollisionDialog& collisions);
  ~TScriptContext();
  TScriptContext(const TScriptContext&) = delete;
  TScriptContext& operator=(const TScriptContext&) = delete;

  // "Use full Regular Expressions" instead of simple "?" "*" wildcards.
  bool UseRegExp = false;

  // Called before each entry's run: drops the kept matchers when there are
  // many (patterns holding variables differ for every entry).
  void BeginEntry();

  // `text` expanded for `rec`. A tag file that cannot be read leaves the text
  // as far as it was expanded; the first such error is kept in ReadError.
  std::u16string Expand(std::u16string_view text, const RenameRecord& rec);
  const TStatus& ReadError() const { return readError_; }
  void ClearReadError() { readError_ = TStatus::Ok(); }

  // A matcher of the chosen class with `pattern` compiled. Matchers are kept
  // per pattern, so a pattern compiles once however many entries use it;
  // `slot` tells apart matchers in use at the same time. The reference stays
  // valid until the next BeginEntry.
  TWildcards& Matcher(std::u16string_view pattern, int slot = 0);
  // The same, always of the regular-expression class.
  TWildcards& RegExpMatcher(std::u16string_view pattern, int slot = 0);
  // The most recent regular-expression error code seen by a matcher handed out
  // since ClearRegExpError, 0 when none (the preview shows it).
  int LastRegExpError() const;
  void ClearRegExpError();

  TMetaVariables& Vars() { return vars_; }
  TReplacementSequence& Sequence() { return sequence_; }
  TFrmCollisionDialog& Collisions() { return collisions_; }

 private:
  TWildcards& Get(bool regExp, std::u16string_view pattern, int slot);

  TMetaVariables& vars_;
  TReplacementSequence& sequence_;
  TFrmCollisionDialog& collisions_;
  TStatus readError_;
  int lastRegExpError_ = 0;
  TWildcards* lastRegExp_ = nullptr;
  // (regular expression?, slot, pattern) -> compiled matcher.
  std::map<std::tuple<bool, int, std::u16string>, std::unique_ptr<TWildcards>> matchers_;
};
