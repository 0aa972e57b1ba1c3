#include <gtest/gtest.h>

#include "LoadedLibrary.h"
#include "SecureApi.h"

namespace secure::testing {
namespace {

template <typename Function>
Function Resolve(const LoadedLibrary& library, const char* name) {
    void* address = library.Export(name);
    if (address == nullptr) ADD_FAILURE() << "secure.dll is not loaded or does not export " << name;
    return reinterpret_cast<Function>(address);
}

}  // namespace

const SecureApi& Api() {
    static const LoadedLibrary library("secure.dll");
    static const SecureApi api{
        Resolve<DesFunction>(library, "DES_Encrypt"),
        Resolve<DesFunction>(library, "DES_Decrypt"),
        Resolve<DesFunction>(library, "DES3_Encrypt"),
        Resolve<DesFunction>(library, "DES3_Decrypt"),
        Resolve<GetPGFunction>(library, "DH_GetPG"),
        Resolve<GetPrivateKeyFunction>(library, "DH_GetPrivateKey"),
        Resolve<GetPublicKeyFunction>(library, "DH_GetPublicKey"),
        Resolve<GetKeyFunction>(library, "DH_GetKey"),
    };
    return api;
}

}  // namespace secure::testing
