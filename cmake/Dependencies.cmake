# Every outside package the build needs, found in one place before any target is defined, so
# that a machine missing one stops at configure with one line naming the Debian package to
# install (scripts/deps.sh installs them all) instead of failing halfway through the tree.

set(KV_MISSING_PACKAGES "")

macro(kv_require found what debian)
  if(NOT ${found})
    list(APPEND KV_MISSING_PACKAGES "${what} (Debian: ${debian})")
  endif()
endmacro()

find_package(CURL QUIET)
kv_require(CURL_FOUND "libcurl" "libcurl4-openssl-dev")
# Response bodies are inflated by the network library itself (see net/httpclient.cpp).
find_package(ZLIB QUIET)
kv_require(ZLIB_FOUND "zlib" "zlib1g-dev")

# Spreadsheet export (.xlsx) in the core; Debian ships a pkg-config file only.
find_package(PkgConfig QUIET)
kv_require(PkgConfig_FOUND "pkg-config" "pkg-config")
if(PkgConfig_FOUND)
  pkg_check_modules(XLSXWRITER QUIET IMPORTED_TARGET xlsxwriter)
  kv_require(XLSXWRITER_FOUND "libxlsxwriter" "libxlsxwriter-dev")
endif()

if(KV_BUILD_APP)
  find_package(Qt6 6.4 QUIET COMPONENTS Widgets Charts)
  kv_require(Qt6Widgets_FOUND "Qt6 Widgets" "qt6-base-dev")
  # Qt Charts' CMake files ask for Qt6OpenGL, which qt6-base-dev only recommends.
  kv_require(Qt6Charts_FOUND "Qt6 Charts" "qt6-charts-dev libqt6opengl6-dev")
  # Qt's release tool compiles the language modules (translations/*.ts -> *.lng).
  find_program(KV_LRELEASE NAMES lrelease lrelease-qt6 PATHS /usr/lib/qt6/bin ${QT6_INSTALL_PREFIX}/bin)
  kv_require(KV_LRELEASE "Qt lrelease" "qt6-l10n-tools")
  if(KV_BUILD_TESTS)
    find_package(Qt6 6.4 QUIET COMPONENTS Test)
    kv_require(Qt6Test_FOUND "Qt6 Test" "qt6-base-dev")
  endif()
endif()
if(KV_FUZZ)
  # libFuzzer is part of clang's runtime libraries, which Debian packages apart from clang.
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-runtime-dir
                  OUTPUT_VARIABLE KV_CLANG_RT_DIR OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  file(GLOB KV_LIBFUZZER "${KV_CLANG_RT_DIR}/libclang_rt.fuzzer-*.a")
  if(KV_LIBFUZZER)
    set(KV_LIBFUZZER_FOUND TRUE)
  endif()
  kv_require(KV_LIBFUZZER_FOUND "libFuzzer" "libclang-rt-14-dev")
endif()
if(KV_BUILD_TESTS)
  find_package(GTest QUIET)
  kv_require(GTest_FOUND "GoogleTest" "libgtest-dev")
endif()
if(KV_BUILD_SERVER)
  # The catalogue server keeps its data in SQLite, through the C API.
  find_package(SQLite3 QUIET)
  kv_require(SQLite3_FOUND "SQLite 3" "libsqlite3-dev")
  find_package(Threads REQUIRED)
  # ... or, for several server processes on one database, in PostgreSQL through libpq.
  find_package(PkgConfig QUIET)
  kv_require(PkgConfig_FOUND "pkg-config" "pkg-config")
  if(PkgConfig_FOUND)
    pkg_check_modules(LIBPQ QUIET IMPORTED_TARGET libpq)
    kv_require(LIBPQ_FOUND "libpq" "libpq-dev")
    # Its HTTP side: event loops that hold thousands of slow connections without a thread each.
    pkg_check_modules(MHD QUIET IMPORTED_TARGET libmicrohttpd)
    kv_require(MHD_FOUND "libmicrohttpd" "libmicrohttpd-dev")
  endif()
endif()
if(KV_BUILD_TESTS OR KV_BUILD_BENCH OR KV_BUILD_SERVER)
  # The network tests and benchmarks start their own servers; Debian ships no CMake file for it.
  find_package(PkgConfig QUIET)
  kv_require(PkgConfig_FOUND "pkg-config" "pkg-config")
  if(PkgConfig_FOUND)
    pkg_check_modules(HTTPLIB QUIET IMPORTED_TARGET cpp-httplib)
    kv_require(HTTPLIB_FOUND "cpp-httplib" "libcpp-httplib-dev")
  endif()
endif()
if(KV_BUILD_BENCH)
  find_package(benchmark QUIET)
  kv_require(benchmark_FOUND "Google Benchmark" "libbenchmark-dev")
endif()

if(KV_MISSING_PACKAGES)
  list(JOIN KV_MISSING_PACKAGES "; " kv_missing_text)
  message(FATAL_ERROR "Missing build dependencies: ${kv_missing_text}. Run scripts/deps.sh to install them.")
endif()
