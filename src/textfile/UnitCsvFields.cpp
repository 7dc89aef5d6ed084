#include "textfile/UnitCsvFields.h"

bool TFieldScanner::Next(std::u16string& field) {
  field.clear();
  if (done_) return false;
  if (pos_ == line_.size()) {  // after a delimiter that ends the line
    done_ = true;
    return true;
  }
  if (line_[pos_] == u'"') {
    ScanQuoted(field);
    return true;
  }
  const size_t end = line_.find(delim_, pos_);
  if (end == std::u16string_view::npos) {
    field.assign(line_.substr(pos_));
    done_ = true;
  } else {
    field.assign(line_.substr(pos_, end - pos_));
    pos_ = end + 1;
  }
  return true;
}

void TFieldScanner::ScanQuoted(std::u16string& field) {
  ++pos_;
  bool closed = false;
  while (pos_ < line_.size()) {
    const char16_t c = line_[pos_];
    if (c != u'"') {
      const size_t quote = line_.find(u'"', pos_);
      const size_t end = quote == std::u16string_view::npos ? line_.size() : quote;
      field.append(line_.substr(pos_, end - pos_));
      pos_ = end;
    } else if (pos_ + 1 < line_.size() && line_[pos_ + 1] == u'"') {
      field.push_back(u'"');
      pos_ += 2;
    } else {
      ++pos_;
      closed = true;
      break;
    }
  }
  if (!closed || pos_ == line_.size()) {
    done_ = true;
  } else if (line_[pos_] == delim_) {
    ++pos_;
  }
  // Otherwise the text after the closing mark is the next field.
}

std::vector<std::u16string> SplitFields(std::u16string_view line, char16_t delim) {
  std::vector<std::u16string> fields;
  TFieldScanner scanner(line, delim);
  for (std::u16string field; scanner.Next(field);) fields.push_back(std::move(field));
  return fields;
}

size_t CountFields(std::u16string_view line, char16_t delim) {
  size_t count = 0;
  TFieldScanner scanner(line, delim);
  for (std::u16string field; scanner.Next(field);) ++count;
  return count;
}
