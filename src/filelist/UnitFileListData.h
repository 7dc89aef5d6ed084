// One row of the file list: the entry's name relative to the listed folder,
// the texts of its other columns, its custom-column values and the check and
// selection marks that the list object keeps in step with its counts.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// An immutable column text that rows share: the entries of one folder mostly
// show the same few date texts, so each distinct text is kept once.
using TSharedText = std::shared_ptr<const std::u16string>;

class TFileListData {
 public:
  // Column numbers, as the window and GetColumnText count them.
  static constexpr int kNameColumn = 0;
  static constexpr int kNewNameColumn = 1;
  static constexpr int kSizeColumn = 2;
  static constexpr int kTypeColumn = 3;
  static constexpr int kDateColumn = 4;  // date modified
  static constexpr int kDateCreatedColumn = 5;
  static constexpr const char16_t* kFolderType = u"<DIR>";

  // Members are ordered so that no padding lies between them: a list holds
  // one row per entry.
  int index = 0;          // position in the list when the entry was added
  int data = 0;           // index of the entry's TTagData in the list's tagdata
  std::u16string caption; // sub-folder path with trailing "/" + name; the Name column
  std::vector<std::u16string> fcustomdata; // one value per custom column

  const std::u16string& GetName() const { return caption; }
  void SetName(std::u16string value) { caption = std::move(value); }
  const std::u16string& GetNewName() const { return fNewName; }
  void SetNewName(std::u16string value) { fNewName = std::move(value); }
  const std::u16string& GetSize() const { return fSize; }
  void SetSize(std::u16string value) { fSize = std::move(value); }
  const std::u16string& GetType() const { return fType; }
  // A folder's type column reads "<DIR>" whatever `value` is.
  void SetType(std::u16string value, bool isDir);
  const std::u16string& GetDate() const { return TextOf(fDate); }
  void SetDate(std::u16string value) { fDate = ShareText(value); }
  void SetDate(TSharedText value) { fDate = std::move(value); }
  const std::u16string& GetDateCreated() const { return TextOf(fDateCreated); }
  void SetDateCreated(std::u16string value) { fDateCreated = ShareText(value); }
  void SetDateCreated(TSharedText value) { fDateCreated = std::move(value); }
  // The short-name form of the name; entries never have one on this platform.
  const std::u16string& GetAltName() const;
  // The text of column `column` (kNameColumn ... kDateCreatedColumn); empty
  // for any other number.
  const std::u16string& ColumnText(int column) const;
  std::vector<std::u16string>& CustomData() { return fcustomdata; }
  const std::vector<std::u16string>& CustomData() const { return fcustomdata; }
  // The value of custom column `i`, empty when the entry has none.
  const std::u16string& GetCustomValue(size_t i) const;

  // A shared text holding `value`; none (read as empty) for an empty value.
  static TSharedText ShareText(std::u16string_view value);

  // Check and selection state; changed only through the list object, which
  // keeps its checked count in step.
  bool Checked() const { return fChecked; }
  int StateIndex() const { return fChecked ? 1 : 0; }  // check-box image: 1 checked
  bool Selected() const { return fSelected; }

  // Rows live side by side in one pool (see UnitBlockPool.h).
  static void* operator new(size_t size);
  static void operator delete(void* row, size_t size);

 private:
  friend class TFrmDummyShowPreview;
  static const std::u16string& TextOf(const TSharedText& text);

  std::u16string fNewName;
  std::u16string fSize;
  std::u16string fType;
  TSharedText fDate;
  TSharedText fDateCreated;

 public:
  int ImageIndex = 0;

 private:
  bool fChecked = false;
  bool fSelected = false;
};
