#include "toolkit/system_menu.h"

#include <algorithm>
#include <cmath>

#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/style_painter.h"
#include "toolkit/window.h"

namespace qh {
namespace {

constexpr float kItemHeight = 24.0f;
constexpr float kSeparatorHeight = 9.0f;
constexpr float kPadding = 4.0f;       // above the first and below the last item
constexpr float kGutter = 30.0f;       // the glyphs' column
constexpr float kShortcutGap = 28.0f;  // between a text and its shortcut
constexpr float kRightMargin = 14.0f;
constexpr float kMinWidth = 150.0f;

// A system command's glyph, as the caption buttons draw them, centred in box.
void PaintGlyph(Graphics& g, int command, const RectF& box, Argb ink) {
    const float cx = std::floor(box.left + box.width / 2) + 0.5f, cy = std::floor(box.top + box.height / 2) + 0.5f;
    switch (command) {
    case msg::kScClose:
        DrawLine(g, ink, cx - 4, cy - 4, cx + 4, cy + 4, 1.5f);
        DrawLine(g, ink, cx + 4, cy - 4, cx - 4, cy + 4, 1.5f);
        break;
    case msg::kScMaximize:
        g.DrawRectangle(MakeRect(cx - 4, cy - 4, 8, 8), Pen{ink, 1.0f, false});
        DrawLine(g, ink, cx - 4, cy - 3, cx + 4, cy - 3);
        break;
    case msg::kScRestore:
        g.DrawRectangle(MakeRect(cx - 2, cy - 5, 7, 7), Pen{ink, 1.0f, false});
        g.FillRectangle(MakeRect(cx - 5, cy - 2, 8, 8), Style().boxFill | 0xFF000000u);
        g.DrawRectangle(MakeRect(cx - 5, cy - 2, 7, 7), Pen{ink, 1.0f, false});
        break;
    case msg::kScMinimize:
        DrawLine(g, ink, cx - 4, cy + 3, cx + 4, cy + 3, 1.5f);
        break;
    default:
        break;
    }
}

}  // namespace

std::vector<SystemMenuItem> SystemMenu::ItemsFor(int flags, bool maximized) {
    return {
        {msg::kScRestore, "还原", "", maximized},
        {msg::kScMinimize, "最小化", "", (flags & kFlagMinimize) != 0},
        {msg::kScMaximize, "最大化", "", (flags & kFlagMaximize) != 0 && !maximized},
        {0, "", "", false},
        {msg::kScClose, "关闭", "Alt+F4", true},
    };
}

std::vector<SystemMenuCommand> SystemMenu::CommandsOf(const std::vector<SystemMenuItem>& items) {
    std::vector<SystemMenuCommand> commands;
    for (const SystemMenuItem& item : items) {
        if (item.command != 0) commands.push_back({item.command, item.enabled});
    }
    return commands;
}

void SystemMenu::Open(std::vector<SystemMenuItem> items, float x, float y, float width, float height, Graphics& g,
                      const UiFont& font) {
    items_ = std::move(items);
    font_ = font;
    const RectF layout = MakeRect(0, 0, 1000, kItemHeight);
    float textWidth = 0, shortcutWidth = 0;
    float panelHeight = 2 * kPadding;
    for (const SystemMenuItem& item : items_) {
        panelHeight += item.command == 0 ? kSeparatorHeight : kItemHeight;
        if (item.command == 0) continue;
        textWidth = std::max(textWidth, g.MeasureString(item.text, font_, layout, TextFormat{}).width);
        if (!item.shortcut.empty()) {
            shortcutWidth = std::max(shortcutWidth, g.MeasureString(item.shortcut, font_, layout, TextFormat{}).width);
        }
    }
    const float panelWidth = std::max(
        kMinWidth, std::ceil(kGutter + textWidth + (shortcutWidth > 0 ? kShortcutGap + shortcutWidth : 0) + kRightMargin));
    // Inside the window: moved left when it would leave on the right, and
    // opened upwards from the point when there is no room below it.
    float left = std::max(0.0f, std::min(x, width - panelWidth - 4));
    float top = y + panelHeight + 4 <= height ? y : y - panelHeight;
    top = std::max(0.0f, std::min(top, height - panelHeight - 4));
    panel_ = MakeRect(std::floor(left), std::floor(top), panelWidth, panelHeight);
    bounds_ = MakeRect(panel_.left, panel_.top, panel_.width + 4, panel_.height + 4);
    rows_.clear();
    float rowTop = panel_.top + kPadding;
    for (const SystemMenuItem& item : items_) {
        const float h = item.command == 0 ? kSeparatorHeight : kItemHeight;
        rows_.push_back(MakeRect(panel_.left + 3, rowTop, panel_.width - 6, h));
        rowTop += h;
    }
    hot_ = 0;
    open_ = true;
}

void SystemMenu::Close() {
    open_ = false;
    hot_ = 0;
}

int SystemMenu::ItemAt(float x, float y) const {
    if (!Contains(x, y)) return 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (items_[i].command != 0 && rows_[i].Contains(x, y)) return static_cast<int>(i) + 1;
    }
    return 0;
}

RectF SystemMenu::ItemBounds(int item) const {
    if (item < 1 || item > static_cast<int>(rows_.size())) return RectF{};
    return rows_[item - 1];
}

bool SystemMenu::Track(float x, float y) {
    const int item = ItemAt(x, y);
    if (item == hot_) return false;
    hot_ = item;
    return true;
}

void SystemMenu::Step(int step) {
    const int n = static_cast<int>(items_.size());
    int at = hot_ == 0 ? (step > 0 ? 0 : n + 1) : hot_;
    for (int tries = 0; tries < n; ++tries) {
        at += step;
        if (at < 1) at = n;
        if (at > n) at = 1;
        if (items_[at - 1].command != 0 && items_[at - 1].enabled) {
            hot_ = at;
            return;
        }
    }
}

int SystemMenu::CommandOf(int item) const {
    if (item < 1 || item > static_cast<int>(items_.size()) || !items_[item - 1].enabled) return 0;
    return items_[item - 1].command;
}

void SystemMenu::Paint(Graphics& g) const {
    if (!open_) return;
    const StylePalette& p = Style();
    PaintMenuPanel(g, panel_);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const SystemMenuItem& item = items_[i];
        const RectF r = rows_[i];
        if (item.command == 0) {
            const float y = std::floor(r.top + r.height / 2) + 0.5f;
            DrawLine(g, p.boxBorder, r.left + kGutter - 4, y, r.Right() - 6, y);
            continue;
        }
        const bool hot = static_cast<int>(i) + 1 == hot_;
        if (hot) PaintMenuHighlight(g, r, item.enabled);
        const Argb ink = !item.enabled ? p.disabledText : hot ? p.selectedText : p.text;
        PaintGlyph(g, item.command, MakeRect(r.left, r.top, kGutter - 6, r.height), ink);
        const RectF text = MakeRect(r.left + kGutter, r.top, r.width - kGutter - kRightMargin + 4, r.height);
        DrawText(g, item.text, font_, ink, text, 3, 0, 0, kFormatNoWrap);
        if (!item.shortcut.empty()) DrawText(g, item.shortcut, font_, ink, text, 5, 0, 0, kFormatNoWrap);
    }
}

}  // namespace qh
