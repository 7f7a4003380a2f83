#pragma once
// The program's about box: its name and version, its licence and the
// credit of the tag library, in the colour theme.
#include <windows.h>

#include "skin/mac_button_win32.h"
#include "skin/themed_dialog_win32.h"

namespace quorv::win {

// The lines of the about box, in order.
extern const char* const kAboutLines[];
extern const int kAboutLineCount;

class AboutDialog : public ThemedDialog {
public:
    explicit AboutDialog(int theme) : ThemedDialog(theme) {}
    INT_PTR Run(HWND owner);

protected:
    bool OnInitDialog() override;
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static const CommandRow<AboutDialog> kCommands[];
    void OnOkCommand();
    void OnCancelCommand();

    CMacButton ok_;
    IconHandle icon_;
};

}  // namespace quorv::win
