// What the fuzz programs share: a check that stays in every build type and
// stops the run with the broken rule (libFuzzer then keeps the input), and
// the splitting of one input into the several texts a reader takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

[[noreturn]] inline void FuzzCheckFailed(const char* rule, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken rule: %s\n", file, line, rule);
    std::abort();
}

#define FUZZ_CHECK(rule) ((rule) ? static_cast<void>(0) : FuzzCheckFailed(#rule, __FILE__, __LINE__))

inline std::string_view InputText(const uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The input's texts between `separator` bytes: exactly `count` of them, the
// last one taking the rest, missing ones empty. Seeds stay readable: one
// text a line.
inline std::vector<std::string> SplitInput(std::string_view input, char separator, std::size_t count) {
    std::vector<std::string> parts;
    while (parts.size() + 1 < count) {
        const std::size_t cut = input.find(separator);
        if (cut == std::string_view::npos) break;
        parts.emplace_back(input.substr(0, cut));
        input.remove_prefix(cut + 1);
    }
    parts.emplace_back(input);
    parts.resize(count);
    return parts;
}
