// One row of the alert reference file (data\refer.xml): its attribute texts
// c0 to c4 turned into the fixed record the popup shows.
//
// Input: the five attribute texts, one a line (c0 first).
//
// Rules checked: every text field holds the longest start of its attribute
// that fits without splitting a double-byte character, zero after it to the
// field's end (so it is always terminated); the numbers are atoi's, kept at
// the 32-bit bounds.
#include "FuzzCheck.h"

#include "ReferRecordConversion.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Where each character of the text starts: a lead byte with a byte after it
// begins a two-byte character.
std::vector<bool> CharacterStarts(const std::string& text) {
    std::vector<bool> starts(text.size() + 1, false);
    for (std::size_t at = 0; at < text.size();) {
        starts[at] = true;
        at += IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    }
    starts[text.size()] = true;
    return starts;
}

void CheckField(const char* field, std::size_t size, const std::string& text) {
    // The longest start of the text that ends on a character boundary and
    // leaves a byte for the terminator.
    const std::vector<bool> starts = CharacterStarts(text);
    std::size_t fits = std::min(text.size(), size - 1);
    while (!starts[fits]) --fits;
    FUZZ_CHECK(std::memcmp(field, text.data(), fits) == 0);
    // Zero after it, so no earlier record's bytes show and the text ends.
    for (std::size_t i = fits; i < size; ++i) FUZZ_CHECK(field[i] == '\0');
}

// atoi's value of the text, kept at the 32-bit bounds, computed with
// 128-bit arithmetic so no digit count can overflow it.
int32_t ExpectedInteger(const std::string& text) {
    std::size_t at = text.find_first_not_of(" \t\n\v\f\r");
    if (at == std::string::npos) return 0;
    bool negative = false;
    if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
    __int128 value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > (__int128{1} << 40)) break;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<std::string> texts = SplitInput(InputText(data, size), '\n', 5);
    ReferAttributes attributes{texts[0], texts[1], texts[2], texts[3], texts[4]};
    const ReferRecord record = MakeReferRecord(attributes);

    FUZZ_CHECK(record.nID == ExpectedInteger(attributes.c0));
    FUZZ_CHECK(record.nLevel == static_cast<int16_t>(ExpectedInteger(attributes.c3) & 0xFFFF));
    CheckField(record.sTime, sizeof record.sTime, attributes.c1);
    CheckField(record.sText, sizeof record.sText, attributes.c2);
    CheckField(record.sExtra, sizeof record.sExtra, attributes.c4);
    return 0;
}
