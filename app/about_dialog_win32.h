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

    // The lines are measured again in the new fonts.
    void SetScale(Scale scale) override;

protected:
    bool OnInitDialog() override;
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PlaceAfterScaleChange(const RECT& suggested) override { CentreOn(suggested); }

private:
    static const CommandRow<AboutDialog> kCommands[];
    void OnOkCommand();
    void OnCancelCommand();
    // Each line as high as it needs, wrapped within the box's width, the
    // box as high as its lines; the icon beside the first, the button below.
    void Layout();
    void LoadIcon();

    CMacButton ok_;
    IconHandle icon_;
    HWND picture_ = nullptr;
    HWND lines_[8] = {};
};

}  // namespace quorv::win
