#include "grid/model/CellStream.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "grid/model/GridUtils.h"
#include "grid/model/HtmlText.h"
#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/RichText.h"
#include "rtl/StringList.h"

namespace grid {

namespace {

constexpr char kStreamSignature[4] = {'T', 'V', 'G', 'C'};
constexpr uint16_t kStreamVersion = 1;

enum RecordClass : uint8_t {
  rcGrid = 1,
  rcCell = 2,
  rcProperties = 3,
  rcGraphic = 4,
  rcBitmap = 5,
  rcIcon = 6,
  rcPicture = 7,
  rcFilePicture = 8,
  rcStrings = 9,
};

[[noreturn]] void StreamReadError() { throw rtl::EReadError("Stream read error"); }

template <class T>
void StreamDeleteObject(void* p) {
  delete static_cast<T*>(p);
}

// ----- writing -----

class RecordWriter {
 public:
  void U8(uint8_t v) { out_ += static_cast<char>(v); }
  void Bool(bool v) { U8(v ? 1 : 0); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) out_ += static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  void I32(Integer v) { U32(static_cast<uint32_t>(v)); }
  void I64(int64_t v) {
    const auto u = static_cast<uint64_t>(v);
    U32(static_cast<uint32_t>(u));
    U32(static_cast<uint32_t>(u >> 32));
  }
  void F64(double v) {
    uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    I64(static_cast<int64_t>(u));
  }
  void Str(std::string_view s) {
    U32(static_cast<uint32_t>(s.size()));
    out_.append(s);
  }
  const std::string& Bytes() const { return out_; }

 private:
  std::string out_;
};

void PutRecord(std::string& stream, RecordClass cls, const RecordWriter& payload) {
  RecordWriter head;
  head.U8(cls);
  head.U32(static_cast<uint32_t>(payload.Bytes().size()));
  stream += head.Bytes();
  stream += payload.Bytes();
}

// ----- reading -----

class RecordReader {
 public:
  explicit RecordReader(std::string_view bytes) : p_(bytes) {}
  size_t Left() const { return p_.size(); }
  uint8_t U8() {
    Need(1);
    const auto v = static_cast<uint8_t>(p_[0]);
    p_.remove_prefix(1);
    return v;
  }
  bool Bool() {
    const uint8_t v = U8();
    if (v > 1) StreamReadError();
    return v == 1;
  }
  uint32_t U32() {
    Need(4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(p_[i])) << (8 * i);
    p_.remove_prefix(4);
    return v;
  }
  Integer I32() { return static_cast<Integer>(U32()); }
  int64_t I64() {
    const uint64_t lo = U32();
    const uint64_t hi = U32();
    return static_cast<int64_t>(lo | hi << 32);
  }
  double F64() {
    const auto u = static_cast<uint64_t>(I64());
    double v = 0;
    std::memcpy(&v, &u, sizeof v);
    return v;
  }
  std::string_view Str() {
    const uint32_t n = U32();
    Need(n);
    const std::string_view s = p_.substr(0, n);
    p_.remove_prefix(n);
    return s;
  }
  // An enumeration value below count.
  uint8_t Enum(int count) {
    const uint8_t v = U8();
    if (v >= count) StreamReadError();
    return v;
  }
  // The next record of the class due.
  RecordReader Record(RecordClass expected) {
    const uint8_t cls = U8();
    const uint32_t length = U32();
    if (cls != expected) StreamReadError();
    Need(length);
    RecordReader r(p_.substr(0, length));
    p_.remove_prefix(length);
    return r;
  }

 private:
  void Need(size_t n) const {
    if (n > p_.size()) StreamReadError();
  }
  std::string_view p_;
};

// ----- comma lists of sizes -----

AnsiString JoinSizes(const std::vector<Integer>& sizes) {
  AnsiString out;
  for (size_t i = 0; i < sizes.size(); ++i) {
    if (i) out += ',';
    out += rtl::IntToStr(sizes[i]);
  }
  return out;
}

// Exactly count sizes of 0 or more, else the stream is malformed.
std::vector<Integer> SplitSizes(std::string_view text, Integer count) {
  std::vector<Integer> sizes;
  if (count <= 0 || text.size() < static_cast<size_t>(count) * 2 - 1) StreamReadError();
  sizes.reserve(static_cast<size_t>(count));
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != ',') continue;
    Integer v = 0;
    if (!rtl::TryStrToInt(text.substr(start, i - start), v) || v < 0) StreamReadError();
    sizes.push_back(v);
    if (sizes.size() > static_cast<size_t>(count)) StreamReadError();
    start = i + 1;
  }
  if (sizes.size() != static_cast<size_t>(count)) StreamReadError();
  return sizes;
}

