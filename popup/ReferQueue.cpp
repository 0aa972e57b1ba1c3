#include "ReferQueue.h"

bool CReferQueue::TakeFront(ReferRecord* record) {
    if (records_.empty()) return false;
    *record = records_.front();
    records_.pop_front();
    return true;
}
