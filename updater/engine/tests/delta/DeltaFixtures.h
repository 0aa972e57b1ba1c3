// The decoder tests' streams, made by the zstd command line when the tests
// are built (make_fixtures.py): nothing here is a stored binary.
#pragma once

#include <string>

std::string OlderFile();            // about 150 KB of formula text
std::string NewerFile();            // the same with lines changed and inserted
std::string NewerCompressed();      // zstd -19 of the newer file
std::string NewerPatchFromOlder();  // zstd -19 --patch-from=older of the newer file
std::string EmptyCompressed();      // zstd of an empty file
