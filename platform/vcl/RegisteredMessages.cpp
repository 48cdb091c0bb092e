#include "vcl/RegisteredMessages.h"

#include <cctype>
#include <map>
#include <mutex>
#include <string>

namespace vcl {

namespace {

struct RegisteredNames {
  std::mutex lock;
  std::map<std::string, rtl::Cardinal> numbers;
  rtl::Cardinal next = 0xC000;
};

RegisteredNames& Names() {
  static RegisteredNames names;
  return names;
}

}  // namespace

rtl::Cardinal RegisterWindowMessage(const rtl::AnsiString& name) {
  if (name.empty()) return 0;
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  RegisteredNames& names = Names();
  std::lock_guard<std::mutex> guard(names.lock);
  if (auto it = names.numbers.find(key); it != names.numbers.end()) return it->second;
  if (names.next > 0xFFFF) return 0;
  const rtl::Cardinal number = names.next++;
  names.numbers.emplace(std::move(key), number);
  return number;
}

}  // namespace vcl
