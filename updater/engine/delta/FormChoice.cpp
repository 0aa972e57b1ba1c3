#include "delta/FormChoice.h"

#include "delta/DeltaLimits.h"
#include "transfer/DownloadSuffix.h"
#include "CaseFolding.h"
#include "HexText.h"
#include "PathLimits.h"

namespace {

constexpr size_t kSha256Digits = 64;
// Named like the server's copies (docs/manifest-delta.md).
constexpr char kPatchSuffix[] = ".zpatch";
constexpr char kCompressedSuffix[] = ".zst";

bool LocalNamesFit(const std::string& localPath) {
    return (localPath + kDownloadSuffix + kValidatorSuffix).size() < kPathBufferBytes;
}

bool IsUsablePatch(const PatchForm& patch) {
    return patch.IsComplete() && static_cast<uint64_t>(patch.baseLength) < kMaxPatchedFileSize;
}

}  // namespace

const char* FormKindText(FormKind kind) {
    switch (kind) {
        case FormKind::kPatch: return "patch";
        case FormKind::kCompressed: return "compressed";
        case FormKind::kWhole: break;
    }
    return "whole";
}

bool OffersSmallerForms(const UpdateItem& item) {
    if (item.length <= 0 || !IsHexText(item.sha256, kSha256Digits)) return false;
    if (item.forms.compressed.IsComplete()) return true;
    for (const PatchForm& patch : item.forms.patches) {
        if (IsUsablePatch(patch)) return true;
    }
    return false;
}

bool HasPatchForBaseOfSize(const UpdateItem& item, uint64_t size) {
    if (!OffersSmallerForms(item)) return false;
    for (const PatchForm& patch : item.forms.patches) {
        if (IsUsablePatch(patch) && static_cast<uint64_t>(patch.baseLength) == size) return true;
    }
    return false;
}

std::vector<std::string> FormLocalPaths(const UpdateItem& item) {
    return {item.downloadPath + kPatchSuffix, item.downloadPath + kCompressedSuffix};
}

std::vector<FormToFetch> FormsToTry(const UpdateItem& item, const std::optional<InstalledCopy>& installed) {
    std::vector<FormToFetch> forms;
    if (OffersSmallerForms(item)) {
        const std::string patchPath = item.downloadPath + kPatchSuffix;
        if (installed && LocalNamesFit(patchPath)) {
            for (const PatchForm& patch : item.forms.patches) {
                if (IsUsablePatch(patch) && static_cast<uint64_t>(patch.baseLength) == installed->size &&
                    EqualsIgnoreCase(patch.baseSha256, installed->sha256)) {
                    forms.push_back(FormToFetch{FormKind::kPatch, &patch, patchPath});
                    break;
                }
            }
        }
        const std::string compressedPath = item.downloadPath + kCompressedSuffix;
        if (item.forms.compressed.IsComplete() && LocalNamesFit(compressedPath)) {
            forms.push_back(FormToFetch{FormKind::kCompressed, &item.forms.compressed, compressedPath});
        }
    }
    forms.push_back(FormToFetch{});
    return forms;
}
