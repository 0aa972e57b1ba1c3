#include "transfer/ResumeValidator.h"

bool IsKeepableValidator(std::string_view validator) {
    return !validator.empty() && validator.size() <= kLongestResumeValidator &&
           validator.find_first_of("\r\n") == std::string_view::npos;
}

std::string ResumeRequestHeaders(uint64_t offset, std::string_view validator) {
    return "Range: bytes=" + std::to_string(offset) + "-\r\nIf-Range: " + std::string(validator) + "\r\n";
}
