// The MPEG program stream reader: picture size from the sequence header and
// the duration from the first and the last group-of-pictures time codes.
#pragma once

class TByteSource;
struct TVideoProperties;

void ReadMpeg(TByteSource& source, TVideoProperties& video);
