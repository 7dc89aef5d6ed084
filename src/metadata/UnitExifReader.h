// The EXIF reader: walks the IFDs of an APP1 "Exif" segment in either byte
// order and stores each known value under its tag name.
#pragma once

#include <cstdint>
#include <string>

class TJPEGSegment;
class TTagList;

// Reads the EXIF data of `segment` (an APP1 payload beginning "Exif") into
// `list`. An IFD reached twice (a chain that loops) is walked only once.
void ReadExif(TJPEGSegment& segment, TTagList& list);

// A rational as the EXIF values write it: the quotient cut to 4 characters
// ("72", "0.01", "2.83"), "0.0" when the denominator is 0.
std::u16string RationalText(double numerator, double denominator);
// "YYYY:MM:DD HH:MM:SS" as "yyyy-mm-dd hh:nn:ss"; empty when it is no date.
std::u16string ExifDateText(const std::string& text);
