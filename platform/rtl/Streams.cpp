#include "rtl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "rtl/Exceptions.h"
#include "rtl/Files.h"

namespace rtl {

namespace {

AnsiString Reason(int err) { return std::strerror(err); }

// The position a seek asks for, or -1 when it falls before the start.
Int64 NewPosition(Int64 offset, TSeekOrigin origin, Int64 current, Int64 size) {
  Int64 base = origin == soFromBeginning ? 0 : origin == soFromCurrent ? current : size;
  Int64 p = base + offset;
  return p < 0 ? -1 : p;
}

// Memory and string streams both keep their bytes in one contiguous buffer of
// single bytes with a position of their own; reading, writing and seeking in
// it is the same for both.
template <class Buffer>
Integer ReadAt(const Buffer& data, Int64& position, void* buffer, Integer count) {
  const Int64 size = static_cast<Int64>(data.size());
  if (count <= 0 || position >= size) return 0;
  Integer n = static_cast<Integer>(std::min<Int64>(count, size - position));
  std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
  position += n;
  return n;
}

// Writing past the end grows the buffer.
template <class Buffer>
Integer WriteAt(Buffer& data, Int64& position, const void* buffer, Integer count) {
  if (count <= 0 || position < 0) return 0;
  Int64 end = position + count;
  if (end > static_cast<Int64>(data.size())) data.resize(static_cast<size_t>(end));
  std::memcpy(data.data() + position, buffer, static_cast<size_t>(count));
  position = end;
  return count;
}

// Moves the position unless the seek falls before the start (then -1).
Int64 SeekIn(Int64& position, Int64 size, Int64 offset, TSeekOrigin origin) {
  Int64 p = NewPosition(offset, origin, position, size);
  if (p >= 0) position = p;
  return p;
}

}  // namespace

// ----------------------------------------------------------------- TStream

Int64 TStream::Size() {
  Int64 pos = Seek(0, soFromCurrent);
  Int64 size = Seek(0, soFromEnd);
  Seek(pos, soFromBeginning);
  return size;
}

void TStream::SetSize(Int64) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, Integer count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, Integer count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

Int64 TStream::CopyFrom(TStream& source, Int64 count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  const Int64 total = count;
  constexpr Integer kChunk = 64 * 1024;
  std::vector<char> buffer(static_cast<size_t>(std::min<Int64>(count, kChunk)));
  while (count > 0) {
    Integer n = static_cast<Integer>(std::min<Int64>(count, kChunk));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    count -= n;
  }
  return total;
}

// ------------------------------------------------------------- TFileStream

TFileStream::TFileStream(const AnsiString& fileName, Word mode) : fileName_(fileName) {
  if (mode == fmCreate || (mode & 0xFF00) == fmCreate) {
    fd_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
      throw EFCreateError("Cannot create file \"" + fileName + "\". " + Reason(errno));
    return;
  }
  int flags = O_CLOEXEC;
  switch (mode & 0x3) {
    case fmOpenWrite:
      flags |= O_WRONLY;
      break;
    case fmOpenReadWrite:
      flags |= O_RDWR;
      break;
    default:
      flags |= O_RDONLY;
      break;
  }
  fd_ = ::open(fileName.c_str(), flags);
  int err = errno;
  if (fd_ >= 0) {
    // A folder opens read-only on this system; a file stream never holds one.
    struct stat st;
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd_);
      fd_ = -1;
      err = EISDIR;
    }
  }
  if (fd_ < 0) throw EFOpenError("Cannot open file \"" + fileName + "\". " + Reason(err));
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

Integer TFileStream::Read(void* buffer, Integer count) {
  if (count <= 0) return 0;
  char* p = static_cast<char*>(buffer);
  Integer done = 0;
  while (done < count) {
    ssize_t n = ::read(fd_, p + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<Integer>(n);
  }
  return done;
}

Integer TFileStream::Write(const void* buffer, Integer count) {
  if (count <= 0) return 0;
  const char* p = static_cast<const char*>(buffer);
  Integer done = 0;
  while (done < count) {
    ssize_t n = ::write(fd_, p + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<Integer>(n);
  }
  return done;
}

Int64 TFileStream::Seek(Int64 offset, TSeekOrigin origin) {
  int whence = origin == soFromBeginning ? SEEK_SET : origin == soFromCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(fd_, static_cast<off_t>(offset), whence);
  return r < 0 ? -1 : static_cast<Int64>(r);
}

void TFileStream::SetSize(Int64 size) {
  Int64 pos = Position();
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
    throw EStreamError("Cannot set the size of file \"" + fileName_ + "\". " + Reason(errno));
  if (pos > size) Seek(size, soFromBeginning);
}

// ----------------------------------------------------------- TMemoryStream

Integer TMemoryStream::Read(void* buffer, Integer count) {
  return ReadAt(data_, position_, buffer, count);
}

Integer TMemoryStream::Write(const void* buffer, Integer count) {
  return WriteAt(data_, position_, buffer, count);
}

Int64 TMemoryStream::Seek(Int64 offset, TSeekOrigin origin) {
  return SeekIn(position_, Size(), offset, origin);
}

void TMemoryStream::SetSize(Int64 size) {
  if (size < 0) throw EStreamError("Stream size cannot be negative");
  data_.resize(static_cast<size_t>(size));
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  Int64 size = stream.Size();
  data_.assign(static_cast<size_t>(size), 0);
  if (size > 0) stream.ReadBuffer(data_.data(), static_cast<Integer>(size));
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& stream) const {
  if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<Integer>(data_.size()));
}

void TMemoryStream::SaveToFile(const AnsiString& fileName) const {
  WriteFileAtomically(fileName, AnsiString(reinterpret_cast<const char*>(data_.data()), data_.size()));
}

// ----------------------------------------------------------- TStringStream

Integer TStringStream::Read(void* buffer, Integer count) {
  return ReadAt(data_, position_, buffer, count);
}

Integer TStringStream::Write(const void* buffer, Integer count) {
  return WriteAt(data_, position_, buffer, count);
}

Int64 TStringStream::Seek(Int64 offset, TSeekOrigin origin) {
  return SeekIn(position_, Size(), offset, origin);
}

void TStringStream::SetSize(Int64 size) {
  if (size < 0) throw EStreamError("Stream size cannot be negative");
  data_.resize(static_cast<size_t>(size));
  if (position_ > size) position_ = size;
}

AnsiString TStringStream::ReadString(Integer count) {
  if (count <= 0 || position_ >= Size()) return AnsiString();
  Integer n = static_cast<Integer>(std::min<Int64>(count, Size() - position_));
  AnsiString out = data_.substr(static_cast<size_t>(position_), static_cast<size_t>(n));
  position_ += n;
  return out;
}

void TStringStream::WriteString(const AnsiString& text) {
  Write(text.data(), static_cast<Integer>(text.size()));
}

}  // namespace rtl
