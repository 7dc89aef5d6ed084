#include "engine/UnitScriptContext.h"

#include <tuple>

#include "matching/UnitMetaVariables.h"
#include "matching/UnitRegExpWildcards.h"
#include "matching/UnitWildcards.h"

namespace {
// Patterns that hold variables expand differently for each entry; past this
// many kept matchers the cache starts over so memory stays bounded.
constexpr size_t kMaxKeptMatchers = 512;
}  // namespace

TScriptContext::TScriptContext(TMetaVariables& vars, TReplacementSequence& sequence,
                               TFrmCollisionDialog& collisions)
    : vars_(vars), sequence_(sequence), collisions_(collisions) {}

TScriptContext::~TScriptContext() = default;

void TScriptContext::BeginEntry() {
  if (matchers_.size() < kMaxKeptMatchers) return;
  if (lastRegExp_ != nullptr && lastRegExp_->LastError() != 0) {
    lastRegExpError_ = lastRegExp_->LastError();
  }
  matchers_.clear();
  lastRegExp_ = nullptr;
}

std::u16string TScriptContext::Expand(std::u16string_view text, const RenameRecord& rec) {
  TExpansion e = vars_.Expand(text, rec);
  if (!e.status.ok() && readError_.ok()) readError_ = std::move(e.status);
  return std::move(e.text);
}

TWildcards& TScriptContext::Matcher(std::u16string_view pattern, int slot) {
  return Get(UseRegExp, pattern, slot);
}

TWildcards& TScriptContext::RegExpMatcher(std::u16string_view pattern, int slot) {
  return Get(true, pattern, slot);
}

int TScriptContext::LastRegExpError() const {
  if (lastRegExpError_ != 0 || lastRegExp_ == nullptr) return lastRegExpError_;
  return lastRegExp_->LastError();
}

void TScriptContext::ClearRegExpError() {
  lastRegExpError_ = 0;
  lastRegExp_ = nullptr;
}

TWildcards& TScriptContext::Get(bool regExp, std::u16string_view pattern, int slot) {
  if (lastRegExp_ != nullptr && lastRegExp_->LastError() != 0) {
    lastRegExpError_ = lastRegExp_->LastError();
  }
  auto key = std::make_tuple(regExp, slot, std::u16string(pattern));
  auto it = matchers_.find(key);
  if (it == matchers_.end()) {
    std::unique_ptr<TWildcards> matcher;
    if (regExp) {
      matcher = std::make_unique<TRegExpWildcards>();
    } else {
      matcher = std::make_unique<TWildcards>();
    }
    matcher->SetSearchPattern(pattern);
    it = matchers_.emplace(std::move(key), std::move(matcher)).first;
  }
  TWildcards& matcher = *it->second;
  if (regExp) {
    lastRegExp_ = &matcher;
    if (matcher.LastError() != 0) lastRegExpError_ = matcher.LastError();
  }
  return matcher;
}
