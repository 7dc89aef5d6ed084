// The MP3 readers over arbitrary bytes: the first byte chooses tags only or
// stream and tags, the rest is the file.
#include "UnitFuzzInput.h"
#include "UnitMemoryFile.h"
#include "metadata/UnitFileTags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > kMaxFuzzInput) return 0;
  const TMemoryFile file(FuzzBytes(data + 1, size - 1));
  TTagList list;
  ReadMp3File(file, (data[0] & 1) != 0, list);
  return 0;
}