// ----- graphics -----

// The kinds whose graphic carries an object the stream writes after it.
bool CreatedObjectKind(TCellType t) {
  return t == ctBitmap || t == ctIcon || t == ctRadio || t == ctPicture || t == ctFilePicture || t == ctBitButton;
}

// The kinds whose two object slots hold colours, not objects.
bool ColourSlotKind(TCellType t) {
  return t == ctProgress || t == ctProgressPie || t == ctRangeIndicator || t == ctShape || t == ctRating ||
         t == ctXPProgress;
}

uint32_t SlotValue(const void* slot) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(slot)); }
void* SlotObject(uint32_t value) { return reinterpret_cast<void*>(static_cast<uintptr_t>(value)); }

bool WritesGraphic(const TCellProperties& p) {
  const TCellGraphic* g = p.Graphic();
  // A shared graphic (the grid's spare one) stays with its grid.
  if (g == nullptr || !p.OwnsGraphic() || g->CellType == ctEmpty) return false;
  if (CreatedObjectKind(g->CellType)) return g->CellCreated;
  return true;
}

void WriteProperties(RecordWriter& w, const TCellProperties& p) {
  w.U8(static_cast<uint8_t>(p.BrushStyle));
  w.U32(p.BrushColor());
  w.U32(p.BrushColorTo());
  w.I32(p.FontSize);
  w.U32(p.FontColor);
  uint8_t styles = 0;
  for (int s = 0; s < 4; ++s)
    if (p.FontStyle.Contains(static_cast<TFontStyle>(s))) styles |= static_cast<uint8_t>(1 << s);
  w.U8(styles);
  w.Str(p.FontName);
  w.I32(p.CellSpanX);
  w.I32(p.CellSpanY);
  w.I32(p.BorderWidth);
  w.U32(p.BorderColor);
  w.U8(static_cast<uint8_t>(p.Alignment));
  w.U8(static_cast<uint8_t>(p.VAlignment()));
  w.Bool(p.WordWrap());
  w.Bool(p.IsBaseCell);
  w.I32(p.NodeLevel);
  w.U8(static_cast<uint8_t>(p.Editor));
  w.Bool(p.ReadOnly);
  w.U8(static_cast<uint8_t>(p.GradientDirection));
}

// The properties of a stream record; the merge spans are applied after
// the whole block is in.
struct StreamProperties {
  TBrushStyle BrushStyle = bsSolid;
  TColor BrushColor = 0, BrushColorTo = 0;
  Integer FontSize = 0;
  TColor FontColor = 0;
  TFontStyles FontStyle;
  AnsiString FontName;
  Integer SpanX = -1, SpanY = -1;
  Integer BorderWidth = 0;
  TColor BorderColor = 0;
  TAlignment Alignment = taLeftJustify;
  TVAlignment VAlignment = vtaTop;
  bool WordWrap = true, IsBaseCell = true;
  Integer NodeLevel = 0;
  TEditorType Editor = edNormal;
  bool ReadOnly = false;
  TCellGradientDirection Gradient = GradientVertical;
};

StreamProperties ReadProperties(RecordReader& r) {
  StreamProperties p;
  p.BrushStyle = static_cast<TBrushStyle>(r.Enum(8));
  p.BrushColor = r.U32();
  p.BrushColorTo = r.U32();
  p.FontSize = r.I32();
  p.FontColor = r.U32();
  const uint8_t styles = r.U8();
  if (styles > 15) StreamReadError();
  for (int s = 0; s < 4; ++s)
    if (styles & (1 << s)) p.FontStyle.Include(static_cast<TFontStyle>(s));
  p.FontName = AnsiString(r.Str());
  p.SpanX = r.I32();
  p.SpanY = r.I32();
  p.BorderWidth = r.I32();
  p.BorderColor = r.U32();
  p.Alignment = static_cast<TAlignment>(r.Enum(3));
  p.VAlignment = static_cast<TVAlignment>(r.Enum(3));
  p.WordWrap = r.Bool();
  p.IsBaseCell = r.Bool();
  p.NodeLevel = r.I32();
  p.Editor = static_cast<TEditorType>(r.Enum(EditorTypeCount));
  p.ReadOnly = r.Bool();
  p.Gradient = static_cast<TCellGradientDirection>(r.Enum(2));
  return p;
}

