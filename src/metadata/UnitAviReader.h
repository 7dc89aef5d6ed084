// The AVI (RIFF) reader: size and duration from the main AVI header.
#pragma once

class TByteSource;
struct TVideoProperties;

void ReadAvi(TByteSource& source, TVideoProperties& video);
