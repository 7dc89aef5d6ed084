// The XMP reader: finds the namespace prefixes declared on the packet's
// rdf:Description elements and the elements around them, and stores every
// element and attribute of those namespaces as "?xmp_prefix_name?" = its text
// (or the URI of its rdf:resource attribute).
#pragma once

#include <string_view>

class TTagList;

// Reads the XMP packet `packet` (XML text) into `list`. A packet that is not
// well-formed stores nothing; a property that occurs several times keeps its
// last value.
void ReadXmp(std::string_view packet, TTagList& list);
