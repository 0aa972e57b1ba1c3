// The records waiting to be shown, in the order of the reference file.
#pragma once

#include <cstddef>
#include <deque>

#include "ReferRecord.h"

class CReferQueue {
public:
    void Append(const ReferRecord& record) { records_.push_back(record); }
    // Moves the front record into *record; false when the queue is empty.
    bool TakeFront(ReferRecord* record);
    void Clear() { records_.clear(); }
    bool Empty() const { return records_.empty(); }
    size_t Size() const { return records_.size(); }

private:
    std::deque<ReferRecord> records_;
};
