#include "rtl/IniFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"
#include "rtl/UpdateScope.h"

namespace rtl {

namespace ini_detail {

// One line of the file. Lines that are not entries (comments, blanks,
// unknown text) keep their text and are written back as they were.
struct Line {
  AnsiString raw;
  AnsiString key;  // trimmed; entries only
  AnsiString value;  // trimmed; entries only
  bool entry = false;
};

struct Section {
  AnsiString name;  // trimmed, as written
  AnsiString header;  // the header line as read, or "[name]"
  std::vector<Line> lines;
};

// The file as a list of sections. Lookups treat sections of the same name
// as one: the first key found wins, new keys go to the first such section.
struct Document {
  std::vector<Line> preamble;  // lines before the first section
  std::vector<Section> sections;

  void Clear() {
    preamble.clear();
    sections.clear();
  }

  void Parse(const AnsiString& text) {
    Clear();
    TStringList lines;
    lines.SetText(text);
    for (Integer i = 0; i < lines.Count(); ++i) AddLine(lines[i]);
  }

  void AddLine(const AnsiString& raw) {
    AnsiString t = Trim(raw);
    if (!t.empty() && t[0] == '[') {
      auto close = t.find(']');
      AnsiString name = Trim(t.substr(1, close == AnsiString::npos ? AnsiString::npos : close - 1));
      sections.push_back(Section{name, raw, {}});
      return;
    }
    Line line{raw, {}, {}, false};
    if (!t.empty() && t[0] != ';') {
      auto eq = t.find('=');
      if (eq != AnsiString::npos) {
        line.key = Trim(t.substr(0, eq));
        line.value = Trim(t.substr(eq + 1));
        line.entry = !line.key.empty();
      }
    }
    (sections.empty() ? preamble : sections.back().lines).push_back(std::move(line));
  }

  AnsiString Render() const {
    AnsiString out;
    for (const Line& l : preamble) out += l.raw + "\r\n";
    for (const Section& s : sections) {
      out += s.header + "\r\n";
      for (const Line& l : s.lines) out += l.raw + "\r\n";
    }
    return out;
  }

  Section* FindSection(const AnsiString& name) {
    AnsiString key = Trim(name);
    for (Section& s : sections)
      if (SameText(s.name, key)) return &s;
    return nullptr;
  }

  Line* FindEntry(const AnsiString& section, const AnsiString& ident) {
    AnsiString sec = Trim(section), id = Trim(ident);
    for (Section& s : sections) {
      if (!SameText(s.name, sec)) continue;
      for (Line& l : s.lines)
        if (l.entry && SameText(l.key, id)) return &l;
    }
    return nullptr;
  }

  void Write(const AnsiString& section, const AnsiString& ident, const AnsiString& value) {
    AnsiString id = Trim(ident);
    if (Line* l = FindEntry(section, ident)) {
      l->value = Trim(value);
      l->raw = l->key + "=" + value;
      return;
    }
    Section* s = FindSection(section);
    if (!s) {
      // A blank line before a new section keeps the file readable.
      std::vector<Line>& last = sections.empty() ? preamble : sections.back().lines;
      bool needsGap = sections.empty() ? !preamble.empty() && !Trim(preamble.back().raw).empty()
                                       : last.empty() || !Trim(last.back().raw).empty();
      if (needsGap) last.push_back(Line{});
      AnsiString name = Trim(section);
      sections.push_back(Section{name, "[" + name + "]", {}});
      s = &sections.back();
    }
    // After the last non-blank line of the section, so a blank separator
    // before the next section stays where it is.
    size_t at = s->lines.size();
    while (at > 0 && Trim(s->lines[at - 1].raw).empty()) --at;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at),
                    Line{id + "=" + value, id, Trim(value), true});
  }

  void EraseSection(const AnsiString& section) {
    AnsiString sec = Trim(section);
    std::erase_if(sections, [&](const Section& s) { return SameText(s.name, sec); });
  }

  void DeleteKey(const AnsiString& section, const AnsiString& ident) {
    AnsiString sec = Trim(section), id = Trim(ident);
    for (Section& s : sections)
      if (SameText(s.name, sec))
        std::erase_if(s.lines, [&](const Line& l) { return l.entry && SameText(l.key, id); });
  }

  void ReadSection(const AnsiString& section, TStrings& strings) {
    ReadEntries(section, strings, false);
  }

  void ReadSections(TStrings& strings) {
    TUpdateScope<TStrings> update(strings);
    strings.Clear();
    std::vector<AnsiString> seen;
    for (const Section& s : sections) {
      bool dup = false;
      for (const AnsiString& n : seen) dup = dup || SameText(n, s.name);
      if (dup) continue;
      seen.push_back(s.name);
      strings.Add(s.name);
    }
  }

  void ReadSectionValues(const AnsiString& section, TStrings& strings) {
    ReadEntries(section, strings, true);
  }

  // The keys of a section, or its "key=value" lines, in file order.
  void ReadEntries(const AnsiString& section, TStrings& strings, bool withValues) {
    AnsiString sec = Trim(section);
    TUpdateScope<TStrings> update(strings);
    strings.Clear();
    for (Section& s : sections)
      if (SameText(s.name, sec))
        for (const Line& l : s.lines)
          if (l.entry) strings.Add(withValues ? l.key + "=" + l.value : l.key);
  }
};

// Reads the file into doc; a missing file gives an empty document.
void Load(const AnsiString& fileName, Document& doc) {
  doc.Clear();
  if (!FileExists(fileName)) return;
  doc.Parse(ReadStoredText(ReadFileBytes(fileName)));
}

}  // namespace ini_detail

