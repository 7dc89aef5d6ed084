#include "matching/UnitVariableCatalogue.h"

#include <string>
#include <unordered_map>

namespace {

constexpr TVariableInfo kVariables[] = {
    {u"?cf?", u"current folder"},
    {u"?cds?", u"date short"},
    {u"?cdm?", u"date medium"},
    {u"?cdl?", u"date long"},
    {u"?ds?", u"date short"},
    {u"?dm?", u"date medium"},
    {u"?dl?", u"date long"},
    {u"?t?", u"type/extension"},
    {u"?c?", u"total files"},
    {u"?sc?", u"total selected files"},
    {u"?fc?", u"total files in current folder  (recursive scan)"},
    {u"?zc?", u"commas"},
    {u"?zg2d?", u"2 decimal places"},
    {u"?zgc?", u"commas"},
    {u"?zgn?", u"no layout"},
    {u"?zmc?", u"commas"},
    {u"?zm2d?", u"2 decimal places"},
    {u"?zmn?", u"no layout"},
    {u"?zkc?", u"commas"},
    {u"?zk2d?", u"2 decimal places"},
    {u"?zkn?", u"no layout"},
    {u"?zn?", u"no layout"},
    {u"?n13?", u"current number"},
    {u"?n12?", u"current number"},
    {u"?n11?", u"current number"},
    {u"?n10?", u"current number"},
    {u"?n09?", u"current number"},
    {u"?n08?", u"current number"},
    {u"?n07?", u"current number"},
    {u"?n06?", u"current number"},
    {u"?n05?", u"current number"},
    {u"?n04?", u"current number"},
    {u"?n03?", u"current number"},
    {u"?n02?", u"current number"},
    {u"?n01?", u"current number"},
    {u"?n00?", u"current number"},
    {u"?cfn?", u"filename.ext"},
    {u"?cfo?", u"filename"},
    {u"?dmo?", u"date modified"},
    {u"?dc?", u"date created"},
    {u"?pf?", u"parent folder"},
    {u"?temp?", u""},
};

static_assert(std::size(kVariables) == svText1);

// Hash and equality that also take string views, so a lookup builds no string.
struct TNameHash {
  using is_transparent = void;
  size_t operator()(std::u16string_view name) const { return std::hash<std::u16string_view>()(name); }
};
struct TNameEqual {
  using is_transparent = void;
  bool operator()(std::u16string_view a, std::u16string_view b) const { return a == b; }
};
using TTable = std::unordered_map<std::u16string, int, TNameHash, TNameEqual>;

TTable BuildTable() {
  TTable table;
  table.reserve(svText99 + 1);
  for (int i = 0; i < svText1; ++i) table.emplace(std::u16string(kVariables[i].name), i);
  for (int i = svText1; i <= svText99; ++i) table.emplace(SimpleVariableName(i), i);
  return table;
}

}  // namespace

std::span<const TVariableInfo> SimpleVariables() { return kVariables; }

std::u16string SimpleVariableName(int index) {
  if (index >= svText1 && index <= svText99) {
    const std::string n = std::to_string(index - svText1 + 1);
    return u"?text" + std::u16string(n.begin(), n.end()) + u"?";
  }
  if (index >= 0 && index < svText1) return std::u16string(kVariables[index].name);
  return {};
}

int FindSimpleVariable(std::u16string_view lowerName) {
  // Built once, never changed afterwards.
  static const TTable table = BuildTable();
  const auto it = table.find(lowerName);
  return it == table.end() ? -1 : it->second;
}