void ApplyProperties(TCellProperties& t, const StreamProperties& p) {
  t.BrushStyle = p.BrushStyle;
  t.SetBrushColor(p.BrushColor);
  t.SetBrushColorTo(p.BrushColorTo);
  t.FontSize = p.FontSize;
  t.FontColor = p.FontColor;
  t.FontStyle = p.FontStyle;
  t.FontName = p.FontName;
  t.BorderWidth = p.BorderWidth;
  t.BorderColor = p.BorderColor;
  t.Alignment = p.Alignment;
  t.SetVAlignment(p.VAlignment);
  t.SetWordWrap(p.WordWrap);
  t.NodeLevel = p.NodeLevel;
  t.Editor = p.Editor;
  t.ReadOnly = p.ReadOnly;
  t.GradientDirection = p.Gradient;
}

void WriteGraphic(RecordWriter& w, const TCellGraphic& g) {
  w.U8(static_cast<uint8_t>(g.CellType));
  w.U8(static_cast<uint8_t>(g.CellVAlign));
  w.U8(static_cast<uint8_t>(g.CellHAlign));
  w.I32(g.CellIndex);
  w.Bool(g.CellTransparent);
  w.Bool(g.CellCreated);
  w.Bool(g.CellBoolean);
  w.I32(g.CellAngle);
  w.F64(g.CellValue);
  w.I32(g.CellErrFrom);
  w.I32(g.CellErrLen);
  w.Str(g.CellText);
  w.Bool(g.CellVar.has_value());
  w.I32(g.CellVar.value_or(0));
  const bool colours = ColourSlotKind(g.CellType);
  w.U32(colours ? SlotValue(g.CellBitmap()) : 0);
  w.U32(colours ? SlotValue(g.CellIcon()) : 0);
}

std::unique_ptr<TCellGraphic> ReadGraphic(RecordReader& r) {
  auto g = std::make_unique<TCellGraphic>();
  const auto type = static_cast<TCellType>(r.Enum(CellTypeCount));
  g->CellVAlign = static_cast<TCellVAlign>(r.Enum(6));
  g->CellHAlign = static_cast<TCellHAlign>(r.Enum(6));
  g->CellIndex = r.I32();
  g->CellTransparent = r.Bool();
  const bool created = r.Bool();
  g->CellBoolean = r.Bool();
  g->CellAngle = r.I32();
  g->CellValue = r.F64();
  g->CellErrFrom = r.I32();
  g->CellErrLen = r.I32();
  g->CellText = AnsiString(r.Str());
  const bool hasVar = r.Bool();
  const Integer var = r.I32();
  if (hasVar) g->CellVar = var;
  const uint32_t slot1 = r.U32(), slot2 = r.U32();
  if (ColourSlotKind(type)) {
    g->SetCellBitmap({SlotObject(slot1), nullptr});
    g->SetCellIcon({SlotObject(slot2), nullptr});
  }
  // Objects the stream brings are the graphic's own.
  g->CellCreated = CreatedObjectKind(type) ? true : created;
  g->CellType = type;
  return g;
}

void WriteStrings(RecordWriter& w, const rtl::TStrings* list) {
  const Integer n = list != nullptr ? list->Count() : 0;
  w.U32(static_cast<uint32_t>(n));
  for (Integer i = 0; i < n; ++i) w.Str(list->Get(i));
}

std::unique_ptr<rtl::TStringList> ReadStrings(RecordReader& r) {
  const uint32_t n = r.U32();
  // Each string takes its length at least.
  if (n > r.Left() / 4) StreamReadError();
  auto list = std::make_unique<rtl::TStringList>();
  for (uint32_t i = 0; i < n; ++i) list->Add(AnsiString(r.Str()));
  return list;
}

