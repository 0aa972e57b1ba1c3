// Comparison of GB2312/GBK byte strings that folds only single-byte ASCII
// letters: the second byte of a double-byte character is compared as it is,
// so it can never be mistaken for a letter of another case.
#pragma once

bool EqualIgnoreCaseMbcs(const char* a, const char* b);
