#include "StateFileWriter.h"

#include <cstdarg>

std::string StateFilePath(const std::string& updateFolder) { return updateFolder + "/QMUpdateFileList.txt"; }

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
    std::fflush(file_.get());
}

void StateFileWriter::WriteBlock(const UpdateItem& item, bool downloaded) {
    if (!file_) return;
    Line("BEGIN");
    Line("SRCFILE %s", item.downloadPath.c_str());
    Line("DESTFILE %s", item.installPath.c_str());
    Line("FILENAME %s", item.fileName.c_str());
    Line("SUBPATH %s", item.subPath.c_str());
    Line("FILESIZE %d", static_cast<int>(static_cast<int32_t>(static_cast<uint32_t>(item.length))));
    Line("URL %s", item.url.c_str());
    Line("REGISTER %s", item.registerFile ? "TRUE" : "FALSE");
    Line("FILETYPE %s", item.execute ? "EXECUTE" : "NORMAL");
    Line("ISZIP %s", item.zipFile ? "TRUE" : "FALSE");
    Line("DOWNLOADSTATUS %s", downloaded ? "TRUE" : "FALSE");
    Line("END");
    Line("");
    std::fflush(file_.get());
}

void StateFileWriter::Line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(file_.get(), format, args);
    va_end(args);
    std::fputs("\r\n", file_.get());
}