// The payload record of a graphic's object, written after the graphic.
void WriteObjectRecord(std::string& stream, TCellTransferHost& host, const TCellGraphic& g) {
  RecordWriter w;
  switch (g.CellType) {
    case ctBitmap:
    case ctBitButton:
      w.Str(g.CellBitmap() != nullptr ? host.EncodePicture(spBitmap, g.CellBitmap()) : std::string());
      PutRecord(stream, rcBitmap, w);
      break;
    case ctIcon:
      w.Str(g.CellIcon() != nullptr ? host.EncodePicture(spIcon, g.CellIcon()) : std::string());
      PutRecord(stream, rcIcon, w);
      break;
    case ctPicture:
      w.Str(g.CellBitmap() != nullptr ? host.EncodePicture(spPicture, g.CellBitmap()) : std::string());
      PutRecord(stream, rcPicture, w);
      break;
    case ctFilePicture: {
      AnsiString name;
      Integer width = 0, height = 0;
      if (g.CellBitmap() == nullptr || !host.DescribeFilePicture(g.CellBitmap(), name, width, height)) {
        name.clear();
        width = height = 0;
      }
      w.Str(name);
      w.I32(width);
      w.I32(height);
      PutRecord(stream, rcFilePicture, w);
      break;
    }
    case ctRadio:
    case ctBalloon:
      WriteStrings(w, static_cast<const rtl::TStrings*>(g.CellBitmap()));
      PutRecord(stream, rcStrings, w);
      break;
    case ctImages: {
      const auto* list = static_cast<const TIntList*>(g.CellBitmap());
      rtl::TStringList one;
      one.Add(list != nullptr ? list->AsText() : AnsiString());
      WriteStrings(w, &one);
      PutRecord(stream, rcStrings, w);
      break;
    }
    default:
      break;
  }
}

// Reads the payload record the graphic's kind is followed by and gives
// the graphic its object.
void ReadObjectRecord(RecordReader& in, TCellTransferHost& host, TCellGraphic& g, Integer col, Integer row) {
  switch (g.CellType) {
    case ctBitmap:
    case ctBitButton:
    case ctIcon:
    case ctPicture: {
      const bool icon = g.CellType == ctIcon;
      const RecordClass cls = icon ? rcIcon : g.CellType == ctPicture ? rcPicture : rcBitmap;
      RecordReader r = in.Record(cls);
      const std::string_view png = r.Str();
      if (png.empty()) break;
      const TStreamPicture kind = icon ? spIcon : g.CellType == ctPicture ? spPicture : spBitmap;
      const TGraphicObject object = host.DecodePicture(kind, png);
      if (icon)
        g.SetCellIcon(object);
      else
        g.SetCellBitmap(object);
      break;
    }
    case ctFilePicture: {
      RecordReader r = in.Record(rcFilePicture);
      const AnsiString name(r.Str());
      const Integer width = r.I32(), height = r.I32();
      if (!name.empty()) g.SetCellBitmap(host.MakeFilePicture(name, width, height));
      break;
    }
    case ctRadio:
    case ctBalloon: {
      RecordReader r = in.Record(rcStrings);
      g.SetCellBitmap({ReadStrings(r).release(), &StreamDeleteObject<rtl::TStringList>});
      break;
    }
    case ctImages: {
      RecordReader r = in.Record(rcStrings);
      const auto lines = ReadStrings(r);
      auto list = std::make_unique<TIntList>(col, row);
      if (lines->Count() > 0) {
        try {
          list->SetAsText(lines->Get(0));
        } catch (const rtl::EConvertError&) {
          StreamReadError();
        }
      }
      g.SetCellBitmap({list.release(), &StreamDeleteObject<TIntList>});
      break;
    }
    default:
      break;
  }
}

bool HasPayloadRecord(TCellType t) {
  return t == ctBitmap || t == ctBitButton || t == ctIcon || t == ctPicture || t == ctFilePicture || t == ctRadio ||
         t == ctBalloon || t == ctImages;
}

}  // namespace

// ===== the per-cell exchange =====

AnsiString TCellTransferHost::RichTextToPlain(const AnsiString& rtf) { return rtl::RichTextToPlainText(rtf); }

AnsiString TCellTransferHost::SaveCell(Integer col, Integer row) {
  AnsiString value = SaveFormatted ? FormattedCell(col, row) : StoredCell(col, row);
  if (value.empty()) {
    const TCellGraphic* g = model_.CellGraphic(col, row);
    if (g != nullptr && g->CellType == ctCheckBox) value = g->CellBoolean ? CheckTrue(col, row) : CheckFalse(col, row);
  }
  if (!KeepHTML && GetTextKind(value, true) == TTextKind::tkHTML) value = StripHTML(value);
  if (!KeepRichText && value.rfind("{\\", 0) == 0) value = RichTextToPlain(value);
  SaveCellEvent(col, row, value);
  return value;
}

