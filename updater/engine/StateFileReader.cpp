// ReadFileList: the installation's view of the state file.
#include "StateFile.h"

#include "TextRules.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

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

}  // namespace

bool ReadFileList(const char* path, std::vector<FileListEntry>* entries) {
    if (path == nullptr || entries == nullptr) return false;
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) return false;

    std::unique_ptr<FileListEntry> current;
    char line[512];
    while (std::fgets(line, sizeof line, file.get()) != nullptr) {
        if (line[0] == '#') continue;
        // Only the line end is removed: a piece of a line longer than the
        // buffer, or a last line without line feed, keeps all its text.
        size_t length = std::strlen(line);
        if (length > 0 && line[length - 1] == '\n') line[--length] = '\0';
        if (length > 0 && line[length - 1] == '\r') line[--length] = '\0';

        if (StartsWithKeyword(line, "BEGIN")) {
            current.reset(new FileListEntry());
        } else if (StartsWithKeyword(line, "END")) {
            if (current && current->downloaded) entries->push_back(*current);
            current.reset();
        } else if (!current) {
            continue;
        } else if (StartsWithKeyword(line, "SRCFILE")) {
            current->sourcePath = ValueAfter(line, "SRCFILE");
        } else if (StartsWithKeyword(line, "DOWNLOADSTATUS")) {
            std::string value = ValueAfter(line, "DOWNLOADSTATUS");
            current->downloaded = EqualsIgnoreCase(value, "TRUE") || EqualsIgnoreCase(value, "YES");
        } else if (StartsWithKeyword(line, "DESTFILE")) {
            current->destinationPath = ValueAfter(line, "DESTFILE");
        } else if (StartsWithKeyword(line, "FILENAME")) {
            current->fileName = ValueAfter(line, "FILENAME");
        }
    }
    return true;
}
