#include "view/skin_geometry.h"

#include <algorithm>

namespace quorv::skin {

int HalfDown(int value) { return value >= 0 ? value / 2 : -((1 - value) / 2); }

namespace {

// Bands worked out at 96 DPI (from 0), drawn larger from top: each band
// spans its edges at the scale, and the last one ends at end (the height at
// 96 DPI may stand for a pixel less than the real one).
std::vector<Band> Enlarged(const std::vector<Band>& bands, int top, int end, Scale scale) {
    std::vector<Band> out;
    out.reserve(bands.size());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const int bandTop = top + scale.Px(bands[i].top);
        const int bandBottom = i + 1 == bands.size() ? end : std::min(top + scale.Px(bands[i].bottom), end);
        if (bandBottom > bandTop) out.push_back(Band{bandTop, bandBottom, bands[i].colour});
    }
    return out;
}

}  // namespace

// ---- drawn buttons

int ButtonCornerSize(int width, Scale scale) { return width < scale.Px(30) ? 0 : scale.Px(6); }

int ButtonGradientStep(int height) {
    if (height <= 0) return 0;
    return static_cast<int>(11.5 / (height * 0.1));
}

std::vector<Band> ButtonGradientBands(int top, int bottom, Colour start, Colour lightest, Scale scale) {
    if (!scale.IsDesign()) {
        const int height = scale.Design(bottom - top);
        return Enlarged(ButtonGradientBands(0, height, start, lightest), top, bottom - scale.Px(2), scale);
    }
    std::vector<Band> bands;
    const int step = ButtonGradientStep(bottom - top);
    const int half = top + (bottom - top) / 2;
    Colour colour = start;
    for (int y = top + 2; y < bottom - 2; y += 2) {
        if (y < half) {
            colour = AdjustColour(colour, -step);
        } else if (y < half + 2) {
            colour = AdjustColour(colour, -12);
        } else {
            const Colour lighter = AdjustColour(colour, step);
            colour = lighter > lightest ? lightest : lighter;
        }
        const int end = y + 2 < bottom - 2 ? y + 2 : bottom - 2;
        bands.push_back(Band{y, end, colour});
    }
    return bands;
}

Rect ButtonTextRect(const Rect& item, int iconWidth, int iconHeight, bool iconOnTop, Scale scale) {
    Rect r = item;
    if (iconWidth > 0 && iconOnTop) {
        r.top += iconHeight + scale.Px(3);
    } else if (iconWidth > 0) {
        r.left += iconWidth + scale.Px(8);
    }
    r.left += scale.Px(1);
    r.right -= scale.Px(1);
    return r;
}

Point ButtonIconOrigin(const Rect& item, int iconWidth, int iconHeight, bool iconOnTop, bool captionButton,
                       Scale scale) {
    if (iconOnTop) return Point{item.left + (item.width() - iconWidth) / 2, item.top + scale.Px(5)};
    return Point{item.left + scale.Px(captionButton ? 3 : 4), item.top + (item.height() - iconHeight) / 2};
}

Rect ButtonArrowRect(const Rect& item, Scale scale) {
    const int side = scale.Px(12);
    const int left = item.right - scale.Px(16);
    const int top = item.top + (item.height() - side) / 2;
    return Rect{left, top, left + side, top + side};
}

ButtonColours ButtonColoursFor(int theme, bool pressed, bool captionButton, bool hover) {
    ButtonColours c{};
    const Colour c1 = GetThemeColour(theme, 1);
    const Colour c2 = GetThemeColour(theme, 2);
    const Colour c3 = GetThemeColour(theme, 3);
    c.face = pressed ? c3 : c1;
    c.outline = captionButton ? AdjustColour(c3, -36) : AdjustColour(GetThemeColour(theme, 4), 70);
    c.gradientStart = (captionButton || pressed) ? c3 : c2;
    c.lightest = c2;
    c.innerOutline = hover ? GetThemeColour(theme, 6) : (captionButton ? c1 : c2);
    return c;
}

ButtonLookState::Move ButtonLookState::MouseMove(bool inside) {
    Move m;
    if (inside) {
        m.capture = true;
        if (look_ != ButtonLook::MouseOver && look_ != ButtonLook::Latched) {
            look_ = ButtonLook::MouseOver;
            m.redraw = true;
        }
        return m;
    }
    m.release = true;
    ButtonLook next = look_;
    if (kind_ == ButtonKind::Push) {
        next = ButtonLook::Normal;
    } else if (look_ != ButtonLook::Latched || saved_ != ButtonLook::Latched) {
        next = ButtonLook::Normal;
    }
    m.redraw = next != look_;
    look_ = next;
    return m;
}

