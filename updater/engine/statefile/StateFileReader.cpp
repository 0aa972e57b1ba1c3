// ReadFileList: the installation's view of the state file.
#include "statefile/StateFile.h"

#include "CaseFolding.h"
#include "StdioFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The reader's line buffer holds 512 bytes: 511 of text and the terminator.
const size_t kLineLimit = 511;

// Reads one line without its line end (LF, or CR LF). A line longer than the
// buffer keeps its first kLineLimit bytes and is marked overlong; the rest of
// it is read and dropped, so that it can never pass for a line of its own.
// False at the end of the file.
bool ReadLine(FILE* file, std::string* line, bool* overlong) {
    line->clear();
    *overlong = false;
    int c = std::getc(file);
    if (c == EOF) return false;
    // One byte beyond the limit is kept for a CR that turns out to end the line.
    for (; c != EOF && c != '\n'; c = std::getc(file)) {
        if (line->size() <= kLineLimit) {
            line->push_back(static_cast<char>(c));
        } else {
            *overlong = true;
        }
    }
    if (!line->empty() && line->back() == '\r' && !*overlong) line->pop_back();
    if (line->size() > kLineLimit) {
        line->resize(kLineLimit);
        *overlong = true;
    }
    return true;
}

bool StartsWithKeyword(const char* line, const char* keyword) {
    size_t length = std::strlen(keyword);
    return std::strlen(line) >= length && EqualsIgnoreCase(std::string(line, length), keyword);
}

// The value starts one character after the keyword; further blanks and tabs
// are skipped; trailing blanks belong to it.
std::string ValueAfter(const char* line, const char* keyword) {
    const char* cursor = line + std::strlen(keyword);
    if (*cursor != '\0') ++cursor;
    while (*cursor == ' ' || *cursor == '\t') ++cursor;
    return cursor;
}

struct OpenEntry {
    FileListEntry entry;
    bool spoilt = false;  // a field's line was cut, so its value is unknown
};

}  // namespace

bool ReadFileList(const char* path, std::vector<FileListEntry>* entries) {
    if (path == nullptr || entries == nullptr) return false;
    StdioFile file(std::fopen(path, "rb"));
    if (!file) return false;

    std::unique_ptr<OpenEntry> current;
    std::string text;
    bool overlong = false;
    while (ReadLine(file.Get(), &text, &overlong)) {
        const char* line = text.c_str();  // as in a buffer: a zero byte ends the line
        if (line[0] == '#') continue;

        if (StartsWithKeyword(line, "BEGIN")) {
            current.reset(new OpenEntry());
            continue;
        }
        if (StartsWithKeyword(line, "END")) {
            if (current && !current->spoilt && current->entry.downloaded) entries->push_back(current->entry);
            current.reset();
            continue;
        }
        if (!current) continue;
        FileListEntry& entry = current->entry;
        const char* keyword = nullptr;
        if (StartsWithKeyword(line, "SRCFILE")) {
            keyword = "SRCFILE";
            entry.sourcePath = ValueAfter(line, keyword);
        } else if (StartsWithKeyword(line, "DOWNLOADSTATUS")) {
            keyword = "DOWNLOADSTATUS";
            std::string value = ValueAfter(line, keyword);
            entry.downloaded = EqualsIgnoreCase(value, "TRUE") || EqualsIgnoreCase(value, "YES");
        } else if (StartsWithKeyword(line, "DESTFILE")) {
            keyword = "DESTFILE";
            entry.destinationPath = ValueAfter(line, keyword);
        } else if (StartsWithKeyword(line, "FILENAME")) {
            keyword = "FILENAME";
            entry.fileName = ValueAfter(line, keyword);
        }
        if (keyword != nullptr && overlong) current->spoilt = true;
    }
    return true;
}
