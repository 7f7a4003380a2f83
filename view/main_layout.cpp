#include "view/main_layout.h"

#include <algorithm>
#include <iterator>

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
    const Scale& s = in.scale;
    for (int id : {IDC_FILE_FRAME, IDC_STATUS, IDC_COMMAND_LINE, IDC_RESULT_FRAME, IDC_FAVOURITES_FRAME})
        if (Rect* r = take(id)) StretchRight(*r, w, s.Px(12));
    for (int id : {IDC_RESULT_LIST, IDC_FAVOURITES})
        if (Rect* r = take(id)) StretchRight(*r, w, s.Px(16));
    for (int id : {IDC_QUICKVIEW_FRAME, IDC_CASE, IDC_EXCLUDE})
        if (Rect* r = take(id)) MoveRight(*r, w, s.Px(17));
    if (Rect* files = take(IDC_FILE_LIST)) {
        const auto frame = in.initial.find(IDC_QUICKVIEW_FRAME);
        const int frameWidth = frame == in.initial.end() ? 0 : frame->second.width();
        StretchRight(*files, w, in.quickView ? frameWidth + s.Px(22) : s.Px(17));
    }
    if (Rect* filter = take(IDC_FILTER)) {
        const auto exclude = in.initial.find(IDC_EXCLUDE);
        StretchRight(*filter, w, (exclude == in.initial.end() ? 0 : exclude->second.width()) + s.Px(20));
    }
    // Bottom edges, measured from the client's bottom.
    const auto status = out.find(IDC_STATUS);
    if (status != out.end()) {
        MoveBottom(status->second, h, s.Px(2));
        const int statusHeight = status->second.height();
        const auto frame = out.find(IDC_RESULT_FRAME);
        if (frame != out.end()) StretchBottom(frame->second, h, statusHeight + s.Px(6));
        const auto results = out.find(IDC_RESULT_LIST);
        if (results != out.end()) StretchBottom(results->second, h, statusHeight + s.Px(11));
    }
    return out;
}

Rect QuickPreviewPane(const Rect& frame, Scale scale) {
    return Rect{frame.left + scale.Px(4), frame.top + scale.Px(16), frame.right - scale.Px(4),
                frame.bottom - scale.Px(4)};
}

Size NeededClient(const std::vector<std::pair<int, Rect>>& places, Scale scale) {
    // The controls that follow the right edge, and those that follow the
    // bottom edge (the resize rules).
    static const int kFollowRight[] = {IDC_FILE_FRAME,  IDC_STATUS,      IDC_COMMAND_LINE, IDC_RESULT_FRAME,
                                       IDC_FAVOURITES_FRAME, IDC_RESULT_LIST, IDC_FAVOURITES, IDC_QUICKVIEW_FRAME,
                                       IDC_CASE,        IDC_EXCLUDE,     IDC_FILE_LIST,    IDC_FILTER};
    static const int kFollowBottom[] = {IDC_STATUS, IDC_RESULT_FRAME, IDC_RESULT_LIST};
    const auto among = [](int id, const auto& ids) { return std::find(std::begin(ids), std::end(ids), id) != std::end(ids); };
    int right = 0;
    int bottom = 0;
    for (const auto& [id, r] : places) {
        if (!among(id, kFollowRight)) right = std::max(right, r.right);
        if (!among(id, kFollowBottom)) bottom = std::max(bottom, r.bottom);
    }
    return Size{right + scale.Px(kRoomRight96), bottom + scale.Px(kRoomBelow96)};
}

Size MinimumWindow(Scale scale, const Rect& workArea, const Size& needed) {
    return Size{std::min(std::max(scale.Px(kMinTrackWidth), needed.width), std::max(0, workArea.width())),
                std::min(std::max(scale.Px(kMinTrackHeight), needed.height), std::max(0, workArea.height()))};
}

Size SmallestStoredClient(Scale scale, const Rect& workArea, const Size& frame, const Size& needed) {
    const Size window = MinimumWindow(scale, workArea, needed);
    return Size{scale.Design(std::max(0, window.width - frame.width)),
                scale.Design(std::max(0, window.height - frame.height))};
}

Rect PlaceWindow(const PlacementInput& in) {
    const Size least = MinimumWindow(in.scale, in.workArea, in.needed);
    // The stored size is clamped to what a window can be before it is
    // scaled: an absurd value must not overflow.
    const auto side = [&](int stored, int frame, int smallest, int room) {
        const int pixels = in.scale.Px(std::min(std::max(stored, 0), kMaxStoredExtent)) + frame;
        return std::max(smallest, std::min(pixels, std::max(room, 0)));
    };
    const int width = side(in.storedClient.width, in.frame.width, least.width, in.workArea.width());
    const int height = side(in.storedClient.height, in.frame.height, least.height, in.workArea.height());
    const int left = in.workArea.left + (in.workArea.width() - width) / 2;
    const int top = in.workArea.top + (in.workArea.height() - height) / 2;
    return Rect{left, top, left + width, top + height};
}

KeyCommand KeyCommandFor(int virtualKey, bool ctrlDown, int focusControlId, bool editSelection) {
    if (ctrlDown && editSelection && (virtualKey == 'C' || virtualKey == 'M')) return KeyCommand::None;
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

ListFollow HowToFollow(std::uint64_t shownRevision, std::uint64_t revision, const RowChange& change,
                       std::size_t shownCount) {
    if (shownRevision == revision) return ListFollow::Nothing;
    // ~0: the box never showed the list.
    if (shownRevision == ~std::uint64_t{0} || shownRevision + 1 != revision) return ListFollow::Refill;
    switch (change.kind) {
    case RowChange::Kind::Swapped:
        return change.first + 1 < shownCount ? ListFollow::SwapRows : ListFollow::Refill;
    case RowChange::Kind::Removed:
        if (change.removed.empty() || change.removed.size() > kDeleteRowsLimit) return ListFollow::Refill;
        return change.removed.back() < shownCount ? ListFollow::DeleteRows : ListFollow::Refill;
    case RowChange::Kind::Any:
        break;
    }
    return ListFollow::Refill;
}

bool WaitStepShown(std::size_t index, std::size_t count) {
    if (index >= count) return false;
    return (index + 1) * kWaitSteps / count != index * kWaitSteps / count;
}

}  // namespace quorv