bool ButtonLookState::LeftDown() {
    switch (kind_) {
    case ButtonKind::Toggle:
        look_ = look_ == ButtonLook::Latched ? ButtonLook::Normal : ButtonLook::Latched;
        return true;
    case ButtonKind::Latch:
        if (look_ == ButtonLook::Latched) return false;
        look_ = ButtonLook::Latched;
        return true;
    case ButtonKind::Push:
        break;
    }
    look_ = ButtonLook::Latched;
    return true;
}

void ButtonLookState::LeftUp() {
    if (kind_ == ButtonKind::Push) {
        look_ = ButtonLook::Normal;
    } else {
        saved_ = look_;
    }
}

bool ButtonLookState::CaptureLost() {
    if (look_ != ButtonLook::MouseOver) return false;
    look_ = ButtonLook::Normal;
    return true;
}

// ---- drawn check boxes

Colour MiddleColour(Colour a, Colour b) {
    return MakeColour(Red(a) + HalfDown(Red(b) - Red(a)), Green(a) + HalfDown(Green(b) - Green(a)),
                      Blue(a) + HalfDown(Blue(b) - Blue(a)));
}

CheckBoxColours CheckBoxColoursFor(int theme) {
    CheckBoxColours c{};
    c.highlight = GetThemeColour(theme, 0);
    c.background = GetThemeColour(theme, 1);
    c.dark = GetThemeColour(theme, 3);
    c.tick = GetThemeColour(theme, 4);
    c.frame = AdjustColour(c.tick, 70);
    c.shadow = MiddleColour(c.background, c.dark);
    return c;
}

Point CheckBoxOrigin(int width, int height, bool rightButton, Scale scale) {
    const int side = CheckBoxSide(scale);
    return Point{rightButton ? width - side : 0, HalfDown(height - side)};
}

void CheckBoxState::LeftDown() {
    pressed_ = true;
    tracking_ = true;
}

bool CheckBoxState::MouseMove(bool inside) {
    if (!tracking_ || pressed_ == inside) return false;
    pressed_ = inside;
    return true;
}

CheckBoxState::Release CheckBoxState::LeftUp(bool inside, bool isCheckBox) {
    Release r;
    if (!tracking_) return r;
    tracking_ = false;
    // A press released outside the box is taken back: no toggle and no
    // click, so the parent does not act on a click the user withdrew.
    const bool click = pressed_ && inside;
    if (click && isCheckBox) checked_ = !checked_;
    pressed_ = false;
    r.handled = true;
    r.checked = checked_;
    r.notify = click;
    return r;
}

void CheckBoxState::SpaceDown() {
    spaceDown_ = true;
    pressed_ = true;
}

CheckBoxState::Release CheckBoxState::SpaceUp(bool isCheckBox) {
    Release r;
    if (!spaceDown_) return r;
    spaceDown_ = false;
    pressed_ = false;
    if (isCheckBox) checked_ = !checked_;
    r.handled = true;
    r.checked = checked_;
    r.notify = true;
    return r;
}

bool CheckBoxState::CaptureLost() {
    if (!tracking_) return false;
    tracking_ = false;
    const bool changed = pressed_;
    pressed_ = false;
    return changed;
}

// ---- title bar

Rect TitleBarBand(int clientWidth, Scale scale) { return Rect{0, 0, clientWidth, scale.Px(kTitleBarHeight)}; }

Rect CaptionButton(int clientRight, int fromRight, Scale scale) {
    const int left = clientRight - scale.Px(fromRight);
    const int top = scale.Px(kCaptionButtonTop);
    return Rect{left, top, left + scale.Px(kCaptionButtonSize), top + scale.Px(kCaptionButtonSize)};
}

Rect TitleBarIcon(const Rect& band, Scale scale) {
    const int left = band.left + scale.Px(7);
    const int top = band.top + scale.Px(4);
    return Rect{left, top, left + scale.Px(16), top + scale.Px(16)};
}

Rect TitleBarShadowText(const Rect& band, Scale scale) {
    return Rect{band.left + scale.Px(30), band.top + scale.Px(1), band.right + scale.Px(30), band.bottom + scale.Px(1)};
}

Rect TitleBarText(const Rect& band, Scale scale) {
    return Rect{band.left + scale.Px(29), band.top - scale.Px(1), band.right + scale.Px(29), band.bottom - scale.Px(1)};
}

