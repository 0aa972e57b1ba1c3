#include "run/EngineTexts.h"

#include "Gb2312LeadByte.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// 下载第 %d 个文件 %s %s
const char kItemResultFormat[] = "\xcf\xc2\xd4\xd8\xb5\xda %d \xb8\xf6\xce\xc4\xbc\xfe %s %s";
// 成功
const char kSucceeded[] = "\xb3\xc9\xb9\xa6";
// 失败
const char kFailed[] = "\xca\xa7\xb0\xdc";
// 下载第 %d 个文件 %s 上次已经下载过
const char kItemSkippedFormat[] =
    "\xcf\xc2\xd4\xd8\xb5\xda %d \xb8\xf6\xce\xc4\xbc\xfe %s "
    "\xc9\xcf\xb4\xce\xd2\xd1\xbe\xad\xcf\xc2\xd4\xd8\xb9\xfd";
// %s 重新尝试下载
const char kItemRetryFormat[] = "%s \xd6\xd8\xd0\xc2\xb3\xa2\xca\xd4\xcf\xc2\xd4\xd8";

const char* const kFailureTexts[] = {
    // 连接服务器失败, 请选择其他服务器进行尝试
    "\xc1\xac\xbd\xd3\xb7\xfe\xce\xf1\xc6\xf7\xca\xa7\xb0\xdc, "
    "\xc7\xeb\xd1\xa1\xd4\xf1\xc6\xe4\xcb\xfb\xb7\xfe\xce\xf1\xc6\xf7\xbd\xf8\xd0\xd0\xb3\xa2\xca\xd4",
    // 1 URL解析错误, 请选择其他服务器进行尝试
    "URL\xbd\xe2\xce\xf6\xb4\xed\xce\xf3, "
    "\xc7\xeb\xd1\xa1\xd4\xf1\xc6\xe4\xcb\xfb\xb7\xfe\xce\xf1\xc6\xf7\xbd\xf8\xd0\xd0\xb3\xa2\xca\xd4",
    // 2 服务器拒绝连接, 请选择其他服务器进行尝试
    "\xb7\xfe\xce\xf1\xc6\xf7\xbe\xdc\xbe\xf8\xc1\xac\xbd\xd3, "
    "\xc7\xeb\xd1\xa1\xd4\xf1\xc6\xe4\xcb\xfb\xb7\xfe\xce\xf1\xc6\xf7\xbd\xf8\xd0\xd0\xb3\xa2\xca\xd4",
    // 3 重定向失败, 请选择其他服务器进行尝试
    "\xd6\xd8\xb6\xa8\xcf\xf2\xca\xa7\xb0\xdc, "
    "\xc7\xeb\xd1\xa1\xd4\xf1\xc6\xe4\xcb\xfb\xb7\xfe\xce\xf1\xc6\xf7\xbd\xf8\xd0\xd0\xb3\xa2\xca\xd4",
    // 4 重定向URL解析错误, 请选择其他服务器进行尝试
    "\xd6\xd8\xb6\xa8\xcf\xf2URL\xbd\xe2\xce\xf6\xb4\xed\xce\xf3, "
    "\xc7\xeb\xd1\xa1\xd4\xf1\xc6\xe4\xcb\xfb\xb7\xfe\xce\xf1\xc6\xf7\xbd\xf8\xd0\xd0\xb3\xa2\xca\xd4",
    // 5 不是HTTP连接, 请选择其他服务器进行尝试
    "\xb2\xbb\xca\xc7HTTP\xc1\xac\xbd\xd3, "
    "\xc7\xeb\xd1\xa1\xd4\xf1\xc6\xe4\xcb\xfb\xb7\xfe\xce\xf1\xc6\xf7\xbd\xf8\xd0\xd0\xb3\xa2\xca\xd4",
    // 6 取得服务器文件失败, 请选择其他服务器进行尝试
    "\xc8\xa1\xb5\xc3\xb7\xfe\xce\xf1\xc6\xf7\xce\xc4\xbc\xfe\xca\xa7\xb0\xdc, "
    "\xc7\xeb\xd1\xa1\xd4\xf1\xc6\xe4\xcb\xfb\xb7\xfe\xce\xf1\xc6\xf7\xbd\xf8\xd0\xd0\xb3\xa2\xca\xd4",
    // 7 创建本地文件失败
    "\xb4\xb4\xbd\xa8\xb1\xbe\xb5\xd8\xce\xc4\xbc\xfe\xca\xa7\xb0\xdc",
    // 8 主动取消连接
    "\xd6\xf7\xb6\xaf\xc8\xa1\xcf\xfb\xc1\xac\xbd\xd3",
    // 9 URL不正确
    "URL\xb2\xbb\xd5\xfd\xc8\xb7",
};

const size_t kNotifyTextSize = 260;

std::string Format(const char* format, int index, const std::string& first, const char* second) {
    char text[kNotifyTextSize];
    if (second == nullptr) {
        std::snprintf(text, sizeof text, format, index, first.c_str());
    } else {
        std::snprintf(text, sizeof text, format, index, first.c_str(), second);
    }
    return text;
}

}  // namespace

const char* InetFailureText(int cause) {
    if (cause < 1 || cause > 9) return kFailureTexts[0];
    return kFailureTexts[cause];
}

std::string ItemResultText(int index, const std::string& fileName, bool succeeded) {
    return Format(kItemResultFormat, index, fileName, succeeded ? kSucceeded : kFailed);
}

std::string ItemSkippedText(int index, const std::string& fileName) {
    return Format(kItemSkippedFormat, index, fileName, nullptr);
}

std::string ItemRetryText(const std::string& fileName) {
    char text[kNotifyTextSize];
    std::snprintf(text, sizeof text, kItemRetryFormat, fileName.c_str());
    return text;
}

char* NewNotifyText(const std::string& text) {
    char* buffer = new char[kNotifyTextSize]();
    size_t length = 0;
    // Whole characters only: a lead byte is copied only together with its trail.
    while (length < text.size()) {
        unsigned char byte = static_cast<unsigned char>(text[length]);
        size_t width = IsGb2312LeadByte(byte) && length + 1 < text.size() ? 2 : 1;
        if (length + width > kNotifyTextSize - 1) break;
        length += width;
    }
    std::memcpy(buffer, text.data(), length);
    return buffer;
}

int ProgressPercent(uint64_t received, int64_t expected) {
    const double kMax = static_cast<double>(std::numeric_limits<int>::max());
    double figure = expected != 0 ? static_cast<double>(received) * 100.0 / static_cast<double>(expected)
                                  : static_cast<double>(received / 8192) * 5.0;
    // Converting a double outside int's range is undefined: clamp first.
    if (!(figure > 0.0)) return 0;
    if (figure >= kMax) return std::numeric_limits<int>::max();
    return static_cast<int>(figure);
}
