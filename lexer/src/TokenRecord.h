// One token as the collector keeps it until delivery.
#ifndef LEXORA_TOKEN_RECORD_H
#define LEXORA_TOKEN_RECORD_H

#include <cstdint>

struct TokenRecord {
    int32_t code;
    int16_t position;
    int16_t length;
};

#endif
