// The alert library's platform-free rules: reading a row into a record, the
// time line, the window's areas and its place on the work area.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "AlertTimeText.h"
#include "PopupLayout.h"
#include "ReferQueue.h"
#include "ReferRecordConversion.h"

namespace {

TEST(CopyTextField, CutsLongTextsWithoutSplittingADoubleByteCharacter) {
    const std::string stock = "\xB9\xC9\xC6\xB1";  // two GB2312 characters
    const struct {
        std::string text;
        size_t size;
        std::string expected;
    } cases[] = {
        {"abc", 8, "abc"},
        {"abcdefgh", 8, "abcdefg"},                       // 7 bytes and the terminator
        {"a" + stock, 4, "a\xB9\xC9"},                     // second character would not fit whole
        {"ab" + stock, 5, "ab\xB9\xC9"},
        {stock + stock, 4, "\xB9\xC9"},
        {"x\xB9", 8, "x\xB9"},                             // a lone lead byte at the end is kept
        {"", 4, ""},
    };
    for (const auto& c : cases) {
        char field[16];
        std::memset(field, 'Z', sizeof field);
        CopyTextField(field, c.size, c.text);
        EXPECT_EQ(c.expected, std::string(field)) << c.text;
        for (size_t i = c.expected.size(); i < c.size; ++i) EXPECT_EQ('\0', field[i]) << "byte " << i;
        EXPECT_EQ('Z', field[c.size]) << "wrote beyond the field";
    }
}

TEST(MakeReferRecord, FillsEveryFieldFromItsAttribute) {
    ReferAttributes row{"17", "2009-06-08T09:30:00.000", "message", "3", "extra"};
    ReferRecord record = MakeReferRecord(row);
    EXPECT_EQ(17, record.nID);
    EXPECT_STREQ("2009-06-08T09:30:00.000", record.sTime);
    EXPECT_STREQ("message", record.sText);
    EXPECT_STREQ("extra", record.sExtra);
    EXPECT_EQ(3, record.nLevel);

    ReferRecord empty = MakeReferRecord(ReferAttributes{});
    EXPECT_EQ(0, empty.nID);
    EXPECT_EQ(0, empty.nLevel);
    EXPECT_STREQ("", empty.sTime);
    EXPECT_STREQ("", empty.sText);
    EXPECT_STREQ("", empty.sExtra);
}

TEST(MakeReferRecord, LevelKeepsTheLow16BitsAsASignedValue) {
    const struct {
        const char* c3;
        int16_t level;
    } cases[] = {
        {"70000", 4464}, {"-3", -3}, {"65535", -1}, {"32768", -32768}, {"99999999999", -1}, {"x", 0},
    };
    for (const auto& c : cases) {
        ReferAttributes row;
        row.c3 = c.c3;
        EXPECT_EQ(c.level, MakeReferRecord(row).nLevel) << c.c3;
    }
}

TEST(MakeReferRecord, LongTextsFillTheirFieldsAndStop) {
    ReferAttributes row;
    row.c1 = std::string(40, 't');
    row.c2 = std::string(200, 'm');
    row.c4 = std::string(300, 'e');
    ReferRecord record = MakeReferRecord(row);
    EXPECT_EQ(std::string(31, 't'), record.sTime);
    EXPECT_EQ(std::string(127, 'm'), record.sText);
    EXPECT_EQ(std::string(255, 'e'), record.sExtra);
}

TEST(AlertTimeText, ReplacesTAndCutsFromTheLastPoint) {
    const struct {
        const char* time;
        const char* shown;
    } cases[] = {
        {"2009-06-08T09:30:00.000", "2009-06-08 09:30:00"},
        {"2009-06-08T09:30:00", "2009-06-08 09:30:00"},
        {".5", ".5"},                 // a point in the first place is not cut
        {"1.2.3", "1.2"},             // only from the last point
        {"TT.", "  "},
        {"t lower stays", "t lower stays"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, AlertTimeText(c.time)) << c.time;
    EXPECT_EQ("", AlertTimeText(nullptr));
}

TEST(PopupLayout, AreasAtFullSizeAndWhileSinking) {
    PopupAreas full = PopupAreasForSize(kPopupWidth, kPopupFullHeight);
    EXPECT_EQ((Rect{0, 0, 219, 30}), full.caption);
    EXPECT_EQ((Rect{220, 0, 253, 19}), full.close);
    EXPECT_EQ((Rect{0, 30, 259, 145}), full.body);

    PopupAreas sinking = PopupAreasForSize(kPopupWidth, 100);
    EXPECT_EQ(full.caption, sinking.caption);
    EXPECT_EQ((Rect{0, 30, 259, 100}), sinking.body);
}

TEST(PopupLayout, TextAndDiamondPositionsAtFullSize) {
    Rect body = PopupAreasForSize(kPopupWidth, kPopupFullHeight).body;
    Rect time = TimeLineRect(body, 12);
    EXPECT_EQ((Rect{30, 38, 229, 50}), time);
    EXPECT_EQ((Rect{30, 58, 229, 110}), MessageRect(body, time));
    Rect label = ImportanceLabelRect(body, 60, 12);
    EXPECT_EQ((Rect{30, 120, 90, 132}), label);
    const int expectedX[] = {90, 106, 122};
    for (int i = 0; i < 3; ++i) {
        int x = 0, y = 0;
        ImportanceIconOrigin(label, i, &x, &y);
        EXPECT_EQ(expectedX[i], x);
        EXPECT_EQ(118, y);
    }
}

TEST(PopupLayout, CornerPlacementKeepsTheLowerEdgeOnTheWorkArea) {
    Rect workArea{0, 0, 1280, 994};
    const struct {
        int height, y;
    } cases[] = {{145, 849}, {144, 850}, {1, 993}, {0, 994}};
    for (const auto& c : cases) {
        Placement at = CornerPlacement(workArea, c.height);
        EXPECT_EQ(1021, at.x);
        EXPECT_EQ(c.y, at.y);
        EXPECT_EQ(259, at.width);
        EXPECT_EQ(c.height, at.height);
    }
    Placement shifted = CornerPlacement(Rect{100, 0, 900, 600}, 145);
    EXPECT_EQ(641, shifted.x);
    EXPECT_EQ(455, shifted.y);
}

TEST(ReferQueue, HandsOutRecordsInOrderOfArrival) {
    CReferQueue queue;
    ReferRecord record{};
    EXPECT_FALSE(queue.TakeFront(&record));
    for (int id = 1; id <= 3; ++id) queue.Append(MakeReferRecord(ReferAttributes{std::to_string(id), "", "", "", ""}));
    for (int id = 1; id <= 3; ++id) {
        ASSERT_TRUE(queue.TakeFront(&record));
        EXPECT_EQ(id, record.nID);
    }
    EXPECT_TRUE(queue.Empty());
    queue.Append(record);
    queue.Clear();
    EXPECT_FALSE(queue.TakeFront(&record));
}

// A reference file with very many rows fills the queue up to its capacity;
// the rows beyond are dropped and the first ones keep their order.
TEST(ReferQueue, HoldsAtMostItsCapacityAndDropsTheRest) {
    CReferQueue queue;
    const int rows = static_cast<int>(CReferQueue::kCapacity) + 5;
    int appended = 0;
    for (int id = 1; id <= rows; ++id) {
        if (queue.Append(MakeReferRecord(ReferAttributes{std::to_string(id), "", "", "", ""}))) ++appended;
    }
    EXPECT_EQ(10000u, CReferQueue::kCapacity);
    EXPECT_EQ(static_cast<int>(CReferQueue::kCapacity), appended);
    EXPECT_EQ(CReferQueue::kCapacity, queue.Size());
    EXPECT_TRUE(queue.Full());

    ReferRecord record{};
    ASSERT_TRUE(queue.TakeFront(&record));
    EXPECT_EQ(1, record.nID);
    EXPECT_FALSE(queue.Full());
    EXPECT_TRUE(queue.Append(MakeReferRecord(ReferAttributes{"99999", "", "", "", ""})));
    int last = 0;
    while (queue.TakeFront(&record)) last = record.nID;
    EXPECT_EQ(99999, last);
}

}  // namespace
