#include "manifest/FileForms.h"

#include "CaseFolding.h"
#include "HexText.h"

#include <cstddef>

namespace {

constexpr std::size_t kSha256Digits = 64;
// Eighteen decimal digits always fit a signed 64-bit number.
constexpr std::size_t kMaxLengthDigits = 18;

// Plain decimal digits only; anything else leaves the length unknown, so
// that the form is not used.
int64_t FormLength(const std::string& text) {
    if (text.empty() || text.size() > kMaxLengthDigits) return -1;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool ApplyCommonPart(FileForm* form, const std::string& part, const std::string& value) {
    if (EqualsIgnoreCase(part, "URL")) {
        form->url = value;
    } else if (EqualsIgnoreCase(part, "Length")) {
        form->length = FormLength(value);
    } else if (EqualsIgnoreCase(part, "SHA256")) {
        form->sha256 = value;
    } else {
        return false;
    }
    return true;
}

bool StartsWithIgnoreCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// "Patch<N><part>" with N from 1 to kMaxPatchForms, without leading zeros.
bool ApplyPatchField(FileForms* forms, const std::string& name, const std::string& value) {
    const std::string prefix = "Patch";
    if (!StartsWithIgnoreCase(name, prefix)) return false;
    std::size_t at = prefix.size();
    int number = 0;
    while (at < name.size() && name[at] >= '0' && name[at] <= '9' && number <= kMaxPatchForms) {
        if (number == 0 && name[at] == '0') return false;
        number = number * 10 + (name[at++] - '0');
    }
    if (number < 1 || number > kMaxPatchForms) return false;
    const std::string part = name.substr(at);
    PatchForm candidate;
    PatchForm* form = static_cast<std::size_t>(number) <= forms->patches.size() ? &forms->patches[number - 1]
                                                                                 : &candidate;
    bool known = true;
    if (EqualsIgnoreCase(part, "BaseSHA256")) {
        form->baseSha256 = value;
    } else if (EqualsIgnoreCase(part, "BaseLength")) {
        form->baseLength = FormLength(value);
    } else {
        known = ApplyCommonPart(form, part, value);
    }
    if (known && form == &candidate) {
        forms->patches.resize(number);
        forms->patches[number - 1] = candidate;
    }
    return known;
}

}  // namespace

bool FileForm::IsComplete() const { return !url.empty() && length >= 0 && IsHexText(sha256, kSha256Digits); }

bool PatchForm::IsComplete() const {
    return FileForm::IsComplete() && baseLength >= 0 && IsHexText(baseSha256, kSha256Digits);
}

bool ApplyFormField(FileForms* forms, const std::string& name, const std::string& value) {
    const std::string compressed = "Compressed";
    if (StartsWithIgnoreCase(name, compressed)) {
        return ApplyCommonPart(&forms->compressed, name.substr(compressed.size()), value);
    }
    return ApplyPatchField(forms, name, value);
}
