// The download state file (QMUpdateFileList.txt) as the installation reads
// it: the file sits in the update folder, where anything may have changed it.
//
// Rules checked: every entry read is a whole block marked downloaded, its
// texts fit the reader's 512-byte line buffer and hold no line end or zero
// byte; and the entries, written again by the updater's own writer, read
// back the same (the reader and the writer agree on the format).
#include "FuzzCheck.h"
#include "MemoryFile.h"

#include "statefile/StateFile.h"
#include "statefile/StateFileWriter.h"

#include <string>
#include <vector>

namespace {

void CheckText(const std::string& text) {
    FUZZ_CHECK(text.size() < 511);
    FUZZ_CHECK(text.find_first_of(std::string("\n\0", 2)) == std::string::npos);
}

bool SameEntries(const std::vector<FileListEntry>& a, const std::vector<FileListEntry>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].sourcePath != b[i].sourcePath || a[i].destinationPath != b[i].destinationPath ||
            a[i].fileName != b[i].fileName || a[i].downloaded != b[i].downloaded) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static MemoryFile input, rewritten;
    input.Fill(InputText(data, size));
    std::vector<FileListEntry> entries;
    FUZZ_CHECK(ReadFileList(input.Path(), &entries));

    std::vector<FileListEntry> writable;
    {
        StateFileWriter writer(rewritten.Path(), static_cast<int>(entries.size()), 20261210, 90000);
        FUZZ_CHECK(writer.IsOpen());
        for (const FileListEntry& entry : entries) {
            FUZZ_CHECK(entry.downloaded);
            CheckText(entry.sourcePath);
            CheckText(entry.destinationPath);
            CheckText(entry.fileName);
            UpdateItem item;
            item.downloadPath = entry.sourcePath;
            item.installPath = entry.destinationPath;
            item.fileName = entry.fileName;
            const bool hasCarriageReturn = (entry.sourcePath + entry.destinationPath + entry.fileName).find('\r') !=
                                           std::string::npos;
            // The writer refuses only a text with a line end in it.
            FUZZ_CHECK(writer.WriteBlock(item, true) == !hasCarriageReturn);
            if (!hasCarriageReturn) writable.push_back(entry);
        }
    }
    std::vector<FileListEntry> reread;
    FUZZ_CHECK(ReadFileList(rewritten.Path(), &reread));
    FUZZ_CHECK(SameEntries(reread, writable));
    return 0;
}
