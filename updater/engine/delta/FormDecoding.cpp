#include "delta/FormDecoding.h"

#include "transfer/DownloadSuffix.h"
#include "DiskLevel.h"
#include "DurableFile.h"
#include "StdioFile.h"
#include "WholeFile.h"

#include <cstdio>
#include <memory>

namespace {

class FileSink : public DecodeSink {
public:
    explicit FileSink(std::FILE* file) : file_(file) {}
    bool Write(const char* bytes, size_t size) override { return std::fwrite(bytes, 1, size, file_) == size; }

private:
    std::FILE* file_;
};

}  // namespace

DecodeStatus DecodeFormFile(const std::string& formPath, uint64_t expectedSize, const PatchBase* base,
                            const std::string& targetPath) {
    const std::string decodedPath = targetPath + kDownloadSuffix;
    StdioFile output(std::fopen(decodedPath.c_str(), "wb"));
    if (!output) return DecodeStatus::kSinkFailed;
    FileSink sink(output.Get());
    std::unique_ptr<ZstdDecoder> decoder = base != nullptr ? std::make_unique<ZstdDecoder>(expectedSize, *base, sink)
                                                           : std::make_unique<ZstdDecoder>(expectedSize, sink);
    DecodeStatus status = DecodeStatus::kOk;
    const FileRead read = ReadFileInPieces(formPath, [&](const char* bytes, size_t size) {
        if (status == DecodeStatus::kOk) status = decoder->Feed(bytes, size);
    });
    if (status == DecodeStatus::kOk) status = read ? decoder->Finish() : DecodeStatus::kSourceFailed;
    if (status == DecodeStatus::kOk && !SyncToDisk(output.Get())) status = DecodeStatus::kSinkFailed;
    const bool closed = std::fclose(output.Release()) == 0;
    if (status == DecodeStatus::kOk && !closed) status = DecodeStatus::kSinkFailed;
    if (status == DecodeStatus::kOk && !MoveFileOver(decodedPath, targetPath)) status = DecodeStatus::kSinkFailed;
    if (status != DecodeStatus::kOk) std::remove(decodedPath.c_str());
    return status;
}
