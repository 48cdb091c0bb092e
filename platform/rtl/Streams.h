#pragma once
// Byte streams: the abstract TStream, files (TFileStream), memory
// (TMemoryStream) and text (TStringStream).
#include <vector>

#include "rtl/Types.h"

namespace rtl {

enum TSeekOrigin : int { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };
inline constexpr TSeekOrigin soBeginning = soFromBeginning;
inline constexpr TSeekOrigin soCurrent = soFromCurrent;
inline constexpr TSeekOrigin soEnd = soFromEnd;

// File modes of TFileStream: one access mode, optionally or-ed with a share
// mode (share modes are accepted and have no effect here).
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;
// Creates the file (emptying an existing one) open for reading and writing.
inline constexpr Word fmCreate = 0xFF00;

class TStream {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream() = default;

  // Reads up to count bytes at the position; answers how many were read.
  virtual Integer Read(void* buffer, Integer count) = 0;
  // Writes count bytes at the position; answers how many were written.
  virtual Integer Write(const void* buffer, Integer count) = 0;
  // Moves the position; answers the new position.
  virtual Int64 Seek(Int64 offset, TSeekOrigin origin) = 0;

  Int64 Position() { return Seek(0, soFromCurrent); }
  void SetPosition(Int64 position) { Seek(position, soFromBeginning); }
  virtual Int64 Size();
  // Truncates or extends; raises EStreamError when the stream cannot.
  virtual void SetSize(Int64 size);

  // Read/Write all of count or raise EReadError "Stream read error" /
  // EWriteError "Stream write error".
  void ReadBuffer(void* buffer, Integer count);
  void WriteBuffer(const void* buffer, Integer count);
  // Copies count bytes from source's position (count 0: the whole of
  // source from its start); answers the bytes copied. A short source
  // raises EReadError.
  Int64 CopyFrom(TStream& source, Int64 count);
};

// A file opened with one of the fm modes. Raises EFCreateError
// "Cannot create file \"%s\". %s" or EFOpenError "Cannot open file \"%s\". %s"
// with the system's reason.
class TFileStream : public TStream {
 public:
  TFileStream(const AnsiString& fileName, Word mode);
  ~TFileStream() override;

  Integer Read(void* buffer, Integer count) override;
  Integer Write(const void* buffer, Integer count) override;
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  void SetSize(Int64 size) override;
  const AnsiString& FileName() const { return fileName_; }
  int Handle() const { return fd_; }

 private:
  AnsiString fileName_;
  int fd_ = -1;
};

// Bytes in memory.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;

  Integer Read(void* buffer, Integer count) override;
  // Writing past the end grows the stream.
  Integer Write(const void* buffer, Integer count) override;
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  Int64 Size() override { return static_cast<Int64>(data_.size()); }
  // Keeps the position, even past a new smaller end.
  void SetSize(Int64 size) override;
  void Clear();
  // The bytes (valid until the next size change).
  void* Memory() { return data_.data(); }
  const void* Memory() const { return data_.data(); }
  // Replaces the contents with the whole of stream / the file; position 0.
  // A file that cannot be opened raises EFOpenError.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const AnsiString& fileName);
  // Writes the whole contents (whatever the position).
  void SaveToStream(TStream& stream) const;
  // Replaces the file atomically; raises EFCreateError naming the file.
  void SaveToFile(const AnsiString& fileName) const;

 private:
  std::vector<Byte> data_;
  Int64 position_ = 0;
};

// Bytes in a string (8-bit text).
class TStringStream : public TStream {
 public:
  explicit TStringStream(AnsiString data = AnsiString()) : data_(std::move(data)) {}

  Integer Read(void* buffer, Integer count) override;
  Integer Write(const void* buffer, Integer count) override;
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  Int64 Size() override { return static_cast<Int64>(data_.size()); }
  void SetSize(Int64 size) override;
  const AnsiString& DataString() const { return data_; }
  // Up to count bytes from the position.
  AnsiString ReadString(Integer count);
  // Writes text at the position.
  void WriteString(const AnsiString& text);

 private:
  AnsiString data_;
  Int64 position_ = 0;
};

}  // namespace rtl
