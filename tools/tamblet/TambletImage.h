#pragma once
// The module's file-system image as our image builder writes it. The byte
// layout is documented in docs/image-format.md; this header is the one place
// in code that knows it.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tamblet {

inline constexpr char kMagic[4] = {'T', 'C', 'D', 'S'};
inline constexpr uint32_t kFormatVersion = 1;
inline constexpr size_t kHeaderSize = 16;
inline constexpr size_t kEntrySize = 80;
inline constexpr size_t kNameField = 64;
// The module keeps a name in a 64-byte field with a terminating zero.
inline constexpr size_t kMaxNameLength = kNameField - 1;

// CRC-32 as used by zip and PNG (reflected polynomial 0xEDB88320).
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

struct ImageFile {
  std::string name;  // relative to the image root, "/" between folders
  std::vector<uint8_t> data;
};

struct ListedFile {
  std::string name;
  uint32_t size = 0;
};

// Why a name cannot go into the image, or an empty text when it can.
std::string NameProblem(const std::string& name);

// Every regular file under `folder` (subfolders included), sorted by name so
// that the same files always give the same image. Throws std::runtime_error
// with a message naming the first file whose name the module cannot hold, or
// a file that cannot be read.
std::vector<ImageFile> CollectFolder(const std::filesystem::path& folder);

// The image bytes for these files, in the order given.
std::vector<uint8_t> EncodeImage(const std::vector<ImageFile>& files);

// Checks the whole image (magic, version, table checksum, offsets, sizes and
// every file's CRC-32) and gives its files. Throws std::runtime_error naming
// what is damaged.
std::vector<ListedFile> CheckImage(const std::vector<uint8_t>& image);

// Reads a whole file; throws std::runtime_error when it cannot.
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& file);

// Writes the bytes beside the target and renames them over it, so a reader
// never sees half an image. Throws std::runtime_error when it cannot.
void WriteFileAtomically(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);

}  // namespace tamblet
