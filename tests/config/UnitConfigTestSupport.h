// Helpers shared by the configuration tests: readable text in failure
// messages, the fixture files of tests/data/config and the application folder
// on the in-memory file system.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

inline std::string U8(std::u16string_view text) { return Utf16ToUtf8(text); }

// The application folder the tests use on TFakeFileSystem.
inline const std::u16string kAppFolder = u"/app/";

// The bytes of tests/data/config/<name>; empty when it cannot be read.
inline std::string ConfigFixture(const std::string& name) {
  std::string bytes;
  const auto fs = NewPosixFileSystem();
  const std::u16string path = Utf8ToUtf16(std::string(TALLOWICK_TEST_DATA) + "/config/" + name);
  if (!fs->ReadWholeFile(path, bytes).ok()) bytes.clear();
  return bytes;
}
