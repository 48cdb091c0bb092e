#pragma once
// A scratch folder for one fuzzer process, removed when it exits.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace spell_fuzz {

inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    // A memory file system where there is one: the saves flush to disk.
    std::error_code ec;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                      : std::filesystem::temp_directory_path();
    std::string tmpl = (base / "spell-fuzz-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) std::abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchFolder(), ec);
    });
    return std::filesystem::path(tmpl);
  }();
  return folder;
}

// The first byte chooses how the rest becomes a file: the rest as it is,
// or a valid file with the rest applied as (position, xor) patches, or
// such a file cut at a length the rest gives.
inline std::string Shape(const uint8_t* data, size_t size, const std::string& valid) {
  if (size == 0) return valid;
  const uint8_t mode = data[0] % 3;
  const uint8_t* rest = data + 1;
  const size_t n = size - 1;
  if (mode == 0) return std::string(reinterpret_cast<const char*>(rest), n);
  std::string file = valid;
  size_t i = 0;
  if (mode == 2 && n >= 2) {
    file.resize(((static_cast<size_t>(rest[0]) << 8) | rest[1]) % (valid.size() + 1));
    i = 2;
  }
  for (; i + 3 <= n && !file.empty(); i += 3) {
    const size_t at = ((static_cast<size_t>(rest[i]) << 8) | rest[i + 1]) % file.size();
    file[at] = static_cast<char>(file[at] ^ rest[i + 2]);
  }
  return file;
}

}  // namespace spell_fuzz
