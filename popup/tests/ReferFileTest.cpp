// Reading data\refer.xml into the alert queue, against the real document
// model: a file of very many rows, and files the reader must refuse.
#include <string>

#include <gtest/gtest.h>

#include "ReferFile.h"
#include "TestFiles.h"

namespace {

std::string ReferXml(int rows, const std::string& doctype = "") {
    std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n" + doctype +
                      "<xml xmlns:rs=\"urn:rowset\" xmlns:z=\"#RowsetSchema\"><rs:data>\r\n";
    for (int id = 1; id <= rows; ++id) {
        xml += "<z:row c0=\"" + std::to_string(id) + "\" c1=\"2009-06-08T09:30:00\" c2=\"alert\" c3=\"1\"/>\r\n";
    }
    return xml + "</rs:data></xml>\r\n";
}

ReferRecord Record(int id) {
    ReferRecord record{};
    record.nID = id;
    return record;
}

class ReferFileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        std::string path = folder_.File("refer.xml");
        WriteWholeFile(path, bytes);
        return path;
    }
    ScratchFolder folder_;
};

TEST_F(ReferFileTest, AFileOfVeryManyRowsFillsTheQueueUpToItsCapacity) {
    const int rows = static_cast<int>(CReferQueue::kCapacity) + 50;
    CReferQueue queue;
    queue.Append(Record(-1));  // replaced by the file's rows
    ASSERT_TRUE(ReadReferFile(Write(ReferXml(rows)).c_str(), &queue));
    EXPECT_EQ(CReferQueue::kCapacity, queue.Size());
    ReferRecord record{};
    ASSERT_TRUE(queue.TakeFront(&record));
    EXPECT_EQ(1, record.nID);
    int last = record.nID;
    while (queue.TakeFront(&record)) last = record.nID;
    EXPECT_EQ(static_cast<int>(CReferQueue::kCapacity), last);
}

TEST_F(ReferFileTest, RefusedFilesLeaveTheQueueAsItWas) {
    const std::string refused[] = {
        ReferXml(2, "<!DOCTYPE xml [<!ENTITY e \"x\">]>\r\n"),
        "<?xml version=\"1.0\"?><xml><rs:data>",
        "",
    };
    for (const std::string& bytes : refused) {
        SCOPED_TRACE(bytes.substr(0, 60));
        CReferQueue queue;
        queue.Append(Record(7));
        EXPECT_FALSE(ReadReferFile(Write(bytes).c_str(), &queue));
        ASSERT_EQ(1u, queue.Size());
        ReferRecord record{};
        ASSERT_TRUE(queue.TakeFront(&record));
        EXPECT_EQ(7, record.nID);
    }
}

}  // namespace
