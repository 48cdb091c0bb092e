# Shared helpers for every target of the project.

set(TOLVANE_WARNINGS -Wall -Wextra -Wno-unused-parameter)

if(TOLVANE_SANITIZER STREQUAL "address")
  # One build serves the suites under ASan+UBSan and the libFuzzer targets.
  # The fuzzer's coverage instrumentation (-fsanitize=fuzzer-no-link) goes
  # only where a fuzz target can reach: the fuzz programs and the libraries
  # they link, directly or not (tolvane_fuzz_tests adds it once every target
  # is declared). In the test programs and the other libraries it guided
  # nothing and cost about an eighth of their compile time.
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "the address flavour is built with clang (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined -gline-tables-only)
  add_link_options(-fsanitize=address,undefined)
elseif(TOLVANE_SANITIZER STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -g1)
  add_link_options(-fsanitize=thread)
endif()

# gold links the test programs about three times faster than the default
# linker, and the links are a sixth of a fresh build. Not under ASan: gold
# warns for every local symbol of clang's runtime it cannot export; lld
# does not, and links the instrumented programs faster still.
include(CheckLinkerFlag)
if(TOLVANE_SANITIZER STREQUAL "address")
  check_linker_flag(CXX -fuse-ld=lld TOLVANE_HAVE_LLD)
  if(TOLVANE_HAVE_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
else()
  check_linker_flag(CXX -fuse-ld=gold TOLVANE_HAVE_GOLD)
  if(TOLVANE_HAVE_GOLD)
    add_link_options(-fuse-ld=gold)
  endif()
endif()

# Custom target that a sanitizer build builds: every test marked for it.
if(NOT TARGET san_tests)
  add_custom_target(san_tests)
endif()

# TOLVANE_UNITY (on in `make run`, `make test` and CI; off by default so
# that an edit recompiles one file): each library and test program
# compiles as a few large units, so the Qt and test-framework headers (a
# second and a half of every test file on their own) are read once per
# unit. File-local names (anonymous namespaces) must therefore be unique
# within a target.
option(TOLVANE_UNITY "Compile each library and test program as a few large units" OFF)
set(TOLVANE_UNITY_BATCH 16 CACHE STRING "Sources per unit of a unity target")

# tolvane_library(NAME SOURCES ... [DEPS ...])
#   A static library whose headers are included as "<layer>/<file>.h" from
#   INCLUDE_ROOT (the folder above the layer's own folder).
function(tolvane_library name)
  cmake_parse_arguments(A "" "INCLUDE_ROOT" "SOURCES;DEPS;PUBLIC_DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  if(TOLVANE_UNITY)
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${TOLVANE_UNITY_BATCH})
  endif()
  target_include_directories(${name} PUBLIC ${A_INCLUDE_ROOT})
  target_compile_options(${name} PRIVATE ${TOLVANE_WARNINGS})
  if(A_DEPS)
    target_link_libraries(${name} PRIVATE ${A_DEPS})
  endif()
  if(A_PUBLIC_DEPS)
    target_link_libraries(${name} PUBLIC ${A_PUBLIC_DEPS})
  endif()
endfunction()

# tolvane_test(NAME SOURCES ... DEPS ... [SANITIZE address|thread ...] [LABELS ...]
#              [RESOURCE_LOCK name ...] [SHARDS n] [COST n] [OPTIMIZE])
#   A GoogleTest executable registered with CTest. In a normal build every test
#   is built and each of its tests is a CTest test of its own (or the program
#   runs as TOLVANE_TEST_SHARDS shards, when that is set). In a sanitizer
#   build only programs that list that sanitizer under SANITIZE are built (as
#   part of the san_tests target); they carry the label "sanitize" and run as
#   SHARDS processes (TOLVANE_SANITIZER_SHARDS unless given), each taking its
#   share of the tests through GoogleTest's sharding. COST marks a program
#   whose shards take minutes: ctest starts those first, so that a fresh
#   build (no timings of earlier runs) does not end on one long shard.
set(TOLVANE_SANITIZER_SHARDS 2 CACHE STRING "Processes per test program in a sanitizer build")
# TOLVANE_TEST_SHARDS: 0 (the default, for a developer's build) makes each
# GoogleTest test a CTest test of its own, so one can be run or rerun by
# name; `make test` and CI set a few shards per program instead, which
# spares about two thousand process starts.
set(TOLVANE_TEST_SHARDS 0 CACHE STRING "Processes per test program in a normal build (0: one per test)")
# In the unity builds (make test, CI) every test program reuses one
# precompiled header of the test framework and the standard headers the
# suites use most: parsed once instead of once per program in each flavour.
# It is compiled with the test programs' own options, so the compilers
# accept it for every one of them.
function(_tolvane_test_pch)
  if(TARGET tolvane_test_pch)
    return()
  endif()
  set(source ${CMAKE_BINARY_DIR}/tolvane_test_pch.cpp)
  if(NOT EXISTS ${source})
    file(WRITE ${source} "")
  endif()
  add_library(tolvane_test_pch OBJECT ${source})
  # Qt makes its users compile with -fPIC; every test program does, so that
  # all of them agree with the header.
  target_compile_options(tolvane_test_pch PRIVATE ${TOLVANE_WARNINGS} ${TOLVANE_TEST_OPTIMIZE} -fPIC)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(tolvane_test_pch PRIVATE -Wno-subobject-linkage)
  endif()
  target_link_libraries(tolvane_test_pch PRIVATE GTest::gtest GTest::gmock)
  _tolvane_test_definitions(tolvane_test_pch)
  target_precompile_headers(tolvane_test_pch PRIVATE
    <gtest/gtest.h> <gmock/gmock.h>
    <algorithm> <chrono> <cstdint> <cstdlib> <filesystem> <fstream>
    <functional> <map> <memory> <random> <set> <sstream> <string> <thread>
    <vector>)
endfunction()

function(_tolvane_test_definitions name)
  target_compile_definitions(${name} PRIVATE
    TOLVANE_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    TOLVANE_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    TOLVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endfunction()

# The test programs' own code compiles without optimisation: their bodies
# are long runs of assertion macros that run once, and the optimiser was
# most of their compile time (a third of it with GCC, more than half under
# ASan). The libraries under test keep the build's optimisation. A program
# whose own code does the heavy work (a comparison over a whole corpus, a
# dictionary built in the test) says OPTIMIZE and compiles at -O1 without
# the shared precompiled header (built at -O0, which the compilers refuse
# to mix with -O1).
set(TOLVANE_TEST_OPTIMIZE -O0)

function(tolvane_test name)
  cmake_parse_arguments(A "OPTIMIZE" "SHARDS;COST" "SOURCES;DEPS;SANITIZE;LABELS;RESOURCE_LOCK" ${ARGN})
  if(TOLVANE_SANITIZER)
    if(NOT TOLVANE_SANITIZER IN_LIST A_SANITIZE)
      # Declared but never built in this flavour, so settings a folder adds
      # to its target afterwards still find it.
      add_executable(${name} EXCLUDE_FROM_ALL ${A_SOURCES})
      return()
    endif()
    add_executable(${name} EXCLUDE_FROM_ALL ${A_SOURCES})
    add_dependencies(san_tests ${name})
    list(APPEND A_LABELS sanitize)
  else()
    add_executable(${name} ${A_SOURCES})
  endif()
  if(A_OPTIMIZE)
    target_compile_options(${name} PRIVATE ${TOLVANE_WARNINGS} -O1)
  else()
    target_compile_options(${name} PRIVATE ${TOLVANE_WARNINGS} ${TOLVANE_TEST_OPTIMIZE})
  endif()
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  if(TOLVANE_UNITY)
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${TOLVANE_UNITY_BATCH})
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      # A fixture in a file's anonymous namespace is fine; GCC only warns
      # because the unit includes the file instead of compiling it.
      target_compile_options(${name} PRIVATE -Wno-subobject-linkage)
    endif()
  endif()
  _tolvane_test_definitions(${name})
  if(TOLVANE_UNITY AND NOT A_OPTIMIZE)
    _tolvane_test_pch()
    target_compile_options(${name} PRIVATE -fPIC)
    target_precompile_headers(${name} REUSE_FROM tolvane_test_pch)
  endif()
  set(properties "")
  if(A_LABELS)
    list(APPEND properties LABELS "${A_LABELS}")
  endif()
  if(A_RESOURCE_LOCK)
    list(APPEND properties RESOURCE_LOCK "${A_RESOURCE_LOCK}")
  endif()
  if(TOLVANE_SANITIZER OR TOLVANE_TEST_SHARDS GREATER 0)
    # A process start is dear (Qt with fontconfig in the window-layer
    # programs, and under a sanitizer the runtime's own start-up too): one
    # per test costs more than most tests, and discovering the tests starts
    # every program once more at build time. A few shards per program keep
    # ctest's parallelism.
    set(env "")
    set(filter "")
    if(TOLVANE_SANITIZER)
      if(NOT A_SHARDS)
        set(A_SHARDS ${TOLVANE_SANITIZER_SHARDS})
      endif()
      if(TOLVANE_SANITIZER STREQUAL "address" AND TOLVANE_WITH_GUI)
        # Qt's font look-up leaves fontconfig's caches to the end of the
        # process: the system library's, not ours, so only its leaks pass.
        list(APPEND env "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan-system-libraries.supp")
      endif()
      # Comparisons over whole corpora (suites named "...Corpus") run in the
      # normal build only: under ASan they take many minutes and reach no
      # code the smaller cases and the fuzz targets do not.
      set(filter GTEST_FILTER=-*Corpus.*)
      set(timeout 900)
    else()
      # SHARDS is set for the sanitizer flavours' balance; the normal build
      # takes the one count for every program.
      set(A_SHARDS ${TOLVANE_TEST_SHARDS})
      set(timeout 600)
    endif()
    math(EXPR last "${A_SHARDS} - 1")
    foreach(i RANGE ${last})
      set(test ${name}.shard${i})
      add_test(NAME ${test} COMMAND ${name} --gtest_brief=1)
      set(test_env ${env} GTEST_TOTAL_SHARDS=${A_SHARDS} GTEST_SHARD_INDEX=${i} ${filter})
      set_tests_properties(${test} PROPERTIES TIMEOUT ${timeout} ENVIRONMENT "${test_env}")
      if(A_LABELS)
        set_tests_properties(${test} PROPERTIES LABELS "${A_LABELS}")
      endif()
      if(A_RESOURCE_LOCK)
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK "${A_RESOURCE_LOCK}")
      endif()
      if(A_COST)
        set_tests_properties(${test} PROPERTIES COST ${A_COST})
      endif()
    endforeach()
  elseif(properties)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# tolvane_fuzz(NAME SOURCES ... DEPS ... [SECONDS n] [CORPUS dir])
