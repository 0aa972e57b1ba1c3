// Fixed texts of the alert window, as the GB2312 bytes the ANSI drawing
// functions expect.
#pragma once

// "Quorvane - Tidvane"
#define POPUP_TITLE "Quorvane - Tidvane"
// "点击查看详情": the hint over the message area
#define POPUP_TOOLTIP "\xB5\xE3\xBB\xF7\xB2\xE9\xBF\xB4\xCF\xEA\xC7\xE9"
// "宋体": face of the window's font
#define POPUP_FONT_FACE "\xCB\xCE\xCC\xE5"
// "重要程度: ": label in front of the importance diamonds
#define POPUP_IMPORTANCE_LABEL "\xD6\xD8\xD2\xAA\xB3\xCC\xB6\xC8\x3A\x20"
