// For the regression tests of the ordinary suite: the inputs that once made a
// fuzz target fail, kept under tests/data/fuzz/<target>/, and the target's
// entry point, which a test links by compiling the target's source with it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

struct TSavedFuzzInput {
  std::string name;
  std::string bytes;
};

// Every file of tests/data/fuzz/<target>/ (TALLOWICK_TEST_DATA), in name
// order; empty when the folder cannot be read.
inline std::vector<TSavedFuzzInput> SavedFuzzInputs(const std::string& target) {
  const std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  const std::u16string folder = Utf8ToUtf16(std::string(TALLOWICK_TEST_DATA) + "/fuzz/" + target);
  std::vector<TSavedFuzzInput> inputs;
  const TStatus listed = fs->ListFolder(folder, [&](const TFolderEntry& entry) {
    if (!entry.info.isFolder) inputs.push_back({Utf16ToUtf8(entry.name), std::string()});
    return true;
  });
  if (!listed.ok()) return {};
  std::sort(inputs.begin(), inputs.end(),
            [](const TSavedFuzzInput& a, const TSavedFuzzInput& b) { return a.name < b.name; });
  for (TSavedFuzzInput& input : inputs) {
    if (!fs->ReadWholeFile(folder + u"/" + Utf8ToUtf16(input.name), input.bytes).ok()) return {};
  }
  return inputs;
}

// Runs the linked target on `input` and returns its result (0: it returned).
inline int RunSavedFuzzInput(const TSavedFuzzInput& input) {
  return LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.bytes.data()),
                                input.bytes.size());
}
