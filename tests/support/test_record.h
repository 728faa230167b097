// A PrnInfoEx set up as a caller sets it up, released as a caller releases
// it: every text and every node of every chain with GlobalFree.
#pragma once

#include <cstring>

#include "Tb58Wk31PrnInfoEx.h"
#include "Tb58Wk31Platform.h"

namespace tb58::test {

inline void ReleaseChain(void* first) {
    while (first != nullptr) {
        void* next = static_cast<ChainNode*>(first)->next;
        GlobalFree(first);
        first = next;
    }
}

inline void ReleaseRecord(PrnInfoEx& record) {
    for (char* text : {record.pModelName, record.pMakerName, record.pDescription, record.pSYSVersion,
                       record.pMainProgVersion, record.pQXSVersion}) {
        if (text != nullptr) GlobalFree(text);
    }
    ReleaseChain(record.pEngineStatus);
    ReleaseChain(record.pLoadedEmul);
    ReleaseChain(record.pLoadedFont);
    ReleaseChain(record.pTrayInfo);
    ReleaseChain(record.pOutBinInfo);
    ReleaseChain(record.pDeviceInfo);
    ReleaseChain(record.pEmulUniqInfo);
    ReleaseChain(record.pCounterInfo);
    ReleaseChain(record.pSupplyInfo);
    ReleaseChain(record.pColorCorrection);
    ReleaseChain(record.pCustomMediaInfo);
    std::memset(&record, 0, sizeof record);
}

class TestRecord {
public:
    TestRecord() {
        std::memset(&record_, 0, sizeof record_);
        record_.dwSize = sizeof record_;
    }
    ~TestRecord() { ReleaseRecord(record_); }
    TestRecord(const TestRecord&) = delete;
    TestRecord& operator=(const TestRecord&) = delete;

    PrnInfoEx* get() { return &record_; }
    PrnInfoEx* operator->() { return &record_; }

private:
    PrnInfoEx record_;
};

}  // namespace tb58::test
