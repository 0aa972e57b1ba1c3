// The engine's download of one file whose first answer the server breaks off
// (at half the file, in the benchmark script): the engine retries within the
// run, and the script counts the body bytes its server sent until the file
// was whole, with and without ranges answered.
//
// bench_resume <work folder> <url> <size in bytes>
// Prints "bench: resume_whole 1" once the file arrived whole.
#include "ClientFolder.h"
#include "run/UpdateEngine.h"
#include "transfer/DownloadSuffix.h"
#include "transfer/PartialFile.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_resume <work folder> <url> <size in bytes>\n");
        return 2;
    }
    ClientFolder folder;
    if (!ClientFolder::Create(argv[1], &folder)) {
        std::fprintf(stderr, "cannot create the client folder below %s\n", argv[1]);
        return 1;
    }
    const std::string fileName = "resumed.bin";
    const long long length = std::atoll(argv[3]);
    const std::string downloaded = folder.update + fileName;
    // Nothing of an earlier round may be resumed.
    DeleteFileA(downloaded.c_str());
    DeleteFileA((downloaded + kDownloadSuffix).c_str());
    DeleteFileA(PartialValidatorPath(downloaded + kDownloadSuffix).c_str());
    if (!WriteBenchManifest(folder, {BenchItem(fileName, "", length, 20260101, argv[2])})) {
        std::fprintf(stderr, "cannot write the manifest\n");
        return 1;
    }

    UpdateEngine engine;
    engine.SetProgramFolder(folder.program.c_str());
    engine.SetUpdateFolder(folder.update.c_str());
    engine.SetNotifyWindow(nullptr);
    if (!engine.Start(kDownloadSteps)) {
        std::fprintf(stderr, "the engine did not start\n");
        return 1;
    }
    engine.Wait();
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    const bool whole = engine.SuccessCount() == 1 &&
                       GetFileAttributesExA(downloaded.c_str(), GetFileExInfoStandard, &attributes) &&
                       (static_cast<long long>(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow) ==
                           length;
    DeleteFileA(downloaded.c_str());
    if (!whole) {
        std::fprintf(stderr, "the download failed (successes %d)\n", engine.SuccessCount());
        return 1;
    }
    std::fflush(stdout);
    std::printf("\nbench: resume_whole 1\n");
    return 0;
}
