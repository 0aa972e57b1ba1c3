// The time line of an alert as shown: every "T" becomes a blank and the text
// from the last "." on is cut off (fractions of seconds), unless that point
// is the very first character.
#pragma once

#include <string>

std::string AlertTimeText(const char* time);
