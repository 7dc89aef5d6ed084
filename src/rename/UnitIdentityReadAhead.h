// The identities of a list's checked entries, read on the second core from
// the start of a run, while its preview and plan are made, so that the
// journal waits for few of them. A list whose refresh kept the identities it
// read reads nothing ahead (the run takes them from the list).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UnitFileSystem.h"

class TFrmDummyShowPreview;

class TIdentityReadAhead {
 public:
  // Starts reading; reads nothing when `folder` reads nothing beside or
  // `list` kept its identities. `folder` must stay open while this lasts.
  TIdentityReadAhead(TFolderHandle& folder, const TFrmDummyShowPreview& list);

  // Entry `names[i]` of row `rows[i]` (rows rising): the identity read
  // ahead for that row and name, or else one read now.
  std::vector<TEntryIdentity> IdentitiesOf(const std::vector<int>& rows,
                                           const std::vector<std::u16string_view>& names);

 private:
  TFolderHandle& folder_;
  // The old names of the checked rows, one after the other: the list may
  // change before the reading ends.
  std::u16string names_;
  std::vector<int> rows_;
  std::vector<uint32_t> starts_;  // where each row's name begins, and the end
  std::unique_ptr<TIdentitiesAhead> ahead_;
};
