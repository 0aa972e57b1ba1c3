#include "manifest/UpdateItemList.h"

void UpdateItemList::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    items_.clear();
}

void UpdateItemList::Append(std::unique_ptr<UpdateItem> item) {
    std::lock_guard<std::mutex> guard(lock_);
    items_.push_back(std::move(item));
}

std::unique_ptr<UpdateItem> UpdateItemList::PopFront() {
    std::lock_guard<std::mutex> guard(lock_);
    if (items_.empty()) return nullptr;
    std::unique_ptr<UpdateItem> first = std::move(items_.front());
    items_.pop_front();
    return first;
}

int UpdateItemList::Count() const {
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(items_.size());
}

int UpdateItemList::KeepNeeded(const std::function<bool(UpdateItem&)>& needsUpdate) {
    std::lock_guard<std::mutex> guard(lock_);
    int kept = 0;
    for (auto it = items_.begin(); it != items_.end();) {
        (*it)->needsUpdate = needsUpdate(**it);
        if ((*it)->needsUpdate) {
            ++kept;
            ++it;
        } else {
            it = items_.erase(it);
        }
    }
    return kept;
}

int32_t UpdateItemList::NeededSize() const {
    std::lock_guard<std::mutex> guard(lock_);
    uint32_t total = 0;
    for (const auto& item : items_) {
        if (item->needsUpdate) total += static_cast<uint32_t>(item->length);
    }
    return static_cast<int32_t>(total);
}
