// Control characters in texts that end up in lines of the client's files.
#pragma once

#include <string>

// True when the text holds a control character: a byte below 0x20 or 0x7F.
// GB2312 bytes are all 0xA1 and above, so no Chinese character is one.
bool HasControlCharacter(const std::string& text);
