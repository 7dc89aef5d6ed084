#include "filelist/UnitShowPreview.h"

#include <algorithm>
#include <cmath>

#include "engine/UnitScriptActions.h"
#include "engine/UnitScriptContext.h"
#include "filelist/UnitFileList.h"
#include "matching/UnitMetaVariables.h"
#include "model/UnitCollisionDialog.h"
#include "model/UnitRenameRecord.h"
#include "model/UnitReplacementSequence.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "textfile/UnitTextFileParameters.h"
#include "textfile/UnitTextFileRenaming.h"

namespace {

// The regular-expression error code that is never reported.
constexpr int kUnreportedRegExpError = 1003;
// Rows between two progress reports of the quick passes over the whole list,
// so that a window can keep its event loop turning through them.
constexpr int kQuickPassInterval = 4096;

int IntegerOr(std::u16string_view text, int fallback) {
  int value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

std::u16string WithSlash(std::u16string folder) {
  if (folder.empty() || folder.back() != u'/') folder.push_back(u'/');
  return folder;
}

// One pass over the list: the running record fields and the folder change.
class TPreviewPass {
 public:
  TPreviewPass(TFrmDummyShowPreview& list, const TFrmScriptActions& script, TScriptContext& ctx,
               const TPreviewOptions& options, TTextFileRenaming* textFile)
      : list_(list), script_(script), ctx_(ctx), options_(options), textFile_(textFile),
        base_(WithSlash(list.ListedFolder())),
        startAt_(IntegerOr(options.counting.txtStartAt, 1)) {
    rec_.listtotal = list.Count();
    rec_.incrementby = IntegerOr(options.counting.txtIncrement, 1);
    rec_.changedcount = 1;
  }

  void SetSelectedTotal(int total) { rec_.selectedtotal = total; }
  void StartSecondPass() {
    position_ = 0;
    currentFolder_.clear();
    folderTotalKnown_ = false;
  }

  // Fills the record for a checked row and advances the position counter;
  // returns whether the entry's folder differs from the previous one's.
  bool FillRecord(int row) {
    const TFileListData& data = *list_.GetFileData(row);
    const TTagData& tag = *list_.GetTagData(row);
    FillRenameRecordNames(rec_, base_, data.caption, tag.IsFolder, data.GetAltName(), data.GetDate());
    rec_.filesize = data.GetSize();
    rec_.Created = tag.Created;
    rec_.Modified = tag.Modified;
    rec_.listposition = row + 1;
    // Rows of one folder follow each other: the folder part and its count are
    // looked up only when the folder changes.
    const std::u16string_view caption = data.caption;
    const std::u16string_view folder = caption.substr(0, caption.rfind(u'/') + 1);
    const bool folderChanged = folder != currentFolder_;
    if (folderChanged || !folderTotalKnown_) {
      currentFolder_.assign(folder);
      rec_.foldertotal = list_.FoldersCount().GetCount(base_ + currentFolder_);
      folderTotalKnown_ = true;
    }
    ++position_;
    if (options_.counting.cbResetNewFolder && folderChanged && !options_.counting.rbUsePosition) {
      position_ = 1;
    }
    rec_.selectedposition = position_;
    return folderChanged;
  }

  // Runs the script (and the text-file and case steps) on the filled record;
  // returns whether the script changed the name. `name` and `ext` are the
  // caller's, so that their room is kept from one row to the next.
  bool RunScript(std::u16string& name, std::u16string& ext, TTagData& tag, int& collisionIndex) {
    if (textFile_ != nullptr) textFile_->AssignFields(rec_, rec_.selectedposition, ctx_.Vars());
    name.assign(rec_.name);
    ext.assign(u".");
    ext.append(rec_.ext);
    oldName_.assign(name);
    oldExt_.assign(ext);
    rec_.ScriptChanged = false;
    script_.RunScriptOn(name, ext, rec_, tag, collisionIndex, ctx_);
    return name != oldName_ || ext != oldExt_ || rec_.ScriptChanged;
  }

  // The new name relative to the entry's folder, from the script's result;
  // converts the case of `name` and `ext` in place.
  std::u16string NewName(std::u16string& name, std::u16string& ext) const {
    ConvertCase(name, ext, options_.caseOptions);
    std::u16string full;
    full.reserve(base_.size() + currentFolder_.size() + name.size() + ext.size());
    full.append(base_).append(currentFolder_).append(name).append(ext);
    // Drop the lone "." of an empty extension, unless the script left the name
    // exactly as it was (a name may end with "." here).
    if (full.size() > base_.size() && full.back() == u'.' &&
        std::u16string_view(full).substr(base_.size()) != rec_.columnname) {
      full.pop_back();
    }
    const std::u16string_view fullName = rec_.FullName;
    const std::u16string_view folder = fullName.substr(0, fullName.rfind(u'/') + 1);
    // Nearly always the new name begins with the folder as it is written.
    const size_t at = full.starts_with(folder) ? 0 : FindIgnoringCase(full, folder);
    if (at != std::u16string::npos) full.erase(at, folder.size());
    return full;
  }

  void CustomColumns(TFileListData& data) {
    data.fcustomdata.clear();
    for (const auto& column : options_.customColumns) {
      ctx_.Vars().SetRawOnce(true);
      std::u16string value = ctx_.Expand(column, rec_);
      if (SameTextIgnoringCase(value, column)) value.clear();
      data.fcustomdata.push_back(std::move(value));
    }
  }

  RenameRecord& Record() { return rec_; }
  const std::u16string& Base() const { return base_; }
  int StartAt() const { return startAt_; }

 private:
  TFrmDummyShowPreview& list_;
  const TFrmScriptActions& script_;
  TScriptContext& ctx_;
  const TPreviewOptions& options_;
  TTextFileRenaming* textFile_;
  const std::u16string base_;
  const int startAt_;
  RenameRecord rec_;
  std::u16string oldName_;  // the name and extension before the script
  std::u16string oldExt_;
  int position_ = 0;
  std::u16string currentFolder_;  // the folder part of the last row's caption
  bool folderTotalKnown_ = false;  // rec_.foldertotal holds currentFolder_'s count
};

void MarkCollision(TFrmDummyShowPreview& list, int row, int other, TPreviewResult& result) {
  list.GetTagData(row)->IsCollision = true;
  if (TTagData* tag = list.GetTagData(other)) tag->IsCollision = true;
  ++result.CollisionCount;
}

void FirstPass(TFrmDummyShowPreview& list, TPreviewPass& pass, TScriptContext& ctx,
               const TPreviewOptions& options, TProgress& progress, TPreviewResult& result) {
  const int count = list.Count();
  const int step = std::min(count / 10 + 1, 50);
  std::u16string name;  // kept from row to row, with their room
  std::u16string ext;
  std::u16string newPath;
  for (int row = 0; row < count; ++row) {
    if (row % step == 0) {
      progress.Advanced(row);
      if (row % 400 == 0) {
        progress.Message(u"Generating Preview.... [" + IntToStr(row) + u"/" + IntToStr(count) + u"]");
      }
    }
    list.FetchAhead(row);
    TFileListData& data = *list.GetFileData(row);
    TTagData& tag = *list.GetTagData(row);
    tag.IsCollision = false;
    tag.OriginalCollision = false;
    if (!data.Checked()) {
      const std::u16string oldPath = pass.Base() + data.caption;
      const int k = ctx.Collisions().Add(oldPath, oldPath, row) ;
      if (k != -1) MarkCollision(list, row, k, result);
      data.fcustomdata.assign(options.customColumns.size(), std::u16string());
      continue;
    }
    const bool folderChanged = pass.FillRecord(row);
    if (row % 100 == 0) progress.Message(pass.Record().columnname);
    int collisionIndex = -1;
    const bool scriptChanged = pass.RunScript(name, ext, tag, collisionIndex);
    if (collisionIndex != -1) {
      if (TTagData* other = list.GetTagData(collisionIndex)) {
        other->IsCollision = false;
        other->OriginalCollision = true;
      }
    }
    RenameRecord& rec = pass.Record();
    if (folderChanged && options.counting.cbResetNewFolder) rec.changedcount = pass.StartAt();
    if (scriptChanged) ++rec.changedcount;
    pass.CustomColumns(data);
    data.SetNewName(pass.NewName(name, ext));
    const std::u16string& newName = data.GetNewName();
    const std::u16string_view caption = data.caption;
    const std::u16string_view folderPart = caption.substr(0, caption.rfind(u'/') + 1);
    newPath.assign(pass.Base()).append(folderPart).append(newName);
    tag.IsIllegalNewname = IsIllegalNewName(std::u16string_view(newPath).substr(pass.Base().size()));
    if (tag.IsIllegalNewname) ++result.IllegalCount;
    const int k = ctx.Collisions().Add(rec.FullName, newPath, row);
    if (k != -1) MarkCollision(list, row, k, result);
    const std::u16string_view fullName = rec.FullName;
    tag.changed = fullName.substr(fullName.rfind(u'/') + 1) != newName;
    if (tag.changed) ++result.ChangedCount;
  }
}

void SecondPass(TFrmDummyShowPreview& list, TPreviewPass& pass, TProgress& progress) {
  pass.StartSecondPass();
  const int count = list.Count();
  bool anyPointedAt = false;
  for (int row = 0; row < count && !anyPointedAt; ++row) {
    if (row % kQuickPassInterval == 0 && row > 0) {
      progress.Message(u"Detecting Collisions.... [" + IntToStr(row) + u"/" + IntToStr(count) + u"]");
    }
    list.FetchAhead(row);
    anyPointedAt = list.GetTagData(row)->OriginalCollision;
  }
  if (!anyPointedAt) return;  // nothing to recompute
  for (int row = 0; row < count; ++row) {
    if (row % 200 == 0) {
      progress.Message(u"Detecting Collisions.... [" + IntToStr(row) + u"/" + IntToStr(count) + u"]");
    }
    TFileListData& data = *list.GetFileData(row);
    if (!data.Checked()) continue;
    pass.FillRecord(row);
    TTagData& tag = *list.GetTagData(row);
    if (!tag.OriginalCollision) continue;
    // The flags of this pass are thrown away: it only recomputes the name.
    TTagData scratch = tag;
    std::u16string name;
    std::u16string ext;
    int collisionIndex = -1;
    pass.RunScript(name, ext, scratch, collisionIndex);
    data.SetNewName(pass.NewName(name, ext));
  }
}

}  // namespace

bool IsIllegalNewName(std::u16string_view name) {
  const auto reserved = [](char16_t c) {
    switch (c) {
      case u'?': case u'<': case u'>': case u'"': case u':': case u'|': case u'*': case u'\0':
        return true;
      default:
        return false;
    }
  };
  if (std::any_of(name.begin(), name.end(), reserved)) return true;
  size_t start = 0;
  while (true) {
    const size_t slash = name.find(u'/', start);
    const std::u16string_view part = name.substr(start, slash - start);
    if (part.empty() || part == u"." || part == u"..") return true;
    // No file system keeps it. A UTF-16 unit takes at most 3 bytes, so only
    // a long part needs encoding to be measured.
    if (part.size() * 3 > kMaxNameBytes && Utf16ToUtf8(part).size() > kMaxNameBytes) return true;
    if (slash == std::u16string_view::npos) return false;
    start = slash + 1;
  }
}

TPreviewResult ShowPreviewList(TFrmDummyShowPreview& list, const TFrmScriptActions& script,
                               TScriptContext& ctx, const TPreviewOptions& options,
                               TProgress& progress, TTextFileRenaming* textFile,
                               const TTextFileParameters* textParameters) {
  TPreviewResult result;
  if (list.GetIgnoreInterface()) return result;
  list.SetIgnoreInterface(true);
  result.ran = true;

  ctx.Sequence().Clear();
  ctx.ClearRegExpError();
  ctx.ClearReadError();
  ctx.UseRegExp = options.useRegExp;
  TMetaVariables& vars = ctx.Vars();
  vars.SetCounterUsesListPosition(options.counting.rbUsePosition);
  vars.SetCounterStart(IntegerOr(options.counting.txtStartAt, 1));
  vars.SetCounterStep(IntegerOr(options.counting.txtIncrement, 1));

  TPreviewPass pass(list, script, ctx, options, textFile);
  progress.Started(u"Generating Preview", list.Count());
  int checked = 0;
  for (int row = 0; row < list.Count(); ++row) {
    if (row % kQuickPassInterval == 0) progress.Advanced(0);
    list.GetFileData(row)->SetNewName(u"");
    if (list.GetChecked(row)) ++checked;
  }
  pass.SetSelectedTotal(checked);
  // One name per row; a table sized for just those misses the cache less.
  ctx.Collisions().Clear(static_cast<size_t>(list.Count()) + 1);

  if (textFile != nullptr && textParameters != nullptr) {
    TStatus status = textFile->Prepare(*textParameters);
    if (!status.ok()) result.readError = status;
  }
  FirstPass(list, pass, ctx, options, progress, result);
  SecondPass(list, pass, progress);
  progress.Finished();

  list.SetCollisionCount(result.CollisionCount);
  list.SetIllegalCount(result.IllegalCount);
  result.RegExpError = options.useRegExp ? ctx.LastRegExpError() : 0;
  if (result.RegExpError != 0 && result.RegExpError != kUnreportedRegExpError) {
    result.subStatus = u" Error in Regular Expression: " + IntToStr(result.RegExpError);
  }
  if (result.readError.ok()) result.readError = ctx.ReadError();
  progress.Message(result.subStatus);
  list.SetIgnoreInterface(false);
  return result;
}

std::array<std::u16string, 3> StatusPanels(int files, int folders, int checked, int changed,
                                           int collisions, int illegal,
                                           std::u16string_view subStatus) {
  std::array<std::u16string, 3> panels;
  panels[0] = u"   Files/Folders [" + IntToStr(files) + u"/" + IntToStr(folders) + u"] Checked [" +
              IntToStr(checked) + u"]";
  if (changed > 0) panels[0] += u" Changed [" + IntToStr(changed) + u"]";
  if (collisions > 0) panels[1] = u"COLLISIONS [" + IntToStr(collisions) + u"]";
  if (illegal > 0) panels[1] += u" ILLEGAL [" + IntToStr(illegal) + u"]";
  panels[2] = std::u16string(subStatus);
  return panels;
}
