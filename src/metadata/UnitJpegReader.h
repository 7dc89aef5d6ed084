// The JPEG reader: one walk over the segments up to the start of the scan,
// storing the frame size ("JFIF_WIDTH", "JFIF_HEIGHT", "JFIF_PRECISION"), the
// EXIF values and the XMP properties in one list.
#pragma once

class TByteSource;
class TTagList;

// Reads what `source` holds into `list`. A broken or truncated file ends the
// walk quietly; what was found before stays.
void ReadJpegTags(TByteSource& source, TTagList& list);
