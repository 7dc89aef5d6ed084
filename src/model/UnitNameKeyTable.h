// A set of name keys, each with the entry that registered it first. The keys
// are kept in one block of text and two arrays rather than as one heap
// string and node each: a preview registers the full path of every entry,
// a million of them in a large folder, and most share the first one's folder,
// which is kept once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TNameKeyTable {
 public:
  // Forgets every key and makes room for about `expected` of them.
  void Clear(size_t expected);
  // Registers `key` for `index`; -1 when it was free, else the index that
  // holds it already (nothing changes then).
  int Insert(std::u16string_view key, int index);
  // True, with the index that holds it, when `key` is registered.
  bool Find(std::u16string_view key, int& index) const;
  size_t Size() const { return entries_.size(); }

 private:
  struct TEntry {
    uint64_t hash;
    uint32_t offset;   // of the stored text in text_
    uint32_t length;   // of the stored text
    int32_t index;
    bool prefixed;     // the key is prefix_ + the stored text
  };
  // The slot of `key`: the one holding it, or the free one where it goes.
  size_t SlotOf(std::u16string_view key, uint64_t hash) const;
  bool Holds(const TEntry& entry, std::u16string_view key, uint64_t hash) const;
  void Grow();

  std::u16string prefix_;          // the folder of the first key, "/" included
  std::u16string text_;            // every key's text after its prefix
  std::vector<TEntry> entries_;
  std::vector<uint32_t> slots_;    // entry number + 1; 0 is free; a power of two long
};
