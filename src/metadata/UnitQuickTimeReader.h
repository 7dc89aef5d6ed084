// The QuickTime / MP4 reader: walks the atoms for the track size ("tkhd"),
// the duration ("mdhd") and the text items of "udta" and "ilst".
#pragma once

class TByteSource;
struct TVideoProperties;

void ReadQuickTime(TByteSource& source, TVideoProperties& video);
