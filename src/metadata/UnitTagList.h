// A name=value list whose names compare without regard to case: what the
// metadata readers fill and meta-variable expansion looks values up in.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TTagList {
 public:
  // Sets `name` to `value`, replacing an earlier value of the same name.
  void Set(std::u16string_view name, std::u16string_view value);
  // The value of `name`, or empty when absent.
  std::u16string Value(std::u16string_view name) const;
  bool Contains(std::u16string_view name) const;
  void Clear();
  bool Empty() const { return entries_.empty(); }
  size_t Size() const { return entries_.size(); }
  // Entries in the order they were first set: name, value.
  const std::vector<std::pair<std::u16string, std::u16string>>& Entries() const { return entries_; }
  // "name=value" lines joined by CR LF, as the debug logs write them.
  std::u16string Text() const;

 private:
  std::vector<std::pair<std::u16string, std::u16string>> entries_;
  std::unordered_map<std::u16string, size_t> index_;  // lower-case name -> entries_ index
};