TGridRect TCellTransferHost::TransferRange() {
  if (model_.TransferFixedCells) return {0, 0, model_.ColCount() - 1, model_.RowCount() - 1};
  return {model_.FixedCols(), model_.FixedRows(), model_.ColCount() - model_.FixedRightCols() - 1,
          model_.RowCount() - model_.FixedFooters() - 1};
}

// ===== the grid cell stream =====

std::string SaveCellsToStream(TCellTransferHost& host, const TGridRect& block) {
  TGridModel& m = host.Model();
  TGridRect r = block;
  r.Left = std::max(r.Left, 0);
  r.Top = std::max(r.Top, 0);
  r.Right = std::min(r.Right, m.ColCount() - 1);
  r.Bottom = std::min(r.Bottom, m.RowCount() - 1);
  std::string stream(kStreamSignature, sizeof kStreamSignature);
  stream += static_cast<char>(kStreamVersion & 0xFF);
  stream += static_cast<char>(kStreamVersion >> 8);
  if (r.Right < r.Left || r.Bottom < r.Top) return stream;

  {
    RecordWriter w;
    const Integer cols = r.Right - r.Left + 1, rows = r.Bottom - r.Top + 1;
    std::vector<Integer> widths, heights;
    for (Integer c = r.Left; c <= r.Right; ++c) widths.push_back(m.ColWidths(c));
    for (Integer row = r.Top; row <= r.Bottom; ++row) heights.push_back(m.RowHeights(row));
    const bool full = m.TransferFixedCells
                          ? rows == m.RowCount() && cols == m.ColCount()
                          : rows == m.RowCount() - m.FixedRows() && cols == m.ColCount() - m.FixedCols();
    w.I32(cols);
    w.I32(rows);
    w.Str(JoinSizes(widths));
    w.Str(JoinSizes(heights));
    w.Bool(full);
    w.I64(host.StreamId());
    PutRecord(stream, rcGrid, w);
  }

  host.RowScanNotify(0, r.Top);
  Integer lastPercent = -1;
  for (Integer row = r.Top; row <= r.Bottom; ++row) {
    host.RowScanNotify(5, row);
    for (Integer col = r.Left; col <= r.Right; ++col) {
      const TCellProperties* p = m.HasCellProperties(col, row) ? m.GetRawObject(col, row) : nullptr;
      RecordWriter cell;
      cell.I32(col);
      cell.I32(row);
      cell.Str(host.DisplayCell(col, row));
      cell.Bool(p != nullptr);
      PutRecord(stream, rcCell, cell);
      if (p == nullptr) continue;
      const bool graphic = WritesGraphic(*p);
      RecordWriter props;
      WriteProperties(props, *p);
      props.Bool(graphic);
      PutRecord(stream, rcProperties, props);
      if (!graphic) continue;
      RecordWriter g;
      WriteGraphic(g, *p->Graphic());
      PutRecord(stream, rcGraphic, g);
      WriteObjectRecord(stream, host, *p->Graphic());
    }
    const Integer percent = static_cast<Integer>(
        rtl::Round(static_cast<double>(row - r.Top) / std::max<Integer>(1, r.Bottom - r.Top) * 100));
    if (percent != lastPercent) {
      host.Progress(percent);
      lastPercent = percent;
    }
  }
  host.RowScanNotify(2, -1);
  return stream;
}

namespace {

RecordReader OpenStream(std::string_view stream) {
  if (stream.size() < 6 || std::memcmp(stream.data(), kStreamSignature, 4) != 0) StreamReadError();
  const uint16_t version =
      static_cast<uint16_t>(static_cast<uint8_t>(stream[4]) | static_cast<uint8_t>(stream[5]) << 8);
  if (version != kStreamVersion) StreamReadError();
  return RecordReader(stream.substr(6));
}

TCellStreamHeader ReadHeader(RecordReader& in) {
  RecordReader r = in.Record(rcGrid);
  TCellStreamHeader h;
  h.ColCount = r.I32();
  h.RowCount = r.I32();
  h.ColWidths = AnsiString(r.Str());
  h.RowHeights = AnsiString(r.Str());
  h.FullGrid = r.Bool();
  h.ID = r.I64();
  // The sizes stand for every column and row, so the counts are never
  // more than the stream can carry.
  if (h.ColCount < 1 || h.RowCount < 1) StreamReadError();
  SplitSizes(h.ColWidths, h.ColCount);
  SplitSizes(h.RowHeights, h.RowCount);
  return h;
}

struct PendingMerge {
  Integer Col, Row, SpanX, SpanY;
};

}  // namespace

