#include "statefile/StateFileWriter.h"

#include "DurableFile.h"
#include "run/StepMarks.h"

#include "ControlCharacter.h"

#include <cstdarg>
#include <vector>

namespace {

// The texts of a block that come from the manifest and the folders.
std::vector<const std::string*> BlockTexts(const UpdateItem& item) {
    return {&item.downloadPath, &item.installPath, &item.fileName, &item.subPath, &item.url};
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// As "%s" would: a value ends at its first zero byte.
void AppendLine(std::string* block, const char* keyword, const std::string& value) {
    *block += keyword;
    *block += ' ';
    *block += value.c_str();
    *block += "\r\n";
}

}  // namespace

std::string StateFilePath(const std::string& updateFolder) { return updateFolder + "/QMUpdateFileList.txt"; }

bool BlockTextsArePlain(const UpdateItem& item) {
    for (const std::string* text : BlockTexts(item)) {
        if (HasControlCharacter(*text)) return false;
    }
    return true;
}

// Binary mode with explicit CR LF, so the bytes on disk are the same whichever
// runtime writes them.
StateFileWriter::StateFileWriter(const std::string& path, int plannedCount, int date, int time)
    : file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) return;
    Line("VERSION 0.0.0.1");
    Line("");
    Line("UPDATED FALSE");
    Line("UPDATECOUNT %d", plannedCount);
    Line("DOWNLOAD %d/%d", date, time);
    Line("");
    SyncToDisk(file_.Get());
}

bool StateFileWriter::WriteBlock(const UpdateItem& item, bool downloaded) {
    if (!file_) return false;
    for (const std::string* text : BlockTexts(item)) {
        if (HasLineBreak(*text)) return false;
    }
    // The block goes out in one write, so a refused or failed block leaves no
    // part of itself behind for the reader to take up.
    std::string block = "BEGIN\r\n";
    AppendLine(&block, "SRCFILE", item.downloadPath);
    AppendLine(&block, "DESTFILE", item.installPath);
    AppendLine(&block, "FILENAME", item.fileName);
    AppendLine(&block, "SUBPATH", item.subPath);
    AppendLine(&block, "FILESIZE", std::to_string(static_cast<int32_t>(static_cast<uint32_t>(item.length))));
    AppendLine(&block, "URL", item.url);
    AppendLine(&block, "REGISTER", item.registerFile ? "TRUE" : "FALSE");
    AppendLine(&block, "FILETYPE", item.execute ? "EXECUTE" : "NORMAL");
    AppendLine(&block, "ISZIP", item.zipFile ? "TRUE" : "FALSE");
    AppendLine(&block, "DOWNLOADSTATUS", downloaded ? "TRUE" : "FALSE");
    block += "END\r\n\r\n";
    bool written = std::fwrite(block.data(), 1, block.size(), file_.Get()) == block.size();
    // On the disk before the engine goes on: the installation trusts a block
    // once it is there, so a power cut must not take it back.
    bool synced = SyncToDisk(file_.Get());
    if (synced && written) MarkStep("statefile.block-written");
    return synced && written;
}

void StateFileWriter::Line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(file_.Get(), format, args);
    va_end(args);
    std::fputs("\r\n", file_.Get());
}