#   A libFuzzer target, built only in the "address" flavour, run by CTest for
#   a bounded time from a fixed seed: a slower machine runs a prefix of the
#   same inputs, so what passed here cannot fail there by luck of the draw.
#   TOLVANE_FUZZ_SEED picks another sequence for a longer hunt by hand.
#   The runs share one budget, TOLVANE_FUZZ_BUDGET seconds of CPU in all:
#   SECONDS is a target's weight in it (its run length if the weights added
#   up to the budget), so a new target takes its time from the others
#   instead of lengthening CI.
set(TOLVANE_FUZZ_SEED 20261210 CACHE STRING "libFuzzer seed of the bounded fuzz runs")
set(TOLVANE_FUZZ_BUDGET 150 CACHE STRING "CPU seconds shared by all bounded fuzz runs")
function(tolvane_fuzz name)
  cmake_parse_arguments(A "" "SECONDS;CORPUS" "SOURCES;DEPS" ${ARGN})
  if(NOT TOLVANE_SANITIZER STREQUAL "address")
    return()
  endif()
  if(NOT A_SECONDS)
    set(A_SECONDS 30)
  endif()
  add_executable(${name} EXCLUDE_FROM_ALL ${A_SOURCES})
  add_dependencies(san_tests ${name})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  file(MAKE_DIRECTORY ${work})
  set(args ${work})
  if(A_CORPUS)
    list(APPEND args ${A_CORPUS})
  endif()
  set_target_properties(${name} PROPERTIES TOLVANE_FUZZ_WEIGHT ${A_SECONDS} TOLVANE_FUZZ_ARGS "${args}")
  get_property(known GLOBAL PROPERTY TOLVANE_FUZZ_TARGETS)
  if(NOT known)
    # The shares are known only once every folder has declared its targets.
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tolvane_fuzz_tests)
  endif()
  set_property(GLOBAL APPEND PROPERTY TOLVANE_FUZZ_TARGETS ${name})