TCellStreamHeader ReadCellStreamHeader(std::string_view stream) {
  RecordReader in = OpenStream(stream);
  return ReadHeader(in);
}

TCellStreamHeader LoadCellsFromStream(TCellTransferHost& host, TCellCoord at, std::string_view stream) {
  TGridModel& m = host.Model();
  RecordReader in = OpenStream(stream);
  const TCellStreamHeader h = ReadHeader(in);
  if (h.FullGrid) {
    m.Clear();
    m.SetRowCount(h.RowCount);
    m.SetColCount(h.ColCount);
    const std::vector<Integer> widths = SplitSizes(h.ColWidths, h.ColCount);
    const std::vector<Integer> heights = SplitSizes(h.RowHeights, h.RowCount);
    for (Integer c = 0; c < std::min(h.ColCount, m.ColCount()); ++c) m.SetColWidths(c, widths[c]);
    for (Integer r = 0; r < std::min(h.RowCount, m.RowCount()); ++r) m.SetRowHeights(r, heights[r]);
  }
  bool haveOrigin = h.FullGrid;
  int64_t originCol = 0, originRow = 0;
  std::vector<PendingMerge> merges;
  TGridRect changed{m.ColCount(), m.RowCount(), -1, -1};
  while (in.Left() >= 2) {
    RecordReader cell = in.Record(rcCell);
    const Integer col = cell.I32(), row = cell.I32();
    const AnsiString text(cell.Str());
    const bool hasProp = cell.Bool();
    if (!haveOrigin) {
      originCol = col;
      originRow = row;
      haveOrigin = true;
    }
    const int64_t tc = static_cast<int64_t>(at.X) + col - originCol;
    const int64_t tr = static_cast<int64_t>(at.Y) + row - originRow;
    const bool inside = tc >= 0 && tr >= 0 && tc < m.ColCount() && tr < m.RowCount();
    const auto c = static_cast<Integer>(inside ? tc : 0), r = static_cast<Integer>(inside ? tr : 0);
    if (inside) {
      host.SetDisplayCell(c, r, text);
      changed = {std::min(changed.Left, c), std::min(changed.Top, r), std::max(changed.Right, c),
                 std::max(changed.Bottom, r)};
    }
    if (!hasProp) continue;
    RecordReader pr = in.Record(rcProperties);
    const StreamProperties props = ReadProperties(pr);
    const bool hasGraphic = pr.Bool();
    std::unique_ptr<TCellGraphic> graphic;
    if (hasGraphic) {
      RecordReader gr = in.Record(rcGraphic);
      graphic = ReadGraphic(gr);
      if (HasPayloadRecord(graphic->CellType)) ReadObjectRecord(in, host, *graphic, c, r);
    }
    if (!inside) continue;
    TCellProperties& target = m.CellProperties(c, r);
    ApplyProperties(target, props);
    target.OwnerCol = c;
    target.OwnerRow = r;
    if (graphic) target.SetGraphic(std::move(graphic));
    if (props.IsBaseCell && (props.SpanX > 0 || props.SpanY > 0))
      merges.push_back({c, r, std::max(props.SpanX, 0), std::max(props.SpanY, 0)});
  }
  // Merged blocks made again where they fit, over whatever merges the
  // cells they cover belonged to.
  for (const PendingMerge& p : merges) {
    const int64_t right = static_cast<int64_t>(p.Col) + p.SpanX, bottom = static_cast<int64_t>(p.Row) + p.SpanY;
    if (right >= m.ColCount() || bottom >= m.RowCount()) continue;
    for (Integer r = p.Row; r <= bottom; ++r)
      for (Integer c = p.Col; c <= right; ++c)
        if (m.IsMergedCell(c, r)) {
          const TCellCoord base = m.BaseCell(c, r);
          m.SplitCells(base.X, base.Y);
        }
    m.MergeCells(p.Col, p.Row, p.SpanX + 1, p.SpanY + 1);
  }
  if (changed.Right >= changed.Left) host.CellsChanged(changed);
  return h;
}

