#include "cli/UnitBatchJson.h"

#include <unordered_map>

#include "cli/UnitCommandLine.h"
#include "cli/UnitCommandText.h"
#include "cli/UnitPreviewJson.h"
#include "platform/UnitText.h"

std::u16string BatchJson(const std::u16string& folder, const TCommandLineOutcome& outcome) {
  const TRenameResult& result = outcome.rename;
  std::unordered_map<std::u16string, std::u16string> reasonOf;
  for (const TRenameFailure& failure : result.failures) {
    reasonOf.emplace(failure.source, failure.status.reason());
  }
  std::u16string json = u"{\"format\": " + IntToStr(kPreviewJsonFormat) + u", " +
                        JsonNameFields(u"folder", folder) + u", \"entries\": [";
  int renamed = 0;
  for (size_t i = 0; i < result.plan.size(); ++i) {
    const TPlannedRename& entry = result.plan[i];
    const bool done = !outcome.undone && result.where[i] == TPlannedState::Done;
    renamed += done ? 1 : 0;
    const auto reason = reasonOf.find(entry.source);
    json += std::u16string(i > 0 ? u"," : u"") + u"\n  {" + JsonNameFields(u"path", entry.source) +
            u", " + JsonNameFields(u"newPath", entry.target) + u", \"renamed\": " +
            (done ? u"true" : u"false") + u", \"reasons\": [" +
            (reason != reasonOf.end() ? JsonString(reason->second) : std::u16string()) + u"]}";
  }
  json += u"\n], \"undone\": " + std::u16string(outcome.undone ? u"true" : u"false") +
          u", \"interrupted\": " + (result.interrupted ? u"true" : u"false") +
          u", \"counts\": {\"planned\": " + IntToStr(static_cast<int>(result.plan.size())) +
          u", \"renamed\": " + IntToStr(renamed) + u", \"skipped\": " +
          IntToStr(static_cast<int>(result.plan.size()) - renamed) + u"}, \"exitCode\": " +
          IntToStr(outcome.exitCode) + u"}\n";
  return json;
}
