// tamblet: builds the module's file-system image from a folder, and lists or
// checks an image.
//
//   tamblet SOURCE-FOLDER OUTPUT-FILE
//   tamblet --list IMAGE
#include <cstdio>
#include <exception>
#include <string>

#include "TambletImage.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: tamblet SOURCE-FOLDER OUTPUT-FILE\n"
               "       tamblet --list IMAGE\n");
  return 2;
}

int List(const char* image) {
  auto files = tamblet::CheckImage(tamblet::ReadWholeFile(image));
  for (const auto& f : files) std::printf("%s %u\n", f.name.c_str(), f.size);
  return 0;
}

int Build(const char* folder, const char* output) {
  auto files = tamblet::CollectFolder(folder);
  tamblet::WriteFileAtomically(output, tamblet::EncodeImage(files));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Usage();
  const std::string first = argv[1];
  try {
    if (first == "--list") return List(argv[2]);
    if (first.rfind("--", 0) == 0) return Usage();
    return Build(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tamblet: %s\n", e.what());
    return 1;
  }
}
