// The preview as one JSON object for scripts: the listed folder, a format
// version, every entry with its path and new path relative to the folder,
// the reason for each flag, and the counts beside the status panels.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

class TSession;
struct TPreviewResult;

inline constexpr int kPreviewJsonFormat = 1;

// Why each entry of the list is flagged: the colliding entry, the character
// that is not allowed, or that the new name leaves the folder. One list per
// row, empty when the row has no flag.
std::vector<std::vector<std::u16string>> FlagReasons(const TSession& session);

std::u16string PreviewJson(const TSession& session, const TPreviewResult& result,
                           const std::array<std::u16string, 3>& status);

// The bytes of `text` as a file name holds them (undecodable bytes restored),
// in base64.
std::u16string Base64Bytes(std::u16string_view text);
// `"key": "name"`, followed by `"keyBytes": "<base64>"` when the name holds
// bytes that are not UTF-8, so that a JSON reader can still find the file.
std::u16string JsonNameFields(const char16_t* key, const std::u16string& name);
// Whether `text` holds a byte that is not part of valid UTF-8.
bool HoldsUndecodableBytes(std::u16string_view text);
