// The four DES exports: thin cdecl entry points over the buffer routines,
// each returning false (refused) rather than letting an exception out.
#include "DesRun.h"
#include "ExportBoundary.h"
#include "secure.h"

using secure::AtExportBoundary;
using secure::DesDirection;

SECURE_API bool SECURE_CALL DES_Encrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                        int keyLength, unsigned char* output) {
    return AtExportBoundary(false, [&] {
        return secure::DES_Run(input, inputLength, key, keyLength, output, DesDirection::Encrypt);
    });
}

SECURE_API bool SECURE_CALL DES_Decrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                        int keyLength, unsigned char* output) {
    return AtExportBoundary(false, [&] {
        return secure::DES_Run(input, inputLength, key, keyLength, output, DesDirection::Decrypt);
    });
}

SECURE_API bool SECURE_CALL DES3_Encrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                         int keyLength, unsigned char* output) {
    return AtExportBoundary(false, [&] {
        return secure::DES3_Run(input, inputLength, key, keyLength, output, DesDirection::Encrypt);
    });
}

SECURE_API bool SECURE_CALL DES3_Decrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                         int keyLength, unsigned char* output) {
    return AtExportBoundary(false, [&] {
        return secure::DES3_Run(input, inputLength, key, keyLength, output, DesDirection::Decrypt);
    });
}