std::vector<Band> TitleBarBands(int top, int bottom, int theme, Scale scale) {
    if (!scale.IsDesign()) return Enlarged(TitleBarBands(0, scale.Design(bottom - top), theme), top, bottom, scale);
    std::vector<Band> bands;
    const int half = (bottom - top) / 2;
    Colour colour = GetThemeColour(theme, 5);
    for (int y = top; y <= bottom - 2; y += 2) {
        int delta;
        if (y < half - 2) {
            delta = -6;
        } else if (y < half) {
            delta = -10;
        } else if (y < bottom - 2) {
            delta = 1;
        } else {
            delta = -12;
        }
        colour = AdjustColour(colour, delta);
        bands.push_back(Band{y, y + 2, colour});
    }
    return bands;
}

CaptionColours CaptionColoursFor(int theme, bool active) {
    if (theme < 0 || theme >= kThemeCount) theme = kDefaultTheme;
    if (!active) return CaptionColours{GetThemeColour(theme, 3), GetThemeColour(theme, 4)};
    Colour shadow = GetThemeColour(theme, 4);
    if (theme == 1) shadow = 0xD1C9C5;
    if (theme == 10) shadow = 0xC8C8C8;
    return CaptionColours{GetThemeColour(theme, 7), shadow};
}

FrameColours WindowFrameColours(int theme) {
    const Colour c3 = GetThemeColour(theme, 3);
    const Colour dark = AdjustColour(c3, -60);
    return FrameColours{dark, c3, dark};
}

// ---- progress bar

ProgressPicture ProgressBarPicture(const Rect& client, int minimum, int maximum, int position, int theme,
                                   Scale scale) {
    ProgressPicture p;
    p.background = GetThemeColour(theme, 1);
    p.bar = AdjustColour(GetThemeColour(theme, 3), -25);
    p.outline = client;
    const int inset = scale.Px(2);
    const Rect inner{client.left + inset, client.top + inset, client.right - inset, client.bottom - inset};
    if (maximum <= minimum || inner.width() <= 0 || inner.height() <= 0) return p;
    const double share = static_cast<double>(position - minimum) / static_cast<double>(maximum - minimum);
    int right = inner.left + static_cast<int>(share * inner.width());
    if (right > inner.right - scale.Px(1)) right = inner.right - scale.Px(1);
    if (right <= inner.left) return p;
    p.filled = true;
    p.fill = Rect{inner.left, inner.top, right, inner.bottom};
    if (right - scale.Px(3) > inner.left + scale.Px(2)) {
        p.highlight = true;
        const int top = inner.top + inner.height() * 3 / 10;
        p.highlightBand = Rect{inner.left + scale.Px(2), top, right - scale.Px(3), top + scale.Px(4)};
        p.highlightColour = AdjustColour(p.bar, 6);
        p.lineY = top + scale.Px(1);
        p.lineColour = AdjustColour(p.highlightColour, 10);
    }
    return p;
}

// ---- message dialog

MessageLayout LayoutMessage(int oneLineWidth, int wrappedHeight, int kind, Scale scale) {
    MessageLayout m;
    const auto px = [scale](int length) { return scale.Px(length); };
    const int textWidth = MessageTextWidth(oneLineWidth < 0 ? 0 : oneLineWidth, scale);
    const int textHeight = wrappedHeight < 0 ? 0 : wrappedHeight;
    m.windowHeight = textHeight + px(120);
    m.windowWidth = textWidth + px(60);
    int textLeft = px(30);
    if (m.windowWidth < px(220)) {
        m.windowWidth = px(220);
        textLeft = (px(220) - textWidth) / 2;
    }
    m.text = Rect{textLeft, px(55), textLeft + textWidth, px(55) + textHeight};
    const int top = m.windowHeight - px(40);
    const int buttonWidth = px(kMessageButtonWidth);
    const auto button = [top, buttonWidth, &px](int left) {
        return Rect{left, top, left + buttonWidth, top + px(kMessageButtonHeight)};
    };
    if (kind == 1) {
        const int yes = (m.windowWidth - px(176)) / 2;
        m.first = button(yes);
        m.second = button(yes + px(108));
        m.secondVisible = true;
        m.caption = "Please select";
    } else {
        m.first = button((m.windowWidth - buttonWidth) / 2);
        m.second = m.first;
        m.secondVisible = false;
        m.caption = "Message";
    }
    return m;
}

}  // namespace quorv::skin
