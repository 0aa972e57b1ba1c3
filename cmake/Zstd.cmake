# qv_zstd: Zstandard for the updater's compressed files and patches.
#
# Natively it is the system's libzstd (libzstd-dev), compressor and decoder;
# the publisher's tool compresses with it. Debian has no MinGW build of it, so
# the Windows trees compile the decoder alone (lib/common and lib/decompress)
# from Debian's source package of the native library's version, which
# scripts/bootstrap fetches (scripts/libzstd-source), and link it statically.

if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(QV_LIBZSTD REQUIRED IMPORTED_TARGET libzstd)
  add_library(qv_zstd INTERFACE)
  target_link_libraries(qv_zstd INTERFACE PkgConfig::QV_LIBZSTD)
  return()
endif()

# The source tree of the native library's version, unless given.
if(QV_ZSTD_SOURCE_DIR)
  set(qv_zstd_source "${QV_ZSTD_SOURCE_DIR}")
else()
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/libzstd-source --print-dir
                  OUTPUT_VARIABLE qv_zstd_source OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_VARIABLE qv_zstd_error RESULT_VARIABLE qv_zstd_result)
  if(NOT qv_zstd_result EQUAL 0)
    message(FATAL_ERROR "libzstd's source: ${qv_zstd_error}")
  endif()
endif()
if(NOT EXISTS "${qv_zstd_source}/lib/zstd.h")
  message(FATAL_ERROR "libzstd's source is not in ${qv_zstd_source}: run scripts/bootstrap as root "
                      "(or give -DQV_ZSTD_SOURCE_DIR=<unpacked source package>)")
endif()

set(qv_zstd_lib "${qv_zstd_source}/lib")
add_library(qv_zstd STATIC
  ${qv_zstd_lib}/common/debug.c
  ${qv_zstd_lib}/common/entropy_common.c
  ${qv_zstd_lib}/common/error_private.c
  ${qv_zstd_lib}/common/fse_decompress.c
  ${qv_zstd_lib}/common/xxhash.c
  ${qv_zstd_lib}/common/zstd_common.c
  ${qv_zstd_lib}/decompress/huf_decompress.c
  ${qv_zstd_lib}/decompress/zstd_ddict.c
  ${qv_zstd_lib}/decompress/zstd_decompress.c
  ${qv_zstd_lib}/decompress/zstd_decompress_block.c
)
target_include_directories(qv_zstd SYSTEM PUBLIC ${qv_zstd_lib})
# C only, no assembly (the Huffman decoder's x86-64 assembly is written for
# ELF), no legacy frame formats, no tracing hooks.
target_compile_definitions(qv_zstd PRIVATE ZSTD_DISABLE_ASM=1 ZSTD_LEGACY_SUPPORT=0 ZSTD_TRACE=0)
# Another project's code: its warnings are not ours to act on.
target_compile_options(qv_zstd PRIVATE -w)
