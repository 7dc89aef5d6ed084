// The JPEG reader (segments, frame, EXIF, XMP) over arbitrary bytes.
#include "UnitMemoryFile.h"
#include "metadata/UnitFileTags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TMemoryFile file(FuzzBytes(data, size));
  TTagList list;
  ReadJpegFile(file, list);
  return 0;
}
