# The fuzz tree (preset "fuzz"): every target compiled for coverage-guided
# fuzzing with AddressSanitizer and UndefinedBehaviorSanitizer, and the
# libFuzzer programs of fuzz/ built where the compiler can link them.

option(QV_FUZZ "Build the libFuzzer targets of fuzz/ (clang)" OFF)
set(QV_FUZZ_SUPPORTED OFF)

if(QV_FUZZ AND NOT WIN32)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, std::size_t) { return 0; }
  ]] QV_COMPILER_LINKS_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)
  if(QV_COMPILER_LINKS_LIBFUZZER)
    set(QV_FUZZ_SUPPORTED ON)
    # The libraries get the coverage hooks; only the fuzz programs link the
    # fuzzer's own main (fuzz/CMakeLists.txt). -O1 keeps a crash's stack readable.
    add_compile_options(-O1 -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
  else()
    message(WARNING "QV_FUZZ: ${CMAKE_CXX_COMPILER_ID} cannot link -fsanitize=fuzzer (clang with its "
                    "compiler runtime is needed); the fuzz targets are left out")
  endif()
endif()
