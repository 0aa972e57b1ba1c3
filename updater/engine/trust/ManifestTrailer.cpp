#include "trust/ManifestTrailer.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::string_view kOpening = "<!--koravel-signature";
constexpr std::string_view kClosing = "-->";

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool ReadDigits(std::string_view text, std::size_t at, std::size_t count, int* value) {
    int result = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
        result = result * 10 + (text[i] - '0');
    }
    *value = result;
    return true;
}

// Reads "name: value" up to the line end at `at`; advances past the line end.
bool ReadField(std::string_view text, std::string_view lineEnd, std::string_view name, std::size_t* at,
               std::string_view* value) {
    std::string_view rest = text.substr(*at);
    if (rest.substr(0, name.size()) != name || rest.substr(name.size(), 2) != ": ") return false;
    const std::size_t end = rest.find(lineEnd);
    if (end == std::string_view::npos) return false;
    *value = rest.substr(name.size() + 2, end - name.size() - 2);
    // A line holds one field: no stray CR or LF inside it.
    if (value->find_first_of("\r\n") != std::string_view::npos) return false;
    *at += end + lineEnd.size();
    return true;
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::optional<int64_t> ParseUtcTime(std::string_view text) {
    // YYYY-MM-DDThh:mm:ssZ
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != 'Z') {
        return std::nullopt;
    }
    int year, month, day, hour, minute, second;
    if (!ReadDigits(text, 0, 4, &year) || !ReadDigits(text, 5, 2, &month) || !ReadDigits(text, 8, 2, &day) ||
        !ReadDigits(text, 11, 2, &hour) || !ReadDigits(text, 14, 2, &minute) || !ReadDigits(text, 17, 2, &second)) {
        return std::nullopt;
    }
    static constexpr std::array<int, 12> kDaysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) return std::nullopt;
    const int monthDays = kDaysInMonth[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    if (day > monthDays) return std::nullopt;
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 + hour * 3600 +
           minute * 60 + second;
}

std::string FormatUtcTime(int64_t seconds) {
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01 (inverse of DaysFromCivil).
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const int64_t year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02dZ", static_cast<long long>(year), month, day,
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return text;
}

std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0) return std::nullopt;
    auto sextet = [](char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A';
        if (c >= 'a' && c <= 'z') return c - 'a' + 26;
        if (c >= '0' && c <= '9') return c - '0' + 52;
        if (c == '+') return 62;
        if (c == '/') return 63;
        return -1;
    };
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const int padding = last ? (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=') : 0;
        uint32_t group = 0;
        for (int j = 0; j < 4 - padding; ++j) {
            const int value = sextet(text[i + j]);
            if (value < 0) return std::nullopt;
            group |= static_cast<uint32_t>(value) << (18 - 6 * j);
        }
        bytes.push_back(static_cast<uint8_t>(group >> 16));
        if (padding < 2) bytes.push_back(static_cast<uint8_t>(group >> 8));
        if (padding < 1) bytes.push_back(static_cast<uint8_t>(group));
        // Padding bits must be zero, so that one text names one byte string.
        if ((padding == 1 && (group & 0xFF) != 0) || (padding == 2 && (group & 0xFFFF) != 0)) return std::nullopt;
    }
    return bytes;
}

std::optional<ManifestTrailer> ParseManifestTrailer(std::string_view file) {
    const std::size_t opening = file.rfind(kOpening);
    if (opening == std::string_view::npos) return std::nullopt;
    std::size_t at = opening + kOpening.size();
    std::string_view lineEnd;
    if (file.substr(at, 2) == "\r\n") {
        lineEnd = "\r\n";
    } else if (file.substr(at, 1) == "\n") {
        lineEnd = "\n";
    } else {
        return std::nullopt;
    }
    at += lineEnd.size();

    std::string_view algorithm, keyId, signedText, expiresText, signatureText;
    if (!ReadField(file, lineEnd, "algorithm", &at, &algorithm) || !ReadField(file, lineEnd, "key-id", &at, &keyId) ||
        !ReadField(file, lineEnd, "signed", &at, &signedText) ||
        !ReadField(file, lineEnd, "expires", &at, &expiresText)) {
        return std::nullopt;
    }
    const std::size_t signedLength = at;
    if (!ReadField(file, lineEnd, "signature", &at, &signatureText)) return std::nullopt;
    if (file.substr(at, kClosing.size()) != kClosing) return std::nullopt;
    for (std::size_t i = at + kClosing.size(); i < file.size(); ++i) {
        if (!IsWhiteSpace(file[i])) return std::nullopt;
    }

    ManifestTrailer trailer;
    const std::optional<int64_t> signedAt = ParseUtcTime(signedText);
    const std::optional<int64_t> expiresAt = ParseUtcTime(expiresText);
    std::optional<std::vector<uint8_t>> signature = DecodeBase64(signatureText);
    if (!signedAt || !expiresAt || !signature) return std::nullopt;
    trailer.algorithm = std::string(algorithm);
    trailer.keyId = std::string(keyId);
    trailer.signedAt = *signedAt;
    trailer.expiresAt = *expiresAt;
    trailer.signature = std::move(*signature);
    trailer.signedLength = signedLength;
    return trailer;
}
