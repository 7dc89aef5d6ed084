#include "config/UnitShortcutText.h"

#include "platform/UnitText.h"

namespace {

struct TKeyName {
  const char16_t* spelling;  // lower case
  const char16_t* normal;
};

constexpr TKeyName kKeyNames[] = {
    {u"bksp", u"Backspace"},  {u"backspace", u"Backspace"},
    {u"tab", u"Tab"},         {u"enter", u"Enter"},
    {u"return", u"Return"},   {u"esc", u"Esc"},
    {u"escape", u"Esc"},      {u"space", u"Space"},
    {u"pgup", u"PgUp"},       {u"pageup", u"PgUp"},
    {u"pgdn", u"PgDown"},     {u"pgdown", u"PgDown"},
    {u"pagedown", u"PgDown"}, {u"end", u"End"},
    {u"home", u"Home"},       {u"left", u"Left"},
    {u"up", u"Up"},           {u"right", u"Right"},
    {u"down", u"Down"},       {u"ins", u"Ins"},
    {u"insert", u"Ins"},      {u"del", u"Del"},
    {u"delete", u"Del"},
};

std::u16string NormalKey(std::u16string_view key) {
  if (key.size() == 1) {
    const char16_t c = key[0];
    if (c > u' ' && c < 0x7F) return UpperCase(key);
    return u"";
  }
  const std::u16string lower = AsciiLowerCase(key);
  for (const TKeyName& k : kKeyNames) {
    if (lower == k.spelling) return k.normal;
  }
  int n = 0;
  if (lower.size() >= 2 && lower[0] == u'f' && TryStrToInt(lower.substr(1), n) && n >= 1 &&
      n <= 24 && lower[1] >= u'1' && lower[1] <= u'9') {
    return u"F" + IntToStr(n);
  }
  return u"";
}

// Strips a leading "name+" (ignoring case) from `rest`; true when it did.
bool TakeModifier(std::u16string_view& rest, std::u16string_view name) {
  if (rest.size() <= name.size() + 1) return false;
  if (AsciiLowerCase(rest.substr(0, name.size())) != name || rest[name.size()] != u'+') {
    return false;
  }
  rest.remove_prefix(name.size() + 1);
  return true;
}

}  // namespace

std::u16string NormalShortcutText(std::u16string_view text) {
  const std::u16string trimmed = Trim(text);
  std::u16string_view rest = trimmed;
  bool ctrl = false, alt = false, shift = false;
  for (bool found = true; found;) {
    found = false;
    if (TakeModifier(rest, u"ctrl")) ctrl = found = true;
    if (TakeModifier(rest, u"alt")) alt = found = true;
    if (TakeModifier(rest, u"shift")) shift = found = true;
  }
  const std::u16string key = NormalKey(rest);
  if (key.empty()) return u"";
  return std::u16string(ctrl ? u"Ctrl+" : u"") + (alt ? u"Alt+" : u"") + (shift ? u"Shift+" : u"") +
         key;
}
