// Damaged images must be refused with a message, never read out of bounds;
// an image that passes the check lists files that fit inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "TambletImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> image(data, data + size);
  try {
    uint64_t total = tamblet::kHeaderSize;
    auto files = tamblet::CheckImage(image);
    for (const auto& f : files) total += tamblet::kEntrySize + f.size;
    if (total != size) std::abort();
  } catch (const std::runtime_error&) {
  }
  // Whatever came in, a file made of these bytes round-trips.
  std::vector<uint8_t> back = tamblet::EncodeImage({{"fuzz.bin", image}});
  auto listed = tamblet::CheckImage(back);
  if (listed.size() != 1 || listed[0].size != size) std::abort();
  return 0;
}
