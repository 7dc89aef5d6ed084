// The table of the 95 EXIF tags that "?x_...?" variables name: each tag's
// variable code, its number and the name its value is stored under.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct TExifTag {
  std::u16string_view code;  // "X_DTO"; compared without regard to case
  uint16_t tag;              // 36867
  std::u16string_view name;  // "DateTimeOriginal"
};

// The whole table in its fixed order (the members of EXIF_Enum).
std::span<const TExifTag> ExifTagTable();
// The tag number of a code such as "x_dto", or nothing for an unknown code.
std::optional<uint16_t> GetTagNumber(std::u16string_view code);
// The name of a tag number; for a number not in the table its four-digit
// upper-case hexadecimal form followed by " not found".
std::u16string GetTagName(uint16_t tag);
