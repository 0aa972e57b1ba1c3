// The engine's check run over a manifest of many items whose installed
// files exist, half of them outdated, against the floor: opening and
// reading the version and the date of every installed file once.
//
// bench_check_run <work folder> [items] [rounds]
// Prints "bench: <name> <seconds>" lines, one per round and side.
#include "ClientFolder.h"
#include "PathText.h"
#include "ProgramFolder.h"
#include "Timing.h"
#include "run/UpdateEngine.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Version text the installed copies carry (the project's version).
const char kInstalledVersion[] = "1.0.0.0";
const char kNewerVersion[] = "1.0.0.1";

std::string InstalledName(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "lib%05d.dll", index);
    return name;
}

// The floor: each installed file's version resource and its date, once.
// Returns the number of files whose version and date were both read.
int ReadVersionsAndDates(const std::vector<std::string>& paths)
{
    int read = 0;
    std::vector<char> block;
    for (const std::string& path : paths) {
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        if (size == 0) {
            continue;
        }
        block.resize(size);
        VS_FIXEDFILEINFO* info = nullptr;
        UINT infoLength = 0;
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (GetFileVersionInfoA(path.c_str(), 0, size, block.data()) &&
            VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &infoLength) && info != nullptr &&
            GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) {
            ++read;
        }
    }
    return read;
}

int CheckRun(const ClientFolder& folder)
{
    UpdateEngine engine;
    engine.SetProgramFolder(folder.program.c_str());
    engine.SetUpdateFolder(folder.update.c_str());
    engine.SetNotifyWindow(nullptr);
    if (!engine.Start(kCheckSteps)) {
        return -1;
    }
    engine.Wait();
    return engine.PlannedCount();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_check_run <work folder> [items] [rounds]\n");
        return 2;
    }
    const int items = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    ClientFolder folder;
    if (!ClientFolder::Create(argv[1], &folder)) {
        std::fprintf(stderr, "cannot create the client folder below %s\n", argv[1]);
        return 1;
    }

    const std::string source = JoinPath(ProgramFolder().value_or(std::string()), "bench_installed_file.dll");
    std::vector<std::string> installed;
    std::vector<ManifestEntry> entries;
    for (int i = 0; i < items; ++i) {
        const std::string name = InstalledName(i);
        const std::string path = folder.program + "\\" + name;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && !CopyFileA(source.c_str(), path.c_str(), TRUE)) {
            std::fprintf(stderr, "cannot copy %s to %s\n", source.c_str(), path.c_str());
            return 1;
        }
        installed.push_back(path);
        entries.push_back(BenchItem(name, i % 2 == 0 ? kInstalledVersion : kNewerVersion, 4096, 20260101,
                                    "http://127.0.0.1/" + name));
    }
    if (!WriteBenchManifest(folder, entries)) {
        std::fprintf(stderr, "cannot write the manifest\n");
        return 1;
    }

    // Warm both paths once, then alternate the two sides round by round.
    if (ReadVersionsAndDates(installed) != items) {
        std::fprintf(stderr, "the floor could not read every installed file\n");
        return 1;
    }
    if (CheckRun(folder) != items / 2) {
        std::fprintf(stderr, "the check run did not find the outdated half\n");
        return 1;
    }
    std::vector<double> floorTimes;
    std::vector<double> ourTimes;
    for (int round = 0; round < rounds; ++round) {
        ElapsedTimer floorTimer;
        ReadVersionsAndDates(installed);
        floorTimes.push_back(floorTimer.Seconds());

        ElapsedTimer ourTimer;
        const int planned = CheckRun(folder);
        ourTimes.push_back(ourTimer.Seconds());
        if (planned != items / 2) {
            std::fprintf(stderr, "the check run planned %d items\n", planned);
            return 1;
        }
        std::fflush(stdout);
        std::printf("\nbench: check_run_floor %.6f\nbench: check_run_ours %.6f\n", floorTimes.back(), ourTimes.back());
    }
    std::printf("bench: check_run_floor_median %.6f\nbench: check_run_ours_median %.6f\n", Median(floorTimes),
                Median(ourTimes));
    return 0;
}
