// Bytes as hexadecimal text, two digits a byte, first byte first: the form
// of digests (the manifest's MD5 in capitals, SHA-256 as sha256sum prints
// it) and of key names.
#pragma once

#include <cstddef>
#include <string>

enum class HexLetters { kUpper, kLower };

std::string HexText(const void* bytes, std::size_t size, HexLetters letters);

// True when the text is exactly `length` hexadecimal digits, in either case:
// the check of a digest's text form.
bool IsHexText(const std::string& text, std::size_t length);
