// Whether a manifest item must be downloaded, and whether a copy already in
// the update folder can stand in for the download.
#pragma once

#include "manifest/UpdateItem.h"

#include <string>

// What could be learnt about the installed file at the item's install path.
struct InstalledFile {
    bool exists = false;          // it can be opened for reading
    bool infoRead = false;        // its version resource or its status was read
    std::string versionText;      // empty without version resource
    int32_t date = 0;             // last modification as YYYYMMDD
};

// Missing installed file: needed. DownValue 1: needed. Unreadable info: not
// needed. With a manifest FileVersion: needed when the installed version text
// compares below it as text (so 1.0.0.9 is above 1.0.0.10). Otherwise needed
// when the manifest date is later. An item with unsafe paths, or with a
// control character in a text its state-file block carries, is never needed.
bool DecideNeedsUpdate(const UpdateItem& item, const InstalledFile& installed);

// What is known about the file already at the item's download path.
struct ExistingDownload {
    bool hasVersion = false;  // an .exe or .dll whose version resource was read
    std::string versionText;
    bool hasMd5 = false;      // the item names an MD5 and the file's digest was taken
    std::string md5Text;
    bool digestsRequired = false;  // the manifest was signed: only digests can vouch for the copy
    bool hasSha256 = false;        // the item names a SHA256 and the file's digest was taken
    std::string sha256Text;
};

// True when the existing copy's version text equals the item's FileVersion, or
// its digest equals the item's MD5 (both ignoring case). When digests are
// required, only equal digests count: the MD5 and, when named, the SHA-256.
bool ExistingDownloadMatches(const UpdateItem& item, const ExistingDownload& existing);

// What a signed manifest requires of each item: an MD5 of 32 hexadecimal
// digits, and a SHA256, when given, of 64. An item without them is not planned.
bool HasRequiredDigests(const UpdateItem& item);

// Whether a downloaded file's digests match the item's: the MD5 when named
// (as always), and the SHA-256 when named and digests are required.
bool DownloadDigestsMatch(const UpdateItem& item, bool digestsRequired, const std::string& md5Text,
                          const std::string& sha256Text);

// True for the extensions whose version resource the skip rule reads.
bool HasVersionedExtension(const std::string& path);
