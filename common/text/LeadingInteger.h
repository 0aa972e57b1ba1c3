// Decimal numbers in the client's files (the manifest's fields, the alert
// rows), read the way the C runtime's atoi reads them.
#pragma once

#include <cstdint>
#include <string>

// Leading white space, an optional sign, then the leading digits; no digits
// give 0. A value beyond 32 bits stays at the nearest bound instead of
// overflowing.
int32_t LeadingInteger(const std::string& text);
