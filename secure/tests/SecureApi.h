// The library's exports as the tests reach them: through the C header and
// the linked shared library natively, and on Windows through LoadLibrary and
// GetProcAddress by their undecorated names, called as cdecl function
// pointers the way the client calls them.
#pragma once

#include <gtest/gtest.h>

#include "secure.h"

namespace secure::testing {

using DesFunction = bool(SECURE_CALL*)(const unsigned char*, int, const unsigned char*, int, unsigned char*);
using GetPGFunction = uint64_t(SECURE_CALL*)(uint64_t*, uint64_t*);
using GetPrivateKeyFunction = uint64_t(SECURE_CALL*)(uint64_t, uint64_t, uint64_t*);
using GetPublicKeyFunction = uint64_t(SECURE_CALL*)(uint64_t, uint64_t, uint64_t, uint64_t*);
using GetKeyFunction = uint64_t(SECURE_CALL*)(uint64_t, uint64_t, uint64_t, uint64_t, uint64_t*);

struct SecureApi {
    DesFunction desEncrypt;
    DesFunction desDecrypt;
    DesFunction des3Encrypt;
    DesFunction des3Decrypt;
    GetPGFunction getPG;
    GetPrivateKeyFunction getPrivateKey;
    GetPublicKeyFunction getPublicKey;
    GetKeyFunction getKey;

    bool AllFound() const {
        return desEncrypt && desDecrypt && des3Encrypt && des3Decrypt && getPG && getPrivateKey && getPublicKey &&
               getKey;
    }
};

// The exports of the library under test.
const SecureApi& Api();

// Base of the export tests: stops a test at once when an export is missing.
class SecureExportsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Api().AllFound()); }
};

}  // namespace secure::testing
