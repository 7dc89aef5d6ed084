#include "rename/UnitRenameJournal.h"

#include <cerrno>
#include <charconv>
#include <set>

#include "platform/UnitSplitWork.h"
#include "platform/UnitText.h"
#include "rename/UnitEscapedName.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"

namespace {

// Version 2 may name a base folder, which every name after it lies in and
// is written relative to; version 1, which a build before it left, holds
// whole names only. Version 3 writes a place that begins with an earlier
// name of its entry as a reference: "\" and the digit of that name (0 for
// the home, 1 for the first place, ...), then what follows it, in which a
// leading "\~" stands for the temporary-name suffix. Most places of a run
// are another of its names plus a suffix, and the journal is half as long.
constexpr std::string_view kHeader = "tallowick journal 3\n";
constexpr std::string_view kHeaderVersion2 = "tallowick journal 2\n";
constexpr std::string_view kHeaderVersion1 = "tallowick journal 1\n";
constexpr std::string_view kSuffixMark = "\\~";
constexpr std::u16string_view kTempSuffix = kTempNameSuffix;
constexpr std::u16string_view kParkSuffix = u".TW_RECOVER";

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

bool Number(std::string_view text, uint64_t& value) {
  if (text.empty()) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return true;
}

void AppendNumber(std::string& out, uint64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

std::u16string ParentOf(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos || slash == 0 ? std::u16string() : path.substr(0, slash);
}

// Where an entry of the journal is now; empty when it is found nowhere.
std::u16string Locate(TFileSystem& fs, const TJournalEntry& entry) {
  std::vector<std::u16string> names = {entry.home};
  names.insert(names.end(), entry.places.begin(), entry.places.end());
  for (const std::u16string& name : names) {
    if (IdentityOf(fs, name) == entry.id) return name;
  }
  return {};
}

// A name beside `home` that nothing holds, short enough for any home.
std::u16string FreeParkingName(TFileSystem& fs, const std::u16string& home) {
  std::u16string name = WithSuffixFitting(home, kParkSuffix);
  for (int n = 2; fs.Exists(name); ++n) {
    name = WithSuffixFitting(home, std::u16string(kParkSuffix) + IntToStr(n));
  }
  return name;
}

struct TParked {
  const TJournalEntry* entry;
  std::u16string found;   // where it was found
  std::u16string parked;  // where it waits for its home
};

}  // namespace

TEntryIdentity IdentityOf(TFileSystem& fs, const std::u16string& path) {
  TEntryIdentity id;
  if (!fs.GetEntryIdentity(path, id).ok()) return TEntryIdentity();
  return id;
}

namespace {

// The size of the lines of `count` entries like `entry`, every name ASCII.
size_t GuessedSize(const TJournalEntryView& entry, size_t count) {
  size_t units = entry.home.size() + 48;
  for (const std::u16string_view place : entry.places) units += place.size() + 1;
  return units * count * 9 / 8;
}

// Place `k` of `entry`: a reference to the longest earlier name of the
// entry that it begins with, where one does (kHeader), else escaped whole.
void AppendPlace(std::string& out, const TJournalEntryView& entry, size_t k) {
  const std::u16string_view place = entry.places[k];
  size_t referred = 0;  // the length of the name referred to; 0 for none
  char digit = 0;
  for (size_t i = 0; i <= k && i <= 9; ++i) {
    const std::u16string_view earlier = i == 0 ? entry.home : entry.places[i - 1];
    if (earlier.size() > referred && place.starts_with(earlier) && !earlier.empty()) {
      referred = earlier.size();
      digit = static_cast<char>('0' + i);
    }
  }
  if (referred == 0) {
    AppendEscapedName(out, place);
    return;
  }
  out += '\\';
  out += digit;
  std::u16string_view rest = place.substr(referred);
  if (rest.starts_with(kTempSuffix)) {
    out += kSuffixMark;
    rest.remove_prefix(kTempSuffix.size());
  }
  AppendEscapedName(out, rest);
}

// The lines of the entries [begin, end).
void AppendEntries(std::string& out, const TJournalEntryReader& entryAt, size_t begin, size_t end) {
  TJournalEntryView entry;
  std::u16string scratch;
  for (size_t i = begin; i < end; ++i) {
    entryAt(i, entry, scratch);
    if (i == begin) out.reserve(out.size() + GuessedSize(entry, end - begin));
    out += "entry\t";
    AppendNumber(out, entry.id.device);
    out += '\t';
    AppendNumber(out, entry.id.inode);
    out += '\t';
    AppendEscapedName(out, entry.home);
    for (size_t k = 0; k < entry.places.size(); ++k) {
      out += '\t';
      AppendPlace(out, entry, k);
    }
    out += '\n';
  }
}

}  // namespace

std::string EncodeJournal(const TJournal& journal) {
  return EncodeJournal(journal, journal.entries.size(),
                       [&journal](size_t i, TJournalEntryView& entry, std::u16string&) {
                         const TJournalEntry& stored = journal.entries[i];
                         entry.id = stored.id;
                         entry.home = stored.home;
                         entry.places.assign(stored.places.begin(), stored.places.end());
                       });
}

std::string EncodeJournal(const TJournal& head, size_t count, const TJournalEntryReader& entryAt) {
  std::string out(kHeader);
  out += "kind\t";
  AppendEscapedName(out, head.kind);
  out += "\nstate\t";
  AppendEscapedName(out, head.stateFile);
  out += '\n';
  if (!head.base.empty()) {
    out += "base\t";
    AppendEscapedName(out, head.base);
    out += '\n';
  }
  if (count > 0) {
    // Room for the whole journal at once, so that the second half joins the
    // first without moving it.
    TJournalEntryView first;
    std::u16string scratch;
    entryAt(0, first, scratch);
    out.reserve(out.size() + GuessedSize(first, count));
  }
  // A long journal is encoded in two halves at once: a run waits for it
  // before its first move.
  std::string secondHalf;
  SplitOverTwoThreads(count, [&](size_t begin, size_t end) {
    AppendEntries(begin == 0 ? out : secondHalf, entryAt, begin, end);
  });
  out += secondHalf;
  for (const std::u16string& folder : head.folders) {
    out += "folder\t";
    AppendEscapedName(out, folder);
    out += '\n';
  }
  out += "end\n";
  return out;
}

bool DecodeJournal(const std::string& bytes, TJournal& journal, std::u16string& problem) {
  journal = TJournal();
  const bool version1 = bytes.starts_with(kHeaderVersion1);
  const bool version3 = bytes.starts_with(kHeader);
  if (!version1 && !version3 && !bytes.starts_with(kHeaderVersion2)) {
    problem = u"not a journal of this program";
    return false;
  }
  size_t start = kHeader.size();
  std::u16string base;  // prefixed to every name read after it
  const auto name = [&base](std::string_view field, std::u16string& out) {
    if (!UnescapedName(field, out)) return false;
    out.insert(0, base);
    return true;
  };
  // A place of version 3: a name, or a reference to an earlier name of `entry`.
  const auto place = [&name](std::string_view field, const TJournalEntry& entry,
                             std::u16string& out) {
    if (field.size() < 2 || field[0] != '\\' || field[1] < '0' || field[1] > '9') {
      return name(field, out);
    }
    const size_t index = static_cast<size_t>(field[1] - '0');
    // The place being read is the last of `entry.places` already.
    if (index >= entry.places.size()) return false;
    out = index == 0 ? entry.home : entry.places[index - 1];
    field.remove_prefix(2);
    if (field.starts_with(kSuffixMark)) {
      out += kTempSuffix;
      field.remove_prefix(kSuffixMark.size());
    }
    std::u16string rest;
    if (!UnescapedName(field, rest)) return false;
    out += rest;
    return true;
  };
  int number = 1;
  bool ended = false;
  while (start < bytes.size()) {
    const size_t end = bytes.find('\n', start);
    if (end == std::string::npos) break;
    const std::string_view line(bytes.data() + start, end - start);
    start = end + 1;
    ++number;
    const std::vector<std::string_view> fields = Fields(line);
    bool good = true;
    if (fields[0] == "kind" && fields.size() == 2) {
      good = UnescapedName(fields[1], journal.kind);
    } else if (fields[0] == "state" && fields.size() == 2) {
      good = UnescapedName(fields[1], journal.stateFile);
    } else if (fields[0] == "base" && fields.size() == 2 && !version1 && base.empty() &&
               journal.entries.empty() && journal.folders.empty()) {
      good = UnescapedName(fields[1], base) && !base.empty();
    } else if (fields[0] == "entry" && fields.size() >= 4) {
      TJournalEntry entry;
      good = Number(fields[1], entry.id.device) && Number(fields[2], entry.id.inode) &&
             name(fields[3], entry.home);
      for (size_t i = 4; good && i < fields.size(); ++i) {
        entry.places.emplace_back();
        good = version3 ? place(fields[i], entry, entry.places.back())
                        : name(fields[i], entry.places.back());
      }
      journal.entries.push_back(std::move(entry));
    } else if (fields[0] == "folder" && fields.size() == 2) {
      journal.folders.emplace_back();
      good = name(fields[1], journal.folders.back());
    } else if (fields[0] == "end" && fields.size() == 1) {
      ended = true;
    } else {
      good = false;
    }
    if (!good) {
      problem = u"line " + IntToStr(number) + u" cannot be read";
      return false;
    }
  }
  if (!ended) {
    problem = u"the journal is cut short";
    return false;
  }
  return true;
}

TRecoveryReport RecoverJournal(TFileSystem& fs, const TJournal& journal) {
  TRecoveryReport report;
  const auto problem = [&](const std::u16string& text) {
    report.problems.push_back(text);
    report.complete = false;
  };
  std::vector<TParked> misplaced;
  std::set<std::u16string> claimed;
  for (const TJournalEntry& entry : journal.entries) {
    if (!entry.id.Known()) {
      if (!fs.Exists(entry.home)) problem(entry.home + u": cannot be identified; not moved");
      continue;
    }
    const std::u16string found = Locate(fs, entry);
    if (found.empty()) {
      problem(entry.home + u": found under none of its names; not moved");
    } else if (!claimed.insert(found).second) {
      problem(entry.home + u": " + found + u" is also another entry of the run; not moved");
    } else if (found != entry.home) {
      misplaced.push_back({&entry, found, {}});
    }
  }
  // Park first, so that entries that swapped or chained names free them.
  for (TParked& entry : misplaced) {
    (void)fs.CreateFolderPath(ParentOf(entry.entry->home));
    entry.parked = FreeParkingName(fs, entry.entry->home);
    const TStatus status = fs.RenameNoReplace(entry.found, entry.parked);
    if (!status.ok()) {
      problem(entry.entry->home + u": cannot move " + entry.found + u": " + status.reason());
      entry.parked.clear();
    }
  }
  // Folders the run made, empty now that every entry is parked, may stand
  // where an entry returns; innermost first.
  for (auto folder = journal.folders.rbegin(); folder != journal.folders.rend(); ++folder) {
    (void)fs.RemoveEmptyFolder(*folder);
  }
  for (const TParked& entry : misplaced) {
    if (entry.parked.empty()) continue;
    const TStatus status = fs.RenameNoReplace(entry.parked, entry.entry->home);
    if (status.ok()) {
      report.moved.push_back(entry.found + u" -> " + entry.entry->home);
      continue;
    }
    const bool back = fs.RenameNoReplace(entry.parked, entry.found).ok();
    problem(entry.entry->home + u": " + status.reason() + u"; left under " +
            (back ? entry.found : entry.parked));
  }
  return report;
}

TRenameJournal::TRenameJournal(TFileSystem& fs, std::u16string undoFolder)
    : fs_(fs), undoFolder_(std::move(undoFolder)) {}

TStatus TRenameJournal::Write(const TJournal& journal) { return WriteEncoded(EncodeJournal(journal)); }

TStatus TRenameJournal::WriteEncoded(const std::string& bytes) {
  TStatus status = fs_.CreateFolderPath(undoFolder_);
  if (!status.ok()) return status;
  return fs_.ReplaceFileAtomically(Path(), bytes);
}

TStatus TRenameJournal::Read(TJournal& journal) const {
  std::string bytes;
  TStatus status = fs_.ReadWholeFile(Path(), bytes);
  if (!status.ok()) return status;
  std::u16string problem;
  if (!DecodeJournal(bytes, journal, problem)) return TStatus::Error(EINVAL, Path(), problem);
  return TStatus::Ok();
}

TStatus TRenameJournal::Remove() { return fs_.DeleteFile(Path()); }

TStatus TRenameJournal::RecoverLeftOver(TRecoveryReport& report, bool& found) {
  report = TRecoveryReport();
  found = Exists();
  if (!found) return TStatus::Ok();
  // The undo record the run was writing beside its moves is of no use now.
  fs_.RemoveLeftOverReplacements(undoFolder_);
  TJournal journal;
  const TStatus read = Read(journal);
  if (!read.ok()) return read;
  report = RecoverJournal(fs_, journal);
  if (!report.complete) return TStatus::Ok();  // kept for another attempt
  // Every entry is home: no stored batch of that run may be replayed.
  if (!journal.stateFile.empty()) (void)fs_.DeleteFile(journal.stateFile);
  return Remove();
}
