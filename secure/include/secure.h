/* secure: DES / triple-DES buffer encryption in this library's bit-order
 * variant, and Diffie-Hellman key agreement on 64-bit integers.
 *
 * All exports use the cdecl calling convention with undecorated names. The
 * caller owns every buffer. The DES functions return 1 when the call was
 * carried out and 0 when it was refused (null input or key, or a length
 * below 1); they process floor(inputLength / 8) blocks and leave the
 * trailing inputLength % 8 output bytes untouched. Output may equal input.
 */
#ifndef SECURE_H
#define SECURE_H

#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(_WIN32)
#define SECURE_CALL __cdecl
#define SECURE_API
#else
#define SECURE_CALL
#if defined(SECURE_BUILDING_LIBRARY)
#define SECURE_API __attribute__((visibility("default")))
#else
#define SECURE_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Single DES with the first 8 key bytes (a shorter key is padded with zero bytes). */
SECURE_API bool SECURE_CALL DES_Encrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                        int keyLength, unsigned char* output);
SECURE_API bool SECURE_CALL DES_Decrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                        int keyLength, unsigned char* output);

/* Triple DES (encrypt-decrypt-encrypt) with keys 1, 2, 3 taken from the first
 * 24 key bytes, zero-padded; key 3 is key 1 when keyLength is 16 or less.
 * Keys shorter than 8 bytes give single DES. */
SECURE_API bool SECURE_CALL DES3_Encrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                         int keyLength, unsigned char* output);
SECURE_API bool SECURE_CALL DES3_Decrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                         int keyLength, unsigned char* output);

/* Diffie-Hellman. Each function writes its result through its last pointer
 * and returns the value it wrote last. */

/* New modulus p (a prime of about 31 bits) and generator g; returns g. */
SECURE_API uint64_t SECURE_CALL DH_GetPG(uint64_t* p, uint64_t* g);
/* New private exponent in 0 ... p - 2. */
SECURE_API uint64_t SECURE_CALL DH_GetPrivateKey(uint64_t p, uint64_t g, uint64_t* privateKey);
/* g^privateKey mod p; a privateKey of 0 is replaced by a freshly drawn one. */
SECURE_API uint64_t SECURE_CALL DH_GetPublicKey(uint64_t p, uint64_t g, uint64_t privateKey, uint64_t* publicKey);
/* peerPublicKey^privateKey mod p. */
SECURE_API uint64_t SECURE_CALL DH_GetKey(uint64_t p, uint64_t g, uint64_t privateKey, uint64_t peerPublicKey,
                                          uint64_t* sharedKey);

#ifdef __cplusplus
}
#endif

#endif /* SECURE_H */
