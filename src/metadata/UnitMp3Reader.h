// The MP3 readers: ID3v1 tags alone, or the first frame's stream properties
// followed by the tags, and the variable codes that name their values.
#pragma once

#include <optional>
#include <string_view>

class TByteSource;
class TTagList;

// The MP3 variable codes; member n names the list key of the same position.
enum class MP3_Enum { I_AL, I_AR, I_C, I_G, I_TI, I_TR, I_Y, M_B, M_S, M_C };

// The member whose name matches `code` without regard to case ("i_ar").
std::optional<MP3_Enum> Mp3Code(std::u16string_view code);
// The list key of a member: "Album", "Artist", ..., "Channels".
std::u16string_view Mp3Key(MP3_Enum code);

// The tag reader: the ID3v1 tag only.
void ReadMp3Tags(TByteSource& source, TTagList& list);
// The stream reader: "Bitrate", "Sample", "Channels" and "headerpos:" of the
// first frame header, then the tags. Without a frame header nothing is stored.
void ReadMp3Stream(TByteSource& source, TTagList& list);
