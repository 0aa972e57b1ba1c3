#include "ReferQueue.h"

bool CReferQueue::Append(const ReferRecord& record) {
    if (Full()) return false;
    records_.push_back(record);
    return true;
}

bool CReferQueue::TakeFront(ReferRecord* record) {
    if (records_.empty()) return false;
    *record = records_.front();
    records_.pop_front();
    return true;
}
