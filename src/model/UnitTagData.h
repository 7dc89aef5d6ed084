// The state flags of one entry of the file list, set by the scan, the preview
// and the collision handling.
#pragma once

#include <cstdint>

struct TTagData {
  bool IsFolder = false;
  bool changed = false;           // the last preview gave a name that differs from the old one
  int32_t Modified = 0;           // last-write time, packed DOS date-time, local time
  int32_t Created = 0;            // creation time, same packing
  bool IsCollision = false;       // the new name collides with another entry's
  bool OriginalCollision = false; // another entry's script reported a collision with this one
  bool DirectSelected = true;     // set when the entry is created
  bool IsIllegalNewname = false;  // the new name holds a character a file name may not hold
  bool ManualNewName = false;     // the new name was typed by the user
};
