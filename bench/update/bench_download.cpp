// The engine's download run of one large file from an HTTP server: a
// manifest of one item whose installed file is missing, planned and
// downloaded into the update folder. The benchmark script times curl
// fetching the same URL between the rounds. Each round also times the
// platform's HTTP client alone on the same URL, to show what part of the
// engine's time is the client's own.
//
// bench_download <work folder> <url> <size in bytes> [rounds]
// Prints "bench: download_ours <seconds>" and "bench: download_client
// <seconds>" for each round.
#include "ClientFolder.h"
#include "RawDownload.h"
#include "Timing.h"
#include "run/UpdateEngine.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kFileName[] = "payload.bin";

long long SizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) {
        return -1;
    }
    return static_cast<long long>(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_download <work folder> <url> <size in bytes> [rounds]\n");
        return 2;
    }
    const std::string url = argv[2];
    const long long size = std::atoll(argv[3]);
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 1;
    ClientFolder folder;
    if (!ClientFolder::Create(argv[1], &folder)) {
        std::fprintf(stderr, "cannot create the client folder below %s\n", argv[1]);
        return 1;
    }
    if (!WriteBenchManifest(folder, {BenchItem(kFileName, "", size, 20260101, url)})) {
        std::fprintf(stderr, "cannot write the manifest\n");
        return 1;
    }

    const std::string downloaded = folder.update + kFileName;
    for (int round = 0; round < rounds; ++round) {
        // Every round starts without the earlier download or its record.
        DeleteFileA(downloaded.c_str());
        DeleteFileA((folder.update + "QMUpdateFileList.txt").c_str());

        UpdateEngine engine;
        engine.SetProgramFolder(folder.program.c_str());
        engine.SetUpdateFolder(folder.update.c_str());
        engine.SetNotifyWindow(nullptr);
        ElapsedTimer timer;
        if (!engine.Start(kDownloadSteps)) {
            std::fprintf(stderr, "the engine did not start\n");
            return 1;
        }
        engine.Wait();
        const double seconds = timer.Seconds();
        if (engine.SuccessCount() != 1 || SizeOf(downloaded) != size) {
            std::fprintf(stderr, "the download failed (successes %d, size %lld)\n", engine.SuccessCount(),
                         SizeOf(downloaded));
            return 1;
        }
        DeleteFileA(downloaded.c_str());

        ElapsedTimer clientTimer;
        const long long clientBytes = RawDownload(url, downloaded);
        const double clientSeconds = clientTimer.Seconds();
        if (clientBytes != size) {
            std::fprintf(stderr, "the plain client download failed (%lld bytes)\n", clientBytes);
            return 1;
        }
        std::fflush(stdout);
        std::printf("\nbench: download_ours %.6f\nbench: download_client %.6f\n", seconds, clientSeconds);
    }
    DeleteFileA(downloaded.c_str());
    return 0;
}
