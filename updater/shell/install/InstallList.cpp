#include "install/InstallList.h"

bool InstallList::Refill(const std::string& stateFilePath) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_entries.clear();
    return ReadFileList(stateFilePath.c_str(), &m_entries);
}

bool InstallList::IsEmpty() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_entries.empty();
}

std::vector<FileListEntry> InstallList::Take() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<FileListEntry> entries;
    entries.swap(m_entries);
    return entries;
}
