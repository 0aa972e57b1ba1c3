#include "AlertTimeText.h"

std::string AlertTimeText(const char* time) {
    std::string text = time ? time : "";
    for (char& c : text) {
        if (c == 'T') c = ' ';
    }
    size_t point = text.rfind('.');
    if (point != std::string::npos && point > 0) text.erase(point);
    return text;
}