// ===== the cell text stream =====

std::string SaveCellsToTextStream(TCellTransferHost& host) {
  TGridModel& m = host.Model();
  const TGridRect t = host.TransferRange();
  std::string out;
  out += rtl::IntToStr(t.Right - t.Left + 1) + "," + rtl::IntToStr(t.Bottom - t.Top + 1) + "\r\n";
  for (Integer c = 0; c < m.ColCount(); ++c) out += "cw " + rtl::IntToStr(c) + "," + rtl::IntToStr(m.ColWidths(c)) + "\r\n";
  host.RowScanNotify(0, t.Top);
  for (Integer row = t.Top; row <= t.Bottom; ++row) {
    host.RowScanNotify(5, row);
    for (Integer col = t.Left; col <= t.Right; ++col) {
      const AnsiString text = host.SaveCell(col, row);
      if (text.empty()) continue;
      out += rtl::IntToStr(col - t.Left) + "," + rtl::IntToStr(row - t.Top) + ",";
      out += text.find('\r') != AnsiString::npos ? EncodeLineBreaks(text) : text;
      out += "\r\n";
    }
  }
  host.RowScanNotify(2, -1);
  return out;
}

namespace {

// A line up to its carriage return; the byte after it is skipped.
bool NextTextLine(std::string_view stream, size_t& pos, std::string_view& line) {
  if (pos >= stream.size()) return false;
  const size_t cr = stream.find('\r', pos);
  if (cr == std::string_view::npos) {
    line = stream.substr(pos);
    pos = stream.size();
  } else {
    line = stream.substr(pos, cr - pos);
    pos = cr + 2;
  }
  return true;
}

bool ReadNumber(std::string_view text, Integer& value) { return !text.empty() && rtl::TryStrToInt(text, value); }

}  // namespace

void LoadCellsFromTextStream(TCellTransferHost& host, std::string_view stream) {
  TGridModel& m = host.Model();
  size_t pos = 0;
  std::string_view line;
  if (!NextTextLine(stream, pos, line)) return;
  const TGridRect t0 = host.TransferRange();
  if (!line.empty()) {
    const size_t comma = line.find(',');
    Integer cols = 0, rows = 0;
    if (comma != std::string_view::npos && ReadNumber(line.substr(0, comma), cols) &&
        ReadNumber(line.substr(comma + 1), rows)) {
      const int64_t wantCols = static_cast<int64_t>(cols) + t0.Left, wantRows = static_cast<int64_t>(rows) + t0.Top;
      m.SetColCount(static_cast<Integer>(std::clamp<int64_t>(wantCols, 1, host.MaxCols)));
      m.SetRowCount(static_cast<Integer>(std::clamp<int64_t>(wantRows, 1, host.MaxRows)));
    }
  }
  const TGridRect t = host.TransferRange();
  while (NextTextLine(stream, pos, line)) {
    if (line.rfind("cw", 0) == 0) {
      const std::string_view rest = line.substr(std::min<size_t>(3, line.size()));
      const size_t comma = rest.find(',');
      Integer col = 0, width = 0;
      if (comma != std::string_view::npos && ReadNumber(rest.substr(0, comma), col) &&
          ReadNumber(rest.substr(comma + 1), width) && col >= 0 && col < m.ColCount() && width >= 0)
        m.SetColWidths(col, width);
      continue;
    }
    const size_t first = line.find(',');
    const size_t second = first == std::string_view::npos ? first : line.find(',', first + 1);
    Integer col = 0, row = 0;
    if (second == std::string_view::npos || !ReadNumber(line.substr(0, first), col) ||
        !ReadNumber(line.substr(first + 1, second - first - 1), row))
      break;  // the end of the cells
    const AnsiString text = DecodeLineBreaks(line.substr(second + 1), host.Multilinecells);
    const int64_t c = static_cast<int64_t>(col) + t.Left, r = static_cast<int64_t>(row) + t.Top;
    if (c >= 0 && r >= 0 && c < m.ColCount() && r < m.RowCount())
      host.LoadCell(static_cast<Integer>(c), static_cast<Integer>(r), text);
  }
  host.CellsChanged({0, 0, m.ColCount(), m.RowCount()});
  host.CellsLoaded();
}

}  // namespace grid
