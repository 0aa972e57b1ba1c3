#include "ClientFolder.h"

#include "FolderCreation.h"
#include "WholeFile.h"

bool ClientFolder::Create(const std::string& work, ClientFolder* folder)
{
    folder->program = work + "\\client";
    folder->update = folder->program + "\\Update\\";
    return CreateFolders(folder->update);
}

ManifestEntry BenchItem(const std::string& fileName, const std::string& fileVersion, long long length, int date,
                        const std::string& url)
{
    return {{"FileName", fileName}, {"FileVersion", fileVersion}, NumberField("Length", length),
            NumberField("FileDateLow", date), {"InstallDir", "CURRENTDIR"}, {"URL", url}};
}

bool WriteBenchManifest(const ClientFolder& folder, const std::vector<ManifestEntry>& entries)
{
    return WriteWholeFile(folder.update + "Update.xml", ManifestText("1.0", entries));
}
