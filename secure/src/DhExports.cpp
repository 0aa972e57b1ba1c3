// The four Diffie-Hellman exports. Each fills a fresh context with its value
// arguments, computes what is missing and writes its result through its last
// pointer.
#include "DhContext.h"
#include "DhKeys.h"
#include "ModularArithmetic.h"
#include "PrimeSearch.h"
#include "secure.h"

using secure::DhContext;

SECURE_API uint64_t SECURE_CALL DH_GetPG(uint64_t* p, uint64_t* g) {
    DhContext context;
    secure::GeneratePG(context);
    *p = context.p;
    *g = context.g;
    return context.g;
}

SECURE_API uint64_t SECURE_CALL DH_GetPrivateKey(uint64_t p, uint64_t g, uint64_t* privateKey) {
    DhContext context;
    context.p = p;
    context.g = g;
    context.privateKey = secure::DrawPrivateKey(context.p);
    *privateKey = context.privateKey;
    return context.privateKey;
}

SECURE_API uint64_t SECURE_CALL DH_GetPublicKey(uint64_t p, uint64_t g, uint64_t privateKey, uint64_t* publicKey) {
    DhContext context;
    context.p = p;
    context.g = g;
    context.privateKey = privateKey;
    if (context.privateKey == 0) context.privateKey = secure::DrawPrivateKey(context.p);
    context.publicKey = secure::ModPow(context.g, context.privateKey, context.p);
    *publicKey = context.publicKey;
    return context.publicKey;
}

SECURE_API uint64_t SECURE_CALL DH_GetKey(uint64_t p, uint64_t g, uint64_t privateKey, uint64_t peerPublicKey,
                                          uint64_t* sharedKey) {
    DhContext context;
    context.p = p;
    context.g = g;
    context.privateKey = privateKey;
    context.sharedKey = secure::ModPow(peerPublicKey, context.privateKey, context.p);
    *sharedKey = context.sharedKey;
    return context.sharedKey;
}
