# Script mode (cmake -P): writes OUT, a C++ source with the bytes of FILES
# ("|"-separated) and NAMESPACE::FUNCTION() registering them by name.
string(REPLACE "|" ";" files "${FILES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(f IN LISTS files)
  file(READ ${f} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  get_filename_component(name ${f} NAME_WE)
  string(APPEND arrays "const vcl::Byte kData${index}[] = {${bytes}};\n")
  string(APPEND entries "      {\"${name}\", kData${index}, sizeof kData${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUT}.tmp
"// Generated from the bitmap files of the library; do not edit.
#include \"vcl/Resources.h\"

namespace {
${arrays}}  // namespace

namespace ${NAMESPACE} {

void ${FUNCTION}() {
  static const vcl::TResourceEntry kEntries[] = {
${entries}  };
  vcl::RegisterResources(kEntries, sizeof kEntries / sizeof kEntries[0]);
}

}  // namespace ${NAMESPACE}
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
