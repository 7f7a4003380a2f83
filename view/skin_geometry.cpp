#include "view/skin_geometry.h"

namespace quorv::skin {

int HalfDown(int value) { return value >= 0 ? value / 2 : -((1 - value) / 2); }

// ---- drawn buttons

int ButtonCornerSize(int width) { return width < 30 ? 0 : 6; }

int ButtonGradientStep(int height) {
    if (height <= 0) return 0;
    return static_cast<int>(11.5 / (height * 0.1));
}

std::vector<Band> ButtonGradientBands(int top, int bottom, Colour start, Colour lightest) {
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

Point CheckBoxOrigin(int width, int height, bool rightButton) {
    return Point{rightButton ? width - 12 : 0, HalfDown(height - 12)};
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

Rect TitleBarBand(int clientWidth) { return Rect{0, 0, clientWidth, kTitleBarHeight}; }

Rect CaptionButton(int clientRight, int fromRight) {
    const int left = clientRight - fromRight;
    return Rect{left, kCaptionButtonTop, left + kCaptionButtonSize, kCaptionButtonTop + kCaptionButtonSize};
}

std::vector<Band> TitleBarBands(int top, int bottom, int theme) {
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

ProgressPicture ProgressBarPicture(const Rect& client, int minimum, int maximum, int position, int theme) {
    ProgressPicture p;
    p.background = GetThemeColour(theme, 1);
    p.bar = AdjustColour(GetThemeColour(theme, 3), -25);
    p.outline = client;
    const Rect inner{client.left + 2, client.top + 2, client.right - 2, client.bottom - 2};
    if (maximum <= minimum || inner.width() <= 0 || inner.height() <= 0) return p;
    const double share = static_cast<double>(position - minimum) / static_cast<double>(maximum - minimum);
    int right = inner.left + static_cast<int>(share * inner.width());
    if (right > inner.right - 1) right = inner.right - 1;
    if (right <= inner.left) return p;
    p.filled = true;
    p.fill = Rect{inner.left, inner.top, right, inner.bottom};
    if (right - 3 > inner.left + 2) {
        p.highlight = true;
        const int top = inner.top + inner.height() * 3 / 10;
        p.highlightBand = Rect{inner.left + 2, top, right - 3, top + 4};
        p.highlightColour = AdjustColour(p.bar, 6);
        p.lineY = top + 1;
        p.lineColour = AdjustColour(p.highlightColour, 10);
    }
    return p;
}

// ---- message dialog

MessageLayout LayoutMessage(int oneLineWidth, int wrappedHeight, int kind) {
    MessageLayout m;
    const int textWidth = MessageTextWidth(oneLineWidth < 0 ? 0 : oneLineWidth);
    const int textHeight = wrappedHeight < 0 ? 0 : wrappedHeight;
    m.windowHeight = textHeight + 120;
    m.windowWidth = textWidth + 60;
    int textLeft = 30;
    if (m.windowWidth < 220) {
        m.windowWidth = 220;
        textLeft = (220 - textWidth) / 2;
    }
    m.text = Rect{textLeft, 55, textLeft + textWidth, 55 + textHeight};
    const int top = m.windowHeight - 40;
    const auto button = [top](int left) {
        return Rect{left, top, left + kMessageButtonWidth, top + kMessageButtonHeight};
    };
    if (kind == 1) {
        const int yes = (m.windowWidth - 176) / 2;
        m.first = button(yes);
        m.second = button(yes + 108);
        m.secondVisible = true;
        m.caption = "Please select";
    } else {
        m.first = button((m.windowWidth - kMessageButtonWidth) / 2);
        m.second = m.first;
        m.secondVisible = false;
        m.caption = "Message";
    }
    return m;
}

}  // namespace quorv::skin
