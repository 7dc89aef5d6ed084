// One row of the file list: the entry's name relative to the listed folder,
// the texts of its other columns, its custom-column values and the check and
// selection marks that the list object keeps in step with its counts.
#pragma once

#include <array>
#include <string>
#include <vector>

class TFileListData {
 public:
  // Positions in SubItems.
  static constexpr int kNewNameColumn = 0;
  static constexpr int kSizeColumn = 1;
  static constexpr int kTypeColumn = 2;
  static constexpr int kDateColumn = 3;  // date modified
  static constexpr int kDateCreatedColumn = 4;
  static constexpr const char16_t* kFolderType = u"<DIR>";

  int index = 0;          // position in the list when the entry was added
  std::u16string caption; // sub-folder path with trailing "/" + name; the Name column
  std::u16string altname; // short-name form; never set on this platform
  int data = 0;           // index of the entry's TTagData in the list's tagdata
  int ImageIndex = 0;
  bool AltNameUsed = false;
  std::array<std::u16string, 5> SubItems;  // new name, size, type, date modified, date created
  std::vector<std::u16string> fcustomdata; // one value per custom column

  const std::u16string& GetName() const { return caption; }
  void SetName(std::u16string value) { caption = std::move(value); }
  const std::u16string& GetNewName() const { return SubItems[kNewNameColumn]; }
  void SetNewName(std::u16string value) { SubItems[kNewNameColumn] = std::move(value); }
  const std::u16string& GetSize() const { return SubItems[kSizeColumn]; }
  void SetSize(std::u16string value) { SubItems[kSizeColumn] = std::move(value); }
  const std::u16string& GetType() const { return SubItems[kTypeColumn]; }
  // A folder's type column reads "<DIR>" whatever `value` is.
  void SetType(std::u16string value, bool isDir);
  const std::u16string& GetDate() const { return SubItems[kDateColumn]; }
  void SetDate(std::u16string value) { SubItems[kDateColumn] = std::move(value); }
  const std::u16string& GetDateCreated() const { return SubItems[kDateCreatedColumn]; }
  void SetDateCreated(std::u16string value) { SubItems[kDateCreatedColumn] = std::move(value); }
  const std::u16string& GetAltName() const { return altname; }
  std::vector<std::u16string>& CustomData() { return fcustomdata; }
  const std::vector<std::u16string>& CustomData() const { return fcustomdata; }
  // The value of custom column `i`, empty when the entry has none.
  const std::u16string& GetCustomValue(size_t i) const;

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
  bool fChecked = false;
  bool fSelected = false;
};
