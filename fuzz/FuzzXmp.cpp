// The XMP reader over arbitrary packets, without the JPEG around them.
#include "UnitFuzzInput.h"
#include "UnitMemoryFile.h"
#include "metadata/UnitTagList.h"
#include "metadata/UnitXmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxFuzzInput) return 0;
  TTagList list;
  ReadXmp(FuzzBytes(data, size), list);
  return 0;
}
