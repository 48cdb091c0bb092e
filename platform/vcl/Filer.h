#pragma once
// Form-stream properties a class defines in code (DefineProperties): the
// binary value format of form files, for the values such properties hold
// (lists, strings of every width, integers, booleans).
#include <functional>

#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "vcl/Types.h"

namespace vcl {

class TPersistent;
class TReader;
class TWriter;

using rtl::EReadError;

// The type byte in front of each value.
enum class TValueType : Byte {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary, vaSet,
  vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64, vaUTF8String
};
using enum TValueType;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;

class TFiler {
 public:
  explicit TFiler(rtl::TStream& stream) : stream_(stream) {}
  virtual ~TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;
  // The object the one being written derives from (null: none), which
  // decides whether a defined property differs and is stored.
  const TPersistent* Ancestor() const { return ancestor_; }
  void SetAncestor(const TPersistent* a) { ancestor_ = a; }
  // A writer stores the property (name, then what writeData writes) when
  // hasData is true; a reader runs readData when that property is the one
  // being read.
  virtual void DefineProperty(const AnsiString& name, const TReaderProc& readData, const TWriterProc& writeData,
                              bool hasData) = 0;
  rtl::TStream& Stream() { return stream_; }

 private:
  rtl::TStream& stream_;
  const TPersistent* ancestor_ = nullptr;  // not owned
};

class TWriter : public TFiler {
 public:
  using TFiler::TFiler;
  void DefineProperty(const AnsiString& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void WriteListBegin();
  void WriteListEnd();
  // 8-bit text as vaString (up to 255 bytes) or vaLString.
  void WriteString(const AnsiString& s);
  // UTF-16 text as vaWString.
  void WriteWideString(const WideString& s);
  void WriteInteger(Integer v);
  void WriteBoolean(bool v);
  // A property name: a length byte and the bytes.
  void WriteStr(const AnsiString& s);

 private:
  void WriteValue(TValueType t);
};

class TReader : public TFiler {
 public:
  using TFiler::TFiler;
  void DefineProperty(const AnsiString& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  // Reads one property name and has the object's defined properties read
  // its value; an unknown name raises EReadError "Error reading %s.%s:
  // Property %s does not exist".
  void ReadDefinedProperty(const AnsiString& className, const std::function<void(TFiler&)>& defineProperties);
  // The type of the next value without reading it.
  TValueType NextValue();
  TValueType ReadValue();
  void ReadListBegin();
  bool EndOfList();
  void ReadListEnd();
  // Any text value (vaString, vaLString, vaUTF8String, vaWString) as 8-bit
  // text; another value raises EReadError "Invalid property value".
  AnsiString ReadString();
  // Any text value as UTF-16.
  WideString ReadWideString();
  Integer ReadInteger();
  bool ReadBoolean();
  AnsiString ReadStr();

 private:
  void CheckValue(TValueType expected);
  AnsiString propName_;
  bool propHandled_ = false;
};

}  // namespace vcl