using ini_detail::Document;

// ----------------------------------------------------------- TCustomIniFile

Integer TCustomIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident,
                                    Integer def) {
  return StrToIntDef(Trim(ReadString(section, ident, AnsiString())), def);
}

void TCustomIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident,
                                  Integer value) {
  WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool def) {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const AnsiString& section, const AnsiString& ident, double def) {
  AnsiString s = Trim(ReadString(section, ident, AnsiString()));
  return s.empty() ? def : StrToFloatDef(s, def);
}

void TCustomIniFile::WriteFloat(const AnsiString& section, const AnsiString& ident,
                                double value) {
  WriteString(section, ident, FloatToStr(value));
}

bool TCustomIniFile::SectionExists(const AnsiString& section) {
  TStringList names;
  ReadSections(names);
  for (Integer i = 0; i < names.Count(); ++i)
    if (SameText(names[i], Trim(section))) return true;
  return false;
}

bool TCustomIniFile::ValueExists(const AnsiString& section, const AnsiString& ident) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.IndexOf(Trim(ident)) >= 0;
}

// -------------------------------------------------------------- TMemIniFile

TMemIniFile::TMemIniFile(const AnsiString& fileName)
    : TCustomIniFile(fileName), doc_(std::make_unique<Document>()) {
  ini_detail::Load(fileName, *doc_);
}

TMemIniFile::~TMemIniFile() = default;

AnsiString TMemIniFile::ReadString(const AnsiString& section, const AnsiString& ident,
                                   const AnsiString& def) {
  ini_detail::Line* l = doc_->FindEntry(section, ident);
  return l ? l->value : def;
}

void TMemIniFile::WriteString(const AnsiString& section, const AnsiString& ident,
                              const AnsiString& value) {
  doc_->Write(section, ident, value);
}

void TMemIniFile::ReadSection(const AnsiString& section, TStrings& strings) {
  doc_->ReadSection(section, strings);
}

void TMemIniFile::ReadSections(TStrings& strings) { doc_->ReadSections(strings); }

void TMemIniFile::ReadSectionValues(const AnsiString& section, TStrings& strings) {
  doc_->ReadSectionValues(section, strings);
}

void TMemIniFile::EraseSection(const AnsiString& section) { doc_->EraseSection(section); }

void TMemIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) {
  doc_->DeleteKey(section, ident);
}

void TMemIniFile::UpdateFile() { WriteFileAtomically(FileName(), doc_->Render()); }

void TMemIniFile::Clear() { doc_->Clear(); }

void TMemIniFile::GetStrings(TStrings& strings) const { strings.SetText(doc_->Render()); }

void TMemIniFile::SetStrings(const TStrings& strings) { doc_->Parse(strings.Text()); }

// ----------------------------------------------------------------- TIniFile

// What the cached document was read from; a change on disk means re-read.
struct TIniFile::Stamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  struct timespec mtime {};

  static Stamp Of(const AnsiString& fileName) {
    Stamp s;
    struct stat st;
    if (::stat(fileName.c_str(), &st) == 0) {
      s.exists = true;
      s.dev = st.st_dev;
      s.ino = st.st_ino;
      s.size = st.st_size;
      s.mtime = st.st_mtim;
    }
    return s;
  }
  bool operator==(const Stamp& o) const {
    return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size &&
           mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
  }
};

TIniFile::TIniFile(const AnsiString& fileName)
    : TCustomIniFile(fileName), doc_(std::make_unique<Document>()) {}

TIniFile::~TIniFile() = default;

Document& TIniFile::Current() {
  Stamp now = Stamp::Of(FileName());
  if (!stamp_ || !(*stamp_ == now)) {
    ini_detail::Load(FileName(), *doc_);
    // Stamped before reading: a change while reading leaves an older stamp,
    // so the next call reads again.
    stamp_ = std::make_unique<Stamp>(now);
  }
  return *doc_;
}

void TIniFile::Store() {
  if (Integer err = TryWriteFileAtomically(FileName(), doc_->Render())) {
    stamp_.reset();  // the cached document is ahead of the file: re-read next time
    throw EIniFileException("Unable to write to " + FileName() + ". " + std::strerror(err));
  }
  stamp_ = std::make_unique<Stamp>(Stamp::Of(FileName()));
}

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident,
                                const AnsiString& def) {
  ini_detail::Line* l = Current().FindEntry(section, ident);
  return l ? l->value : def;
}

void TIniFile::WriteString(const AnsiString& section, const AnsiString& ident,
                           const AnsiString& value) {
  Current().Write(section, ident, value);
  Store();
}

void TIniFile::ReadSection(const AnsiString& section, TStrings& strings) {
  Current().ReadSection(section, strings);
}

void TIniFile::ReadSections(TStrings& strings) { Current().ReadSections(strings); }

void TIniFile::ReadSectionValues(const AnsiString& section, TStrings& strings) {
  Current().ReadSectionValues(section, strings);
}

void TIniFile::EraseSection(const AnsiString& section) {
  Document& doc = Current();
  if (!doc.FindSection(section)) return;
  doc.EraseSection(section);
  Store();
}

void TIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) {
  Document& doc = Current();
  if (!doc.FindEntry(section, ident)) return;
  doc.DeleteKey(section, ident);
  Store();
}

void TIniFile::UpdateFile() {}

}  // namespace rtl
