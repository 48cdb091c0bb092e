#include "grid/model/ClipText.h"

namespace grid {

namespace {

constexpr char kQuote = '"';

bool NeedsQuotes(std::string_view text) {
  return text.find_first_of("\r\n\t\"") != std::string_view::npos;
}

// Inner quotes doubled, each line break one LF, the whole in quotes.
AnsiString Quoted(std::string_view text) {
  AnsiString out;
  out.reserve(text.size() + 2);
  out += kQuote;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == kQuote) {
      out += "\"\"";
    } else {
      out += c;
    }
  }
  out += kQuote;
  return out;
}

bool IsFieldEnd(std::string_view text, size_t i) {
  return i >= text.size() || text[i] == '\t' || text[i] == '\r' || text[i] == '\n';
}

// The value of a quoted field's inside: doubled quotes one, each line break
// (and each vertical tab of the packed form) CR LF.
AnsiString Unquote(std::string_view inside) {
  AnsiString out;
  out.reserve(inside.size() + 8);
  for (size_t i = 0; i < inside.size(); ++i) {
    const char c = inside[i];
    if (c == kQuote) {
      out += kQuote;
      if (i + 1 < inside.size() && inside[i + 1] == kQuote) ++i;
    } else if (c == '\r' || c == '\n' || c == '\x0B') {
      out += "\r\n";
      if (c == '\r' && i + 1 < inside.size() && inside[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

AnsiString ClipField(std::string_view text) { return NeedsQuotes(text) ? Quoted(text) : AnsiString(text); }

AnsiString PackedClipField(std::string_view text) {
  AnsiString packed;
  packed.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      packed += '\x0B';
      ++i;
    } else {
      packed += text[i];
    }
  }
  return Quoted(packed);
}

void TClipTextWriter::AddField(std::string_view field) {
  if (rowStarted_) text_ += '\t';
  text_ += field;
  rowStarted_ = true;
}

void TClipTextWriter::EndRow() {
  if (multiRow_) text_ += "\r\n";
  rowStarted_ = false;
}

AnsiString BuildClipText(const std::vector<std::vector<AnsiString>>& rows) {
  TClipTextWriter writer(static_cast<Integer>(rows.size()));
  for (const auto& row : rows) {
    for (const auto& cell : row) writer.Cell(cell);
    writer.EndRow();
  }
  return writer.Text();
}

TClipText ParseClipText(std::string_view text) {
  TClipText result;
  result.Lines.emplace_back();
  // A quoted field that ran to the end of the text without its closing
  // quote: later quoted-looking fields would scan the same stretch again,
  // so they are taken as they stand (keeps the reading linear).
  bool unclosedSeen = false;
  size_t i = 0;
  for (;;) {
    // One field from i.
    AnsiString value;
    size_t end = i;
    bool quoted = false;
    if (i < text.size() && text[i] == kQuote && !unclosedSeen) {
      size_t j = i + 1;
      for (;;) {
        if (j >= text.size()) {
          unclosedSeen = true;
          break;
        }
        if (text[j] == kQuote) {
          if (j + 1 < text.size() && text[j + 1] == kQuote) {
            j += 2;
            continue;
          }
          if (IsFieldEnd(text, j + 1)) {
            value = Unquote(text.substr(i + 1, j - i - 1));
            end = j + 1;
            quoted = true;
          }
          break;
        }
        ++j;
      }
    }
    if (!quoted) {
      while (!IsFieldEnd(text, end)) ++end;
      value = AnsiString(text.substr(i, end - i));
    }
    result.Lines.back().push_back(std::move(value));
    ++result.Count;
    if (end >= text.size()) break;
    if (text[end] == '\t') {
      i = end + 1;
      if (i >= text.size()) {
        // A tab at the very end leaves an empty last field.
        result.Lines.back().emplace_back();
        ++result.Count;
        break;
      }
      continue;
    }
    // A line end: CR LF, CR or LF.
    i = end + 1;
    if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
    result.Lines.emplace_back();
    if (i >= text.size()) {
      result.Lines.back().emplace_back();
      ++result.Count;
      break;
    }
  }
  result.Cols = static_cast<Integer>(result.Lines.back().size());
  result.LastFieldEmpty = result.Lines.back().back().empty();
  return result;
}

}  // namespace grid