endfunction()

# Gives the fuzzer's coverage instrumentation to every library of ours that
# a fuzz target links, directly or through other libraries.
function(_tolvane_fuzz_coverage target)
  get_target_property(libraries ${target} LINK_LIBRARIES)
  if(NOT libraries)
    return()
  endif()
  foreach(library IN LISTS libraries)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
    if(NOT TARGET ${library})
      continue()
    endif()
    get_target_property(imported ${library} IMPORTED)
    get_target_property(done ${library} TOLVANE_FUZZ_COVERAGE)
    if(imported OR done)
      continue()
    endif()
    get_target_property(type ${library} TYPE)
    if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "OBJECT_LIBRARY")
      set_target_properties(${library} PROPERTIES TOLVANE_FUZZ_COVERAGE ON)
      target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link)
      _tolvane_fuzz_coverage(${library})
    endif()
  endforeach()
endfunction()

function(tolvane_fuzz_tests)
  get_property(targets GLOBAL PROPERTY TOLVANE_FUZZ_TARGETS)
  foreach(name IN LISTS targets)
    _tolvane_fuzz_coverage(${name})
  endforeach()
  set(total 0)
  foreach(name IN LISTS targets)
    get_target_property(weight ${name} TOLVANE_FUZZ_WEIGHT)
    math(EXPR total "${total} + ${weight}")
  endforeach()
  foreach(name IN LISTS targets)
    get_target_property(weight ${name} TOLVANE_FUZZ_WEIGHT)
    get_target_property(args ${name} TOLVANE_FUZZ_ARGS)
    math(EXPR seconds "${TOLVANE_FUZZ_BUDGET} * ${weight} / ${total}")
    if(seconds LESS 5)
      set(seconds 5)
    endif()
    add_test(NAME ${name} COMMAND ${name} -seed=${TOLVANE_FUZZ_SEED} -max_total_time=${seconds}
             -rss_limit_mb=2048 ${args})
    set_tests_properties(${name} PROPERTIES LABELS "sanitize;fuzz" TIMEOUT 600)
    if(TOLVANE_WITH_GUI)
      # A target that drives the window layers loads fontconfig through
      # Qt: its caches are left to the end of the process, as in the suites.
      set_tests_properties(${name} PROPERTIES ENVIRONMENT
        "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan-system-libraries.supp")
    endif()
  endforeach()
endfunction()

# tolvane_bench(NAME SOURCES ... DEPS ...): a Google Benchmark program under bench/.
function(tolvane_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  if(TOLVANE_SANITIZER)
    add_executable(${name} EXCLUDE_FROM_ALL ${A_SOURCES})  # never built here, as for tests
    return()
  endif()
  find_package(benchmark REQUIRED)
  # Built by the `benchmarks` target (`make bench`), not by every build: a
  # measurement is taken on purpose, and compiling the programs in each CI
  # run costs minutes its two-core budget does not have.
  add_executable(${name} EXCLUDE_FROM_ALL ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS} benchmark::benchmark)
  if(NOT TARGET benchmarks)
    add_custom_target(benchmarks)
  endif()
  add_dependencies(benchmarks ${name})
endfunction()

# tolvane_subdirs(): adds every direct subfolder that has a CMakeLists.txt.
# Test and bench folders are split this way so that each area builds its own
# executable and a half-written area never stops another from building.
function(tolvane_subdirs)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
