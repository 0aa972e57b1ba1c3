// The file that keeps the signing time of the last manifest accepted
// (Update\ManifestAccepted.txt): it sits in the update folder, and a time
// read from it decides which manifests are refused as replays.
//
// Rules checked: a time is read only from a first line "signed: <time>" in
// the one canonical form, and written back by the updater it reads the same.
#include "FuzzCheck.h"
#include "MemoryFile.h"

#include "trust/AcceptedManifest.h"
#include "trust/ManifestTrailer.h"

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

// The updater replaces the record through a copy beside it, so the record it
// writes back is a real file, in a folder of this process's own that goes
// with the process.
class ScratchRecord {
public:
    ScratchRecord() : folder_((std::filesystem::temp_directory_path() / "accepted-time-XXXXXX").string()) {
        FUZZ_CHECK(mkdtemp(folder_.data()) != nullptr);
        path_ = folder_ + "/ManifestAccepted.txt";
    }
    ~ScratchRecord() { std::filesystem::remove_all(folder_); }
    const std::string& Path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static MemoryFile input;
    static const ScratchRecord rewritten;
    const std::string_view text = InputText(data, size);
    input.Fill(text);
    const std::optional<int64_t> signedAt = ReadAcceptedSigningTime(input.Path());
    if (!signedAt) return 0;

    const std::string line = "signed: " + FormatUtcTime(*signedAt);
    FUZZ_CHECK(text.substr(0, line.size()) == line);
    const std::string_view after = text.substr(line.size());
    // The line ends there: with the file, or with LF, CR LF or a last CR.
    FUZZ_CHECK(after.empty() || after[0] == '\n' || after.substr(0, 2) == "\r\n" || after == "\r");

    FUZZ_CHECK(WriteAcceptedSigningTime(rewritten.Path(), *signedAt));
    FUZZ_CHECK(ReadAcceptedSigningTime(rewritten.Path()) == signedAt);
    return 0;
}
