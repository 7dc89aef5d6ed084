// What a batch mode did, as one JSON object in the shape of the preview's:
// every entry it was to rename with its path and new path relative to the
// folder, whether it ended under the new name, and why not.
#pragma once

#include <string>

struct TCommandLineOutcome;

std::u16string BatchJson(const std::u16string& folder, const TCommandLineOutcome& outcome);
