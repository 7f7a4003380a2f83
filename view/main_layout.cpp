#include "view/main_layout.h"

#include "view/main_ids.h"

namespace quorv {
namespace {

constexpr int kDeleteKey = 0x2E;

// The left edge stays; the right edge goes m pixels left of the client's right edge.
void StretchRight(Rect& r, int clientWidth, int m) { r.right = clientWidth - m; }

// The width stays; the control shifts until its right edge lies m pixels
// left of the client's right edge.
void MoveRight(Rect& r, int clientWidth, int m) {
    const int width = r.width();
    r.right = clientWidth - m;
    r.left = r.right - width;
}

void StretchBottom(Rect& r, int clientHeight, int m) { r.bottom = clientHeight - m; }

void MoveBottom(Rect& r, int clientHeight, int m) {
    const int height = r.height();
    r.bottom = clientHeight - m;
    r.top = r.bottom - height;
}

}  // namespace

std::map<int, Rect> MainWindowLayout(const LayoutInput& in) {
    std::map<int, Rect> out;
    auto take = [&](int id) -> Rect* {
        const auto it = in.initial.find(id);
        if (it == in.initial.end()) return nullptr;
        return &(out[id] = it->second);
    };
    const int w = in.clientWidth;
    const int h = in.clientHeight;
    for (int id : {IDC_FILE_FRAME, IDC_STATUS, IDC_COMMAND_LINE, IDC_RESULT_FRAME, IDC_FAVOURITES_FRAME})
        if (Rect* r = take(id)) StretchRight(*r, w, 12);
    for (int id : {IDC_RESULT_LIST, IDC_FAVOURITES})
        if (Rect* r = take(id)) StretchRight(*r, w, 16);
    for (int id : {IDC_QUICKVIEW_FRAME, IDC_CASE, IDC_EXCLUDE})
        if (Rect* r = take(id)) MoveRight(*r, w, 17);
    if (Rect* files = take(IDC_FILE_LIST)) {
        const auto frame = in.initial.find(IDC_QUICKVIEW_FRAME);
        const int frameWidth = frame == in.initial.end() ? 0 : frame->second.width();
        StretchRight(*files, w, in.quickView ? frameWidth + 22 : 17);
    }
    if (Rect* filter = take(IDC_FILTER)) {
        const auto exclude = in.initial.find(IDC_EXCLUDE);
        StretchRight(*filter, w, (exclude == in.initial.end() ? 0 : exclude->second.width()) + 20);
    }
    // Bottom edges, measured from the client's bottom.
    const auto status = out.find(IDC_STATUS);
    if (status != out.end()) {
        MoveBottom(status->second, h, 2);
        const int statusHeight = status->second.height();
        const auto frame = out.find(IDC_RESULT_FRAME);
        if (frame != out.end()) StretchBottom(frame->second, h, statusHeight + 6);
        const auto results = out.find(IDC_RESULT_LIST);
        if (results != out.end()) StretchBottom(results->second, h, statusHeight + 11);
    }
    return out;
}

Rect QuickPreviewPane(const Rect& frame) {
    return Rect{frame.left + 4, frame.top + 16, frame.right - 4, frame.bottom - 4};
}

KeyCommand KeyCommandFor(int virtualKey, bool ctrlDown, int focusControlId) {
    if (ctrlDown) {
        switch (virtualKey) {
        case 'A':
            return KeyCommand::SelectAllFiles;
        case 'I':
            return KeyCommand::InvertSelection;
        case 'C':
            return KeyCommand::CopyFiles;
        case 'M':
            return KeyCommand::MoveFiles;
        default:
            break;
        }
    }
    if (virtualKey == kDeleteKey) {
        if (focusControlId == IDC_FILE_LIST) return KeyCommand::RemoveFiles;
        if (focusControlId == IDC_RULE_LIST) return KeyCommand::DeleteRules;
    }
    return KeyCommand::None;
}

bool WaitStepShown(std::size_t index, std::size_t count) {
    if (index >= count) return false;
    return (index + 1) * kWaitSteps / count != index * kWaitSteps / count;
}

}  // namespace quorv
