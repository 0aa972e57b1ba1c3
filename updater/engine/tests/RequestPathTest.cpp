#include "transfer/RequestPath.h"
#include "transfer/TextConversion.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>

#include <cstring>

namespace {

// 文件 in GB2312; its UTF-8 bytes are e6 96 87 e4 bb b6.
const std::string kWenJian = "\xce\xc4\xbc\xfe";

TEST(RequestPath, EscapesOnlyTheLastSegment) {
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {"/update/" + kWenJian + ".dll", "/update/%e6%96%87%e4%bb%b6.dll"},
        {"/update/a b+c.txt", "/update/a b+c.txt"},                                // ASCII stays, blank too
        {"/" + kWenJian + "/x.dll", "/" + kWenJian + "/x.dll"},                    // head stays GB2312
        {kWenJian + ".dll", kWenJian + ".dll"},                                    // no '/': unchanged
        {"/dir/", "/dir/"},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeRequestPath(c.path), c.expected) << c.path;
}

TEST(RequestPath, InvalidBytesEndTheNameWithWhatWasConverted) {
    // 0xFF is no GB2312 lead byte: conversion stops there.
    EXPECT_EQ(EscapeRequestPath("/d/" + kWenJian + "\xff" + "x"), "/d/%e6%96%87%e4%bb%b6");
}

TEST(RequestPath, LongNamesAreCutAtWholeCharactersWithin255Bytes) {
    std::string name;
    for (int i = 0; i < 100; ++i) name += kWenJian.substr(0, 2);  // 100 x 文, 3 UTF-8 bytes each
    std::string escaped = EscapeRequestPath("/" + name);
    EXPECT_EQ(escaped.size(), 1 + 85 * 9u);  // 85 whole characters fit 255 bytes
    EXPECT_EQ(escaped.substr(escaped.size() - 9), "%e6%96%87");
}

TEST(TextConversion, ZeroFillsAndReportsAFullBuffer) {
    char out[8];
    std::memset(out, 'Z', sizeof out);
    EXPECT_EQ(Gb2312ToUtf8(kWenJian.data(), kWenJian.size(), out, sizeof out), 0);
    EXPECT_EQ(std::string(out), "\xe6\x96\x87\xe4\xbb\xb6");
    EXPECT_EQ(out[6], '\0');
    EXPECT_EQ(out[7], '\0');

    char small[4];
    EXPECT_EQ(Gb2312ToUtf8(kWenJian.data(), kWenJian.size(), small, sizeof small), -1);
    EXPECT_EQ(std::string(small, 3), "\xe6\x96\x87");
    EXPECT_EQ(small[3], '\0');
}


// The Windows build carries its own iconv; both builds must behave alike.
TEST(IconvInterface, ReportsUnknownSetsAndEachKindOfStop) {
    errno = 0;
    EXPECT_EQ(iconv_open("utf-8", "no-such-set"), reinterpret_cast<iconv_t>(-1));
    EXPECT_EQ(errno, EINVAL);

    const struct {
        std::string input;
        size_t outSize;
        int error;
        std::string converted;
        size_t inputLeft;
    } cases[] = {
        {"a" + kWenJian, 16, 0, "a\xe6\x96\x87\xe4\xbb\xb6", 0},
        {"a" + kWenJian, 5, E2BIG, "a\xe6\x96\x87", 2},      // stops before a character that does not fit
        {"a\xce", 16, EINVAL, "a", 1},                        // input ends inside a character
        {"a\xff" "b", 16, EILSEQ, "a", 2},                    // no such character
    };
    for (const auto& c : cases) {
        iconv_t converter = iconv_open("utf-8", "gb2312");
        ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
        char out[16] = {};
        char* in = const_cast<char*>(c.input.data());
        size_t inLeft = c.input.size();
        char* cursor = out;
        size_t outLeft = c.outSize;
        errno = 0;
        size_t result = iconv(converter, &in, &inLeft, &cursor, &outLeft);
        EXPECT_EQ(result == static_cast<size_t>(-1) ? errno : 0, c.error) << c.input;
        EXPECT_EQ(std::string(out, cursor), c.converted) << c.input;
        EXPECT_EQ(inLeft, c.inputLeft) << c.input;
        EXPECT_EQ(iconv_close(converter), 0);
    }
}

}  // namespace
