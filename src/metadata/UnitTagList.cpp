#include "metadata/UnitTagList.h"

#include "platform/UnitText.h"

void TTagList::Set(std::u16string_view name, std::u16string_view value) {
  const std::u16string key = LowerCase(name);
  if (auto it = index_.find(key); it != index_.end()) {
    entries_[it->second].second = std::u16string(value);
    return;
  }
  index_.emplace(key, entries_.size());
  entries_.emplace_back(std::u16string(name), std::u16string(value));
}

std::u16string TTagList::Value(std::u16string_view name) const {
  const auto it = index_.find(LowerCase(name));
  return it == index_.end() ? std::u16string() : entries_[it->second].second;
}

bool TTagList::Contains(std::u16string_view name) const {
  return index_.find(LowerCase(name)) != index_.end();
}

void TTagList::Clear() {
  entries_.clear();
  index_.clear();
}

std::u16string TTagList::Text() const {
  std::u16string out;
  for (const auto& [name, value] : entries_) {
    out += name + u"=" + value + u"\r\n";
  }
  return out;
}
