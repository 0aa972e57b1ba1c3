#include "SecureApi.h"

namespace secure::testing {

const SecureApi& Api() {
    static const SecureApi api{&DES_Encrypt,      &DES_Decrypt,      &DES3_Encrypt,    &DES3_Decrypt,
                               &DH_GetPG,         &DH_GetPrivateKey, &DH_GetPublicKey, &DH_GetKey};
    return api;
}

}  // namespace secure::testing
