// The About box opened from the system menu: icon, version line, copyright.
#pragma once

#include "DialogWindow.h"

class AboutDialog : public DialogWindow {
public:
    AboutDialog();
    const char* GetRuntimeClassName() const override { return "AboutDialog"; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
