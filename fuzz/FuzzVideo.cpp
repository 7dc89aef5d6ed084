// The video readers over arbitrary bytes: the first byte chooses the
// container by its extension, the rest is the file.
#include <array>

#include "UnitFuzzInput.h"
#include "UnitMemoryFile.h"
#include "metadata/UnitFileTags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static constexpr std::array<std::u16string_view, 4> kExtensions = {u".avi", u".mpg", u".mp4",
                                                                     u".wmv"};
  if (size == 0 || size > kMaxFuzzInput) return 0;
  const TMemoryFile file(FuzzBytes(data + 1, size - 1));
  TTagList list;
  ReadVideoFile(file, kExtensions[data[0] % kExtensions.size()], list);
  return 0;
}
