// A folder listing spread over two threads. Describing an entry (one status
// call in the kernel and the decoding of its name and times) costs far more
// than reading its name, so a helper thread reads the names a batch at a time
// and both threads describe them. The caller receives the described entries,
// on its own thread, in the order the names were read.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/UnitFileSystem.h"

// A name as the folder gave it (bytes) and its entry type from the folder.
using TRawFolderName = std::pair<std::string, unsigned char>;

struct TListingSource {
  // Appends the next names (at most `limit`) to `names`. Called on one
  // thread at a time, batch after batch. Returns false once the listing has
  // ended; `err` is then the errno of a failure, or 0.
  std::function<bool(size_t limit, std::vector<TRawFolderName>& names, int& err)> read;
  // Describes one name; false when the entry has gone. Called on both
  // threads at once, for different names.
  std::function<bool(const TRawFolderName& name, TFolderEntry& entry)> describe;
};

// Visits every described entry in reading order until `visit` returns false.
// Returns the errno of a failed read (after visiting every entry read before
// it), or 0. A listing that ends within its first batch, or one for which
// no helper thread can be started, is done on the caller's thread alone.
int ListInParallel(const TListingSource& source, const TFolderVisitor& visit);
