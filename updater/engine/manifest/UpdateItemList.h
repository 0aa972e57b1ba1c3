// The manifest items of one engine run, owned by the list and guarded by its
// lock, with the folders their paths are derived from.
#pragma once

#include "manifest/ManifestFields.h"
#include "manifest/UpdateItem.h"

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>

class UpdateItemList {
public:
    UpdateItemList() = default;
    UpdateItemList(const UpdateItemList&) = delete;
    UpdateItemList& operator=(const UpdateItemList&) = delete;

    ItemFolders& Folders() { return folders_; }
    const ItemFolders& Folders() const { return folders_; }

    void Clear();
    void Append(std::unique_ptr<UpdateItem> item);
    // Unlinks the first item and hands it over; null when the list is empty.
    std::unique_ptr<UpdateItem> PopFront();
    int Count() const;

    // Asks `needsUpdate` of every item in list order, stores the answer in the
    // item, deletes those not needed and returns how many stay.
    int KeepNeeded(const std::function<bool(UpdateItem&)>& needsUpdate);
    // Sum of the low 32 bits of Length over the items marked as needed.
    int32_t NeededSize() const;

private:
    mutable std::mutex lock_;
    std::list<std::unique_ptr<UpdateItem>> items_;
    ItemFolders folders_;
};
