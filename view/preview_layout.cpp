#include "view/preview_layout.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace quorv {

const char kPictureExtensions[] = ".jpg;.jpeg;.gif;.bmp;";
const char kMediaExtensions[] =
    ".cda;.ivf;.aif;.aifc;.aiff;.asf;.asx;.wax;.wm;.wma;.wmd;.wmv;.wvx;.wmp;.wmx;.avi;.wav;.mpeg;.mpg;.m1v;"
    ".mp2;.mpa;.mpe;.mp2v;.mpv2;.mid;.midi;.rmi;.au;.snd;.mp3;.m3u;.vob;";
const char kRealMediaExtensions[] = ".rm;.rmvb;.ram;.rmm;.mov;.qt;.ra;.rax;.rt;.rp;.rv;";
const char kFlashKey[] = ".swf;";

Rect PreviewPaneRect(const Rect& frame, Scale scale) {
    const int side = scale.Px(4);
    Rect r{frame.left + side, frame.top + scale.Px(16), frame.right - side, frame.bottom - side};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

Rect FitPicture(int pictureWidth, int pictureHeight, const Rect& area) {
    const std::int64_t areaWidth = std::max(0, area.width());
    const std::int64_t areaHeight = std::max(0, area.height());
    if (pictureWidth <= 0 || pictureHeight <= 0 || areaWidth == 0 || areaHeight == 0)
        return {area.left, area.top, area.left, area.top};
    const std::int64_t w = pictureWidth;
    const std::int64_t h = pictureHeight;
    std::int64_t drawnWidth = w;
    std::int64_t drawnHeight = h;
    if (w > areaWidth || h > areaHeight) {
        // Integer arithmetic: the side that limits gets the whole area, the
        // other side its share, truncated.
        if (areaWidth * h <= areaHeight * w) {
            drawnWidth = areaWidth;
            drawnHeight = std::max<std::int64_t>(1, areaWidth * h / w);
        } else {
            drawnHeight = areaHeight;
            drawnWidth = std::max<std::int64_t>(1, areaHeight * w / h);
        }
    }
    const std::int64_t left = area.left + (areaWidth - drawnWidth) / 2;
    const std::int64_t top = area.top + (areaHeight - drawnHeight) / 2;
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + drawnWidth),
            static_cast<int>(top + drawnHeight)};
}

std::string PreviewKey(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    std::string key = dot == std::string::npos ? path : path.substr(dot);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    key += ';';
    return key;
}

PreviewKind ChoosePreview(const std::string& path) {
    if (path.empty()) return PreviewKind::None;  // its key ";" would be found in every list
    const std::string key = PreviewKey(path);
    const auto listed = [&key](const char* list) { return std::string_view(list).find(key) != std::string_view::npos; };
    if (listed(kPictureExtensions)) return PreviewKind::Picture;
    if (listed(kMediaExtensions)) return PreviewKind::MediaPlayer;
    if (listed(kRealMediaExtensions)) return PreviewKind::RealPlayer;
    if (key == kFlashKey) return PreviewKind::Flash;
    return PreviewKind::None;
}

}  // namespace quorv
