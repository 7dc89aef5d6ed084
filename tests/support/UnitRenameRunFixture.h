// Rename runs for the tests of the Rename command and the batch modes: a
// plan of names that swap, chain and change case, a script that carries any
// such plan out (each entry takes its new name from a line of a text file),
// and snapshots of a folder's files to compare before and after.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/UnitStatus.h"

class TFileSystem;
class TSession;

// Old name -> new name, both inside one folder; names without "." (the
// script replaces the name part of each entry).
using TNamePlan = std::vector<std::pair<std::u16string, std::u16string>>;

// `groups` times: a swap (xa <-> xb), a chain into a free name
// (ya -> yb -> yc), a case-only change (za -> ZA), plus an entry left alone.
TNamePlan SwapChainCasePlan(int groups);

// Path -> content of every file below `folder` (folders listed with a
// trailing "/" and no content).
std::map<std::u16string, std::string> Snapshot(TFileSystem& fs, const std::u16string& folder);

// Creates `folder` holding one file per old name of `plan` (content: the
// name), plus the entries named in `extra`.
void Populate(TFileSystem& fs, const std::u16string& folder, const TNamePlan& plan,
              const std::vector<std::u16string>& extra = {});

// Makes `session` rename by `plan`: lists `folder`, writes the new name of
// every listed entry (its own name when the plan leaves it) to `textFile` in
// list order, and sets up a script of one step that replaces each name by
// its line. With `scriptFile`, saves that script there too.
TStatus UsePlan(TSession& session, const std::u16string& folder, const TNamePlan& plan,
                const std::u16string& textFile, const std::u16string& scriptFile = u"");
