// The ID3 version 1 / 1.1 tag in the last 128 bytes of an MP3 file, and the
// table of its 148 genre names.
#pragma once

#include <string_view>

class TByteSource;
class TTagList;

// The name of genre `number`, "Unknown" outside 0..147.
std::u16string_view GenreName(int number);

// Stores "Title", "Artist", "Album", "Year", "Comment", "Track" (ID3v1.1
// only) and "Genre" when the file ends with a tag; stores nothing otherwise.
void ReadId3v1Tag(TByteSource& source, TTagList& list);
