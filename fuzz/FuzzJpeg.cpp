// The JPEG reader (segments, frame, EXIF, XMP) over arbitrary bytes.
#include "UnitFuzzInput.h"
#include "UnitMemoryFile.h"
#include "metadata/UnitFileTags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxFuzzInput) return 0;
  const TMemoryFile file(FuzzBytes(data, size));
  TTagList list;
  ReadJpegFile(file, list);
  return 0;
}
