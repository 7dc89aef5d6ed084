#include "model/UnitNameKeyTable.h"

#include <functional>

namespace {

size_t PowerOfTwoAtLeast(size_t n) {
  size_t size = 16;
  while (size < n) size *= 2;
  return size;
}

}  // namespace

void TNameKeyTable::Clear(size_t expected) {
  prefix_.clear();
  // Fresh blocks: the old ones are returned whole, at once.
  text_ = std::u16string();
  text_.reserve(expected * 24);  // most names are shorter; pages never used are never touched
  entries_ = std::vector<TEntry>();
  entries_.reserve(expected);
  slots_.assign(PowerOfTwoAtLeast(expected + expected / 2 + 1), 0);
}

bool TNameKeyTable::Holds(const TEntry& entry, std::u16string_view key, uint64_t hash) const {
  if (entry.hash != hash) return false;
  const std::u16string_view stored(text_.data() + entry.offset, entry.length);
  if (!entry.prefixed) return key == stored;
  return key.size() == prefix_.size() + stored.size() && key.starts_with(prefix_) &&
         key.substr(prefix_.size()) == stored;
}

size_t TNameKeyTable::SlotOf(std::u16string_view key, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const uint32_t held = slots_[slot];
    if (held == 0 || Holds(entries_[held - 1], key, hash)) return slot;
  }
}

void TNameKeyTable::Grow() {
  std::vector<uint32_t> old(slots_.size() * 2, 0);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    size_t slot = entries_[i].hash & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = static_cast<uint32_t>(i + 1);
  }
}

int TNameKeyTable::Insert(std::u16string_view key, int index) {
  if (slots_.empty()) Clear(0);
  const uint64_t hash = std::hash<std::u16string_view>()(key);
  size_t slot = SlotOf(key, hash);
  if (slots_[slot] != 0) return entries_[slots_[slot] - 1].index;
  if ((entries_.size() + 1) * 3 > slots_.size() * 2) {  // kept at most two thirds full
    Grow();
    slot = SlotOf(key, hash);
  }
  if (entries_.empty()) prefix_ = key.substr(0, key.rfind(u'/') + 1);
  const bool prefixed = key.starts_with(prefix_);
  const std::u16string_view rest = prefixed ? key.substr(prefix_.size()) : key;
  entries_.push_back({hash, static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(rest.size()),
                      index, prefixed});
  text_.append(rest);
  slots_[slot] = static_cast<uint32_t>(entries_.size());
  return -1;
}

bool TNameKeyTable::Find(std::u16string_view key, int& index) const {
  if (slots_.empty()) return false;
  const uint64_t hash = std::hash<std::u16string_view>()(key);
  const uint32_t held = slots_[SlotOf(key, hash)];
  if (held == 0) return false;
  index = entries_[held - 1].index;
  return true;
}
