// Datagrams from the network reach the announcement parser and the reply
// matching unfiltered: any bytes must be taken apart safely, and what the
// parser fills in must hang together.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/DevListU.h"
#include "core/VormekConnectionU.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static core::TvormekDevList list;  // never activated: no socket is opened
  const net::TBytes bytes(data, data + size);
  const std::string text(reinterpret_cast<const char*>(data), size);

  if (list.IsValidAnnounce(bytes)) {
    core::TdeviceInfo item;
    item.Key = item.Address = "127.0.0.2:7124";
    item.Host = item.Name = "127.0.0.2";
    list.ParseAnnounce(item, text);
    if (item.Address != "127.0.0.2:7124" && item.Address != item.Host + ":" + item.PortText)
      std::abort();
    for (char c : item.PortText)
      if (c < '0' || c > '9') std::abort();
    if (item.Key != "127.0.0.2:7124") std::abort();
  }

  const std::string key = core::CommandKey(text);
  (void)core::ReplyAnswers(text, key);
  const std::string masked = core::MaskSecretValues(text);
  // A masked secret never survives in the masked text.
  const auto eq = text.find('=');
  if (eq != std::string::npos && core::IsSecretSetting(core::CommandKey(text.substr(0, eq))) &&
      masked != text.substr(0, eq + 1) + "********")
    std::abort();
  return 0;
}
