/* Compiled as C: the public header must serve C callers as it stands, with
 * a one-byte boolean from the DES functions and a 64-bit value from the
 * Diffie-Hellman functions. The calls below are never evaluated. */
#include "secure.h"

_Static_assert(sizeof(DES_Encrypt(0, 0, 0, 0, 0)) == 1, "DES exports return a one-byte boolean");
_Static_assert(sizeof(DES3_Decrypt(0, 0, 0, 0, 0)) == 1, "DES exports return a one-byte boolean");
_Static_assert(sizeof(DH_GetPG(0, 0)) == 8, "Diffie-Hellman exports return 64 bits");
_Static_assert(sizeof(DH_GetKey(0, 0, 0, 0, 0)) == 8, "Diffie-Hellman exports return 64 bits");
