#include "ReleaseNames.h"

#include "manifest/NameRules.h"

// The updater's own rule (koravel_core), so the tool refuses exactly the
// names the updater would not plan, with the updater's reason.
std::optional<std::string> NameRefusal(const std::string& name) { return PlainNameRefusal(name); }

std::optional<std::string> PathLengthRefusal(const std::string& path) {
    if (path.size() < kPathBufferBytes) return std::nullopt;
    return "a path of " + std::to_string(path.size()) + " bytes in GB2312; the client keeps at most " +
           std::to_string(kPathBufferBytes - 1);
}
