#include "OfferedForms.h"

#include "trust/CryptoApi.h"
#include "Md5.h"

std::string Sha256OfBytes(const std::string& bytes) { return Sha256TextOfBytes(bytes).value_or(""); }

ManifestEntry ItemWithForms(const std::string& name, const std::string& url, const std::string& file,
                            const OfferedForms& forms) {
    return ManifestEntry{{"FileName", name},
                         {"URL", url},
                         NumberField("Length", static_cast<int64_t>(file.size())),
                         {"MD5", Md5Text(file)},
                         {"SHA256", Sha256OfBytes(file)},
                         {"DownValue", "1"},
                         {"CompressedURL", forms.compressedUrl},
                         NumberField("CompressedLength", static_cast<int64_t>(forms.compressed.size())),
                         {"CompressedSHA256", Sha256OfBytes(forms.compressed)},
                         {"Patch1BaseSHA256", Sha256OfBytes(forms.base)},
                         NumberField("Patch1BaseLength", static_cast<int64_t>(forms.base.size())),
                         {"Patch1URL", forms.patchUrl},
                         NumberField("Patch1Length", static_cast<int64_t>(forms.patch.size())),
                         {"Patch1SHA256", Sha256OfBytes(forms.patch)}};
}
