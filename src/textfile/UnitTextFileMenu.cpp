#include "textfile/UnitTextFileMenu.h"

#include <algorithm>

#include "platform/UnitText.h"
#include "textfile/UnitTextFileFormat.h"
#include "textfile/UnitTextFileRenaming.h"

namespace {

TTextFileMenuItem FieldItem(int number) {
  return {u"Field " + IntToStr(number), u"?text" + IntToStr(number) + u"?"};
}

}  // namespace

TStatus RebuildTextFileMenu(TFileSystem& fs, const TTextFileParameters& parameters,
                            TTextFileFormat& format, TTextFileMenu& menu) {
  menu.Enabled = false;
  if (!TextFileExists(fs, parameters.txtTName)) return TStatus::Ok();
  menu.Items.clear();
  ApplyTextFileLayout(parameters, format);
  TStatus status = format.LoadFromFile(fs, parameters.txtTName);
  if (!status.ok()) return status;
  const int fields = parameters.cbTDelim ? std::min(format.FieldCount(), kMaxTextFields) : 0;
  for (int number = 1; number <= std::max(fields, 1); ++number) {
    menu.Items.push_back(FieldItem(number));
  }
  menu.Enabled = true;
  return TStatus::Ok();
}
