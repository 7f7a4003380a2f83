#pragma once
// The program's own message and question dialogs, drawn in the colour
// theme and sized to their text. The program never uses the system's
// message box for its own messages.
#include <windows.h>

#include <string>

#include "skin/mac_button_win32.h"
#include "skin/themed_dialog_win32.h"
#include "view/skin_geometry.h"

namespace quorv::win {

class MessageDialog : public ThemedDialog {
public:
    enum Kind { kMessage = 0, kQuestion = 1 };

    MessageDialog(std::string text, Kind kind, int theme);

    // Runs the dialog modally on the empty popup template; returns the
    // identifier of the button pressed: 1 ("&OK" / "&Yes") or 2 ("&No",
    // Escape, Close).
    INT_PTR Run(HWND owner);

    // The layout follows the new scale: the text is measured again in the
    // new font.
    void SetScale(Scale scale) override;

protected:
    bool OnInitDialog() override;
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PlaceAfterScaleChange(const RECT& suggested) override { CentreOn(suggested); }

private:
    void OnFirst();
    void OnSecond();
    // The layout of the text in the window's font at the window's scale.
    skin::MessageLayout Measure() const;
    // Sizes the window to the layout and places the text and the buttons.
    void Layout(const skin::MessageLayout& layout);

    std::string text_;
    Kind kind_;
    CMacButton first_;
    CMacButton second_;
    HWND static_ = nullptr;
};

// Shows text with "&OK" and returns when the user closed it. owner: the
// window the dialog is modal to; none means the calling thread's active
// window (the main window when it calls).
void ShowMessage(const std::string& text, int theme = kDefaultTheme, HWND owner = nullptr);
// Asks a yes/no question: true for "&Yes"; "&No", Escape and Close give
// false.
bool AskYesNo(const std::string& text, int theme = kDefaultTheme, HWND owner = nullptr);

}  // namespace quorv::win
