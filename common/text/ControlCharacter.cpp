#include "ControlCharacter.h"

bool HasControlCharacter(const std::string& text) {
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}
