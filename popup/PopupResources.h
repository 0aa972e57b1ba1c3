// Resource numbers of the alert library's artwork.
#pragma once

#define IDB_POPUP_BACKGROUND 1006  // 259x145 whole window
#define IDB_POPUP_CLOSE_HOT  1005  // 33x19 close button under the pointer
#define IDI_POPUP_IMPORTANCE 1008  // 16x16 diamond, one unit of importance
#define IDC_POPUP_HAND       1002  // pointing hand over the message area
