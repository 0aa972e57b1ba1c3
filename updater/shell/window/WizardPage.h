// One page of the update wizard: a child dialog laid over the main dialog's
// page area. Message pages have a bold heading; progress pages have release
// notes, a caption and a progress bar. Button clicks go to the main dialog.
#pragma once

#include "window/CStyledLabel.h"
#include "window/DialogWindow.h"

class WizardPage : public DialogWindow {
public:
    explicit WizardPage(int templateId) : DialogWindow(templateId) {}

    // Creates the page hidden over the given rectangle of the parent.
    bool Create(HWND parent, const RECT& area);

protected:
    void OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    CStyledLabel m_heading;
};
