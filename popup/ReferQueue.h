// The records waiting to be shown, in the order of the reference file. The
// queue holds at most kCapacity records: a file with more rows cannot make
// it exhaust the client's memory, and the rows beyond are dropped.
#pragma once

#include <cstddef>
#include <deque>

#include "ReferRecord.h"

class CReferQueue {
public:
    // 10,000 alerts of five seconds each are more than half a day of them.
    static constexpr size_t kCapacity = 10000;

    // Appends at the back; false, with the record dropped, when full.
    bool Append(const ReferRecord& record);
    bool Full() const { return records_.size() >= kCapacity; }
    // Moves the front record into *record; false when the queue is empty.
    bool TakeFront(ReferRecord* record);
    void Clear() { records_.clear(); }
    void Swap(CReferQueue& other) { records_.swap(other.records_); }
    bool Empty() const { return records_.empty(); }
    size_t Size() const { return records_.size(); }

private:
    std::deque<ReferRecord> records_;
};
