#include "vcl/Filer.h"

#include "rtl/CodePages.h"
#include "rtl/Format.h"
#include "rtl/Strings.h"

#include <algorithm>

namespace vcl {

namespace {

[[noreturn]] void InvalidValue() { throw EReadError("Invalid property value"); }

template <typename T>
T ReadRaw(rtl::TStream& s) {
  T v{};
  if (s.Read(&v, sizeof v) != sizeof v) throw EReadError("Stream read error");
  return v;
}

}  // namespace

// ----------------------------------------------------------------- writer

void TWriter::DefineProperty(const AnsiString& name, const TReaderProc&, const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WriteStr(name);
  writeData(*this);
}

void TWriter::WriteValue(TValueType t) {
  Byte b = static_cast<Byte>(t);
  Stream().WriteBuffer(&b, 1);
}

void TWriter::WriteListBegin() { WriteValue(vaList); }
void TWriter::WriteListEnd() { WriteValue(vaNull); }

void TWriter::WriteStr(const AnsiString& s) {
  Byte n = static_cast<Byte>(std::min<size_t>(s.size(), 255));
  Stream().WriteBuffer(&n, 1);
  Stream().WriteBuffer(s.data(), n);
}

void TWriter::WriteString(const AnsiString& s) {
  if (s.size() <= 255) {
    WriteValue(vaString);
    WriteStr(s);
    return;
  }
  WriteValue(vaLString);
  int32_t n = static_cast<int32_t>(s.size());
  Stream().WriteBuffer(&n, 4);
  Stream().WriteBuffer(s.data(), n);
}

void TWriter::WriteWideString(const WideString& s) {
  WriteValue(vaWString);
  int32_t n = static_cast<int32_t>(s.size());
  Stream().WriteBuffer(&n, 4);
  // UTF-16 little-endian, unit by unit.
  for (char16_t u : s) {
    Byte b[2] = {static_cast<Byte>(u & 0xFF), static_cast<Byte>(u >> 8)};
    Stream().WriteBuffer(b, 2);
  }
}

void TWriter::WriteInteger(Integer v) {
  if (v >= -128 && v <= 127) {
    WriteValue(vaInt8);
    int8_t b = static_cast<int8_t>(v);
    Stream().WriteBuffer(&b, 1);
  } else if (v >= -32768 && v <= 32767) {
    WriteValue(vaInt16);
    int16_t w = static_cast<int16_t>(v);
    Stream().WriteBuffer(&w, 2);
  } else {
    WriteValue(vaInt32);
    Stream().WriteBuffer(&v, 4);
  }
}

void TWriter::WriteBoolean(bool v) { WriteValue(v ? vaTrue : vaFalse); }

// ----------------------------------------------------------------- reader

void TReader::DefineProperty(const AnsiString& name, const TReaderProc& readData, const TWriterProc&, bool) {
  if (propHandled_ || !readData || !rtl::SameText(name, propName_)) return;
  propHandled_ = true;
  readData(*this);
}

void TReader::ReadDefinedProperty(const AnsiString& className, const std::function<void(TFiler&)>& defineProperties) {
  propName_ = ReadStr();
  propHandled_ = false;
  defineProperties(*this);
  if (!propHandled_)
    throw EReadError(rtl::Format("Error reading %s.%s: Property %s does not exist", {className, propName_, propName_}));
}

TValueType TReader::NextValue() {
  rtl::Int64 pos = Stream().Position();
  TValueType t = ReadValue();
  Stream().SetPosition(pos);
  return t;
}

TValueType TReader::ReadValue() {
  Byte b = ReadRaw<Byte>(Stream());
  if (b > static_cast<Byte>(vaUTF8String)) InvalidValue();
  return static_cast<TValueType>(b);
}

void TReader::CheckValue(TValueType expected) {
  if (ReadValue() != expected) InvalidValue();
}

void TReader::ReadListBegin() { CheckValue(vaList); }
bool TReader::EndOfList() { return NextValue() == vaNull; }
void TReader::ReadListEnd() { CheckValue(vaNull); }

AnsiString TReader::ReadStr() {
  Byte n = ReadRaw<Byte>(Stream());
  AnsiString s(n, '\0');
  if (n) Stream().ReadBuffer(s.data(), n);
  return s;
}

AnsiString TReader::ReadString() {
  switch (NextValue()) {
    case vaWString: return rtl::ToAnsi(ReadWideString());
    case vaString:
      ReadValue();
      // 8-bit text from a form file is taken as UTF-8 where it is valid,
      // else as Windows-1252.
      return rtl::ReadStoredText(ReadStr());
    case vaLString:
    case vaUTF8String: {
      TValueType t = ReadValue();
      int32_t n = ReadRaw<int32_t>(Stream());
      if (n < 0 || n > Stream().Size() - Stream().Position()) InvalidValue();
      AnsiString s(static_cast<size_t>(n), '\0');
      if (n) Stream().ReadBuffer(s.data(), n);
      return t == vaUTF8String ? s : rtl::ReadStoredText(s);
    }
    default: InvalidValue();
  }
}

WideString TReader::ReadWideString() {
  if (NextValue() != vaWString) return rtl::ToWide(ReadString());
  ReadValue();
  int32_t n = ReadRaw<int32_t>(Stream());
  if (n < 0 || static_cast<rtl::Int64>(n) * 2 > Stream().Size() - Stream().Position()) InvalidValue();
  WideString s(static_cast<size_t>(n), u'\0');
  for (auto& u : s) {
    Byte b[2];
    Stream().ReadBuffer(b, 2);
    u = static_cast<char16_t>(b[0] | (b[1] << 8));
  }
  return s;
}

Integer TReader::ReadInteger() {
  switch (ReadValue()) {
    case vaInt8: return ReadRaw<int8_t>(Stream());
    case vaInt16: return ReadRaw<int16_t>(Stream());
    case vaInt32: return ReadRaw<int32_t>(Stream());
    default: InvalidValue();
  }
}

bool TReader::ReadBoolean() {
  TValueType t = ReadValue();
  if (t != vaTrue && t != vaFalse) InvalidValue();
  return t == vaTrue;
}

}  // namespace vcl
