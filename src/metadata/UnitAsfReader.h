// The ASF / WMV reader: the objects of the header object give the content
// description texts, the video stream's size and the play duration.
#pragma once

class TByteSource;
struct TVideoProperties;

void ReadAsf(TByteSource& source, TVideoProperties& video);
