// The first byte of a double-byte character in the client's Chinese code
// page (GB2312 and its GBK extension): the next byte belongs to it.
#pragma once

inline bool IsGb2312LeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
