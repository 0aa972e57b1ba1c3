// The engine's own texts, as the GB2312 bytes the dialog shows, and the
// bounded formatting of the 260-byte notification texts.
#pragma once

#include <cstdint>
#include <string>

// Message of a download failure cause (1..9); any other cause gives the
// general connection-failure text.
const char* InetFailureText(int cause);

// "下载第 %d 个文件 %s 成功|失败"
std::string ItemResultText(int index, const std::string& fileName, bool succeeded);
// "下载第 %d 个文件 %s 上次已经下载过"
std::string ItemSkippedText(int index, const std::string& fileName);
// "%s 重新尝试下载"
std::string ItemRetryText(const std::string& fileName);

// Copies text into a new zero-filled 260-byte heap buffer, cut to 259 bytes
// (never inside a double-byte character); the receiver frees it with delete[].
char* NewNotifyText(const std::string& text);

// Progress figure of a transfer: received * 100 / expected, truncated, when the
// size is known; otherwise 5 for every full 8192 bytes. It may pass 100 when
// more arrives than announced; it is computed wide and kept within 0 and
// INT_MAX, so that no count or announced size can make it overflow.
int ProgressPercent(uint64_t received, int64_t expected);
