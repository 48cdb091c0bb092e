#include "TambletImage.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace tamblet {
namespace {

namespace fs = std::filesystem;

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  return table;
}

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetU32(const std::vector<uint8_t>& in, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t{in[at + i]} << (8 * i);
  return v;
}

[[noreturn]] void Damaged(const std::string& why) {
  throw std::runtime_error("damaged image: " + why);
}

}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
  const auto& table = CrcTable();
  const auto* p = static_cast<const uint8_t*>(data);
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::string NameProblem(const std::string& name) {
  if (name.empty()) return "the name is empty";
  if (name.size() > kMaxNameLength)
    return "the name is longer than " + std::to_string(kMaxNameLength) + " bytes";
  static const char kForbidden[] = "\\\"*:<>?|";
  for (unsigned char c : name) {
    if (c <= 0x20 || c >= 0x7F)
      return "the name holds a blank, a control character or a character outside ASCII";
    if (std::strchr(kForbidden, c)) return std::string("the name holds the character '") +
                                             static_cast<char>(c) + "'";
  }
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string segment = name.substr(start, end - start);
    if (segment.empty() || segment == "." || segment == "..")
      return "the name has an empty, \".\" or \"..\" folder part";
    start = end + 1;
  }
  return {};
}

std::vector<uint8_t> ReadWholeFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + file.string() + ": " + std::strerror(errno));
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read " + file.string());
  return bytes;
}

std::vector<ImageFile> CollectFolder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec))
    throw std::runtime_error("source folder not found: " + folder.string());
  std::vector<ImageFile> files;
  fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec);
  if (ec) throw std::runtime_error("cannot read folder " + folder.string() + ": " + ec.message());
  for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (ec) throw std::runtime_error("cannot read folder " + folder.string() + ": " + ec.message());
    if (!it->is_regular_file()) continue;
    ImageFile f;
    f.name = fs::relative(it->path(), folder).generic_string();
    std::string problem = NameProblem(f.name);
    if (!problem.empty())
      throw std::runtime_error("the module cannot hold the file \"" + f.name + "\": " + problem);
    f.data = ReadWholeFile(it->path());
    if (f.data.size() > UINT32_MAX)
      throw std::runtime_error("the file \"" + f.name + "\" is larger than 4 GiB");
    files.push_back(std::move(f));
  }
  std::sort(files.begin(), files.end(),
            [](const ImageFile& a, const ImageFile& b) { return a.name < b.name; });
  return files;
}

std::vector<uint8_t> EncodeImage(const std::vector<ImageFile>& files) {
  const size_t tableSize = files.size() * kEntrySize;
  uint64_t total = kHeaderSize + tableSize;
  for (const auto& f : files) total += f.data.size();
  if (total > UINT32_MAX) throw std::runtime_error("the image would be larger than 4 GiB");

  std::vector<uint8_t> out(kHeaderSize + tableSize, 0);
  std::memcpy(out.data(), kMagic, 4);
  PutU32(out, 4, kFormatVersion);
  PutU32(out, 8, static_cast<uint32_t>(files.size()));
  uint32_t offset = static_cast<uint32_t>(kHeaderSize + tableSize);
  for (size_t i = 0; i < files.size(); ++i) {
    const auto& f = files[i];
    std::string problem = NameProblem(f.name);
    if (!problem.empty())
      throw std::runtime_error("the module cannot hold the file \"" + f.name + "\": " + problem);
    size_t at = kHeaderSize + i * kEntrySize;
    std::memcpy(&out[at], f.name.data(), f.name.size());
    PutU32(out, at + kNameField, offset);
    PutU32(out, at + kNameField + 4, static_cast<uint32_t>(f.data.size()));
    PutU32(out, at + kNameField + 8, Crc32(f.data.data(), f.data.size()));
    // the last four bytes of an entry are reserved and stay zero
    offset += static_cast<uint32_t>(f.data.size());
  }
  PutU32(out, 12, Crc32(out.data() + kHeaderSize, tableSize));
  out.reserve(total);
  for (const auto& f : files) out.insert(out.end(), f.data.begin(), f.data.end());
  return out;
}

std::vector<ListedFile> CheckImage(const std::vector<uint8_t>& image) {
  if (image.size() < kHeaderSize) Damaged("shorter than its header");
  if (std::memcmp(image.data(), kMagic, 4) != 0) Damaged("wrong magic");
  if (GetU32(image, 4) != kFormatVersion)
    Damaged("unknown format version " + std::to_string(GetU32(image, 4)));
  const uint64_t count = GetU32(image, 8);
  const uint64_t tableEnd = kHeaderSize + count * kEntrySize;
  if (tableEnd > image.size()) Damaged("the file table runs past the end of the file");
  if (GetU32(image, 12) != Crc32(image.data() + kHeaderSize, tableEnd - kHeaderSize))
    Damaged("file table checksum mismatch");

  std::vector<ListedFile> listed;
  uint64_t expected = tableEnd;
  for (uint64_t i = 0; i < count; ++i) {
    size_t at = kHeaderSize + i * kEntrySize;
    const char* nameField = reinterpret_cast<const char*>(&image[at]);
    size_t len = strnlen(nameField, kNameField);
    if (len == kNameField) Damaged("entry " + std::to_string(i) + " has an unterminated name");
    ListedFile f;
    f.name.assign(nameField, len);
    if (!NameProblem(f.name).empty()) Damaged("entry " + std::to_string(i) + " has an invalid name");
    uint32_t offset = GetU32(image, at + kNameField);
    f.size = GetU32(image, at + kNameField + 4);
    uint32_t crc = GetU32(image, at + kNameField + 8);
    if (offset != expected) Damaged("\"" + f.name + "\" starts at the wrong offset");
    if (uint64_t{offset} + f.size > image.size()) Damaged("\"" + f.name + "\" runs past the end of the file");
    if (Crc32(&image[offset], f.size) != crc) Damaged("\"" + f.name + "\" fails its CRC-32 check");
    expected += f.size;
    listed.push_back(std::move(f));
  }
  if (expected != image.size()) Damaged("trailing bytes after the last file");
  return listed;
}

void WriteFileAtomically(const fs::path& file, const std::vector<uint8_t>& bytes) {
  fs::path temp = file;
  temp += ".tamblet-" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot create " + temp.string() + ": " + std::strerror(errno));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      std::error_code ignore;
      fs::remove(temp, ignore);
      throw std::runtime_error("cannot write " + temp.string());
    }
  }
  std::error_code ec;
  fs::rename(temp, file, ec);
  if (ec) {
    std::error_code ignore;
    fs::remove(temp, ignore);
    throw std::runtime_error("cannot write " + file.string() + ": " + ec.message());
  }
}

}  // namespace tamblet
