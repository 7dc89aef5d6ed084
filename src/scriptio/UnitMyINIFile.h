// The INI value store under script files and "tw.ini": UTF-16LE text with a
// byte-order mark and CR LF, every value written under its key name plus
// "_unicode", values with outer blanks quoted. Held in memory; UpdateFile()
// rewrites the file in one atomic replacement.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/UnitStatus.h"

class TFileSystem;

// How the bytes of a loaded file were decoded.
enum class TIniEncoding : uint8_t { Utf16LE, Utf16BE, Utf8, Windows1252 };

// "Blank" below is any character up to U+0020, the ones a line is trimmed of.
// The value as written to the file: in double quotes when it has outer
// blanks, begins with a double quote and a blank, or ends with a blank and a
// double quote. Line breaks become spaces (a value is one line).
std::u16string QuoteIniValue(std::u16string_view value);
// The value of a "_unicode" key as read: a value that begins and ends with a
// double quote loses them when it begins with a quote (or two) and a blank,
// or ends with a blank and a quote (or two); any other value is returned as
// it stands.
std::u16string UnquoteIniValue(std::u16string_view stored);
// The value of a plain key of an older file: one pair of enclosing quotes,
// double or single, dropped.
std::u16string UnquotePlainIniValue(std::u16string_view stored);
// An integer value: more than two characters beginning with "0x"/"0X" are
// hexadecimal, anything else decimal with an optional sign. False when the
// text is empty, unreadable or out of the int range.
bool ParseIniInteger(std::u16string_view text, int& value);

class TMyINIFile {
 public:
  // Files above this size are not read (a settings or script file is tiny).
  static constexpr uint64_t kMaxFileSize = 64u << 20;

  TMyINIFile() = default;

  // Binds the store to `path` and reads it. A missing file gives an empty
  // store and Ok; a file that cannot be read gives an empty store and a status
  // naming the file and the reason. REQUIRES: `fs` outlives the store.
  TStatus Open(TFileSystem& fs, std::u16string path);
  // Binds the store to `path` with empty content, to replace the file whole.
  void Create(TFileSystem& fs, std::u16string path);
  // Rewrites the bound file from memory when anything changed since the last
  // load or update (ReplaceFileAtomically). On failure the file keeps its old
  // content and the status names the file and the reason.
  TStatus UpdateFile();
  const std::u16string& FileName() const { return fileName_; }
  bool Modified() const { return modified_; }

  // Replaces the content by a file's bytes, decoded by its byte-order mark;
  // without one: UTF-16LE when the bytes look like it, else UTF-8, else
  // Windows-1252. Never fails; undecodable pieces become U+FFFD.
  void LoadFromBytes(std::string_view bytes);
  // The content in the stored form: FF FE, UTF-16LE, CR LF, every section
  // followed by an empty line.
  std::string SaveToBytes() const;
  TIniEncoding Encoding() const { return encoding_; }

  // Values. Section and key names match without regard to case; `key` is the
  // name without "_unicode".
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view def) const;
  int ReadInteger(std::u16string_view section, std::u16string_view key, int def) const;
  bool ReadBool(std::u16string_view section, std::u16string_view key, bool def) const;
  // Write under key + "_unicode" (a plain key of the same name stays as it is).
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void WriteInteger(std::u16string_view section, std::u16string_view key, int value);
  void WriteBool(std::u16string_view section, std::u16string_view key, bool value);
  // Writes `key` itself, without "_unicode", the value as it stands on one
  // line: the plain keys a settings file keeps beside the store's own
  // (the "Column_" sections of "tw.ini").
  void WritePlainString(std::u16string_view section, std::u16string_view key,
                        std::u16string_view value);

  bool SectionExists(std::u16string_view section) const;
  // True when the section holds `key` in either stored form.
  bool ValueExists(std::u16string_view section, std::u16string_view key) const;
  // Removes both stored forms of `key`.
  void DeleteKey(std::u16string_view section, std::u16string_view key);
  void EraseSection(std::u16string_view section);
  // Section names in file order.
  std::vector<std::u16string> ReadSections() const;
  // Key names of a section in file order, "_unicode" dropped, each name once.
  std::vector<std::u16string> ReadSection(std::u16string_view section) const;
  void Clear();

 private:
  struct TKeyLine {
    std::u16string name;  // as stored, suffix included
    std::u16string raw;   // the value as stored, quotes included
  };
  struct TSection {
    std::u16string name;
    std::vector<TKeyLine> keys;
    std::unordered_map<std::u16string, size_t> index;  // lower-case name -> keys[i]
  };

  void LoadFromText(std::u16string_view text);
  void AddLine(TSection* section, std::u16string_view line);
  TSection* AddSection(std::u16string_view name);
  const TSection* FindSection(std::u16string_view name) const;
  TSection* FindSection(std::u16string_view name);
  static const TKeyLine* FindKey(const TSection& section, std::u16string_view storedName);
  static void RebuildIndex(TSection& section);

  std::vector<TSection> sections_;
  std::unordered_map<std::u16string, size_t> sectionIndex_;  // lower-case name -> sections_[i]
  TFileSystem* fs_ = nullptr;
  std::u16string fileName_;
  TIniEncoding encoding_ = TIniEncoding::Utf16LE;
  bool modified_ = false;
};
