#include "filelist/UnitCheckByPattern.h"

#include <memory>

#include "filelist/UnitFileList.h"
#include "matching/UnitRegExpWildcards.h"
#include "matching/UnitWildcards.h"
#include "model/UnitRenameRecord.h"
#include "platform/UnitText.h"

namespace {

std::unique_ptr<TWildcards> MakeMatcher(const TCheckPattern& check) {
  std::unique_ptr<TWildcards> matcher;
  if (check.useRegExp) {
    matcher = std::make_unique<TRegExpWildcards>();
  } else {
    matcher = std::make_unique<TWildcards>();
    (void)matcher->AssignFilemode(true);  // always Ok for simple wildcards
  }
  matcher->SetSearchPattern(check.pattern);
  return matcher;
}

}  // namespace

TStatus CheckByPattern(TFrmDummyShowPreview& list, const TCheckPattern& check) {
  std::unique_ptr<TWildcards> matcher = MakeMatcher(check);
  if (check.useRegExp && matcher->LastError() > 0) {
    return TStatus::Error(matcher->LastError(), u"",
                          u" Error in Regular Expression: " + IntToStr(matcher->LastError()));
  }
  if (check.action == TCheckAction::SelectOnly) {
    for (int row = 0; row < list.Count(); ++row) list.SetChecked(row, false);
  }
  const bool value = check.action != TCheckAction::Clear;
  for (int row = 0; row < list.Count(); ++row) {
    if (list.IsFolder(row) && !check.includeFolders) continue;
    matcher->SetSearchString(ExtractFileName(list.GetFileData(row)->GetName()));
    if (matcher->Matches()) list.SetChecked(row, value);
  }
  return TStatus::Ok();
}
