#include "toolkit/controls/list_view.h"

#include <algorithm>
#include <cmath>

#include "toolkit/window.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

constexpr float kBarWidth = 10.0f;
constexpr float kMinThumb = 18.0f;
constexpr float kCellPadding = 6.0f;
constexpr int kWheelRows = 3;
constexpr int kEllipsis = 3;  // trimming: an ellipsis character
constexpr Argb kStripe = 0xFFF5F9F8u;
constexpr Argb kGridLine = 0xFFE6EEEBu;

// Keys the list answers besides those the window handles.
constexpr int kPageUp = 33, kPageDown = 34, kUp = 38, kDown = 40;

int StoredAlign(int align) {
    if (align >= 0 && align <= 2) return align + 3;
    if (align >= 3 && align <= 5) return align;
    return 3;
}

}  // namespace

void UiListView::Create(HostHandle hwnd, float left, float top, float width, float height,
                        const ListViewLook& look, bool visible) {
    if (IsBound()) return;
    look_ = look;
    look_.headerHeight = std::max(0, look_.headerHeight);
    if (look_.rowHeight <= 0) look_.rowHeight = ListViewLook().rowHeight;
    font_ = FontOf(look_.font);
    CreateBase(hwnd, MakeRect(left, top, width, height), kKindListView, visible, true);
    Redraw();
}

// --- Layout ---

RectF UiListView::RowsArea() const {
    const RectF b = Bounds();
    const float header = static_cast<float>(look_.headerHeight);
    return MakeRect(b.left + 1, b.top + 1 + header, std::max(0.0f, b.width - 2 - (Overflows() ? kBarWidth : 0)),
                    std::max(0.0f, b.height - 2 - header));
}

int UiListView::RowsInView() const {
    const float header = static_cast<float>(look_.headerHeight);
    const float height = std::max(0.0f, Bounds().height - 2 - header);
    return static_cast<int>(height / static_cast<float>(look_.rowHeight));
}

bool UiListView::Overflows() const { return static_cast<int>(rows_.size()) > RowsInView(); }

int UiListView::MaxTop() const { return std::max(0, static_cast<int>(rows_.size()) - RowsInView()); }

RectF UiListView::TrackRect() const {
    const RectF b = Bounds();
    const float header = static_cast<float>(look_.headerHeight);
    return MakeRect(b.Right() - 1 - kBarWidth, b.top + 1 + header, kBarWidth, std::max(0.0f, b.height - 2 - header));
}

RectF UiListView::ThumbRect() const {
    const RectF track = TrackRect();
    const float count = static_cast<float>(std::max<std::size_t>(1, rows_.size()));
    const float height = std::min(track.height, std::max(kMinThumb, track.height * RowsInView() / count));
    const int maxTop = MaxTop();
    const float offset = maxTop > 0 ? (track.height - height) * static_cast<float>(top_) / maxTop : 0.0f;
    return MakeRect(track.left, track.top + std::round(offset), track.width, std::round(height));
}

RectF UiListView::RowRect(int row) const {
    if (row <= top_ || row > top_ + RowsInView() || row > static_cast<int>(rows_.size())) return RectF{};
    const RectF area = RowsArea();
    const float h = static_cast<float>(look_.rowHeight);
    return MakeRect(area.left, area.top + static_cast<float>(row - 1 - top_) * h, area.width, h);
}

int UiListView::RowAt(int x, int y) const {
    const RectF area = RowsArea();
    if (!area.Contains(static_cast<float>(x), static_cast<float>(y))) return 0;
    const int inView = static_cast<int>((static_cast<float>(y) - area.top) / static_cast<float>(look_.rowHeight));
    const int row = top_ + inView + 1;
    return inView < RowsInView() && row <= static_cast<int>(rows_.size()) ? row : 0;
}

// --- Operations ---

int UiListView::Style(int value, bool set) {
    return OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        if (set && value != look_.style) {
            look_.style = value;
            Redraw();
        }
        return look_.style;
    });
}

int UiListView::InsertColumn(int index, const qh::Text& text, int width, int align, int userValue) {
    return OnWindowThread(0, [&] {
        const int count = static_cast<int>(columns_.size());
        if (!IsBound() || index < 0 || index > count + 1) return 0;
        const int at = index == 0 ? count + 1 : index;
        columns_.insert(columns_.begin() + (at - 1), Column{text, std::max(0, width), StoredAlign(align), userValue});
        for (Row& row : rows_) row.cells.insert(row.cells.begin() + (at - 1), qh::Text());
        Redraw();
        return at;
    });
}

int UiListView::ColumnCount() {
    return OnWindowThread(0, [&] { return IsBound() ? static_cast<int>(columns_.size()) : 0; });
}

int UiListView::ColumnAlign(int column) {
    return OnWindowThread(0, [&] {
        if (!IsBound() || column < 1 || column > static_cast<int>(columns_.size())) return 0;
        return columns_[column - 1].align;
    });
}

int UiListView::ColumnWidth(int column, int width, bool set) {
    return OnWindowThread(0, [&] {
        if (!IsBound() || column < 1 || column > static_cast<int>(columns_.size())) return 0;
        if (set && width >= 1 && columns_[column - 1].width != width) {
            columns_[column - 1].width = width;
            Redraw();
        }
        return columns_[column - 1].width;
    });
}

int UiListView::InsertRow(int index, const qh::Text& firstCellText, int userValue) {
    return OnWindowThread(0, [&] {
        const int count = static_cast<int>(rows_.size());
        if (!IsBound() || columns_.empty() || index < 0 || index > count + 1) return 0;
        const int at = index == 0 ? count + 1 : index;
        Row row;
        row.cells.resize(columns_.size());
        row.cells[0] = firstCellText;
        row.userValue = userValue;
        rows_.insert(rows_.begin() + (at - 1), std::move(row));
        // The selection follows its row.
        if (selected_ >= at) ++selected_;
        hover_ = 0;
        Redraw();
        return at;
    });
}

void UiListView::ClearRows() {
    OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        std::vector<Row>().swap(rows_);
        selected_ = 0;
        top_ = 0;
        hover_ = 0;
        dragging_ = false;
        Redraw();
        return 0;
    });
}

int UiListView::RowCount() {
    return OnWindowThread(0, [&] { return IsBound() ? static_cast<int>(rows_.size()) : 0; });
}

qh::Text UiListView::CellText(int row, int column, const qh::Text& text, bool set) {
    return OnWindowThread(qh::Text(), [&] {
        if (!IsBound() || row < 1 || row > static_cast<int>(rows_.size()) || column < 1 ||
            column > static_cast<int>(columns_.size())) {
            return qh::Text();
        }
        qh::Text& cell = rows_[row - 1].cells[column - 1];
        if (set && cell != text) {
            cell = text;
            RepaintRow(row);
        }
        return cell;
    });
}

int UiListView::RowValue(int row) {
    return OnWindowThread(0, [&] {
        if (!IsBound() || row < 1 || row > static_cast<int>(rows_.size())) return 0;
        return rows_[row - 1].userValue;
    });
}

void UiListView::EnsureVisible(int row) {
    OnWindowThread(0, [&] {
        if (!IsBound() || row < 1 || row > static_cast<int>(rows_.size())) return 0;
        if (row - 1 < top_ || row - 1 >= top_ + RowsInView()) ScrollTo(row - 1);
        return 0;
    });
}

int UiListView::SelectedRow(int row, bool set) {
    return OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        if (set) Select(row);
        return selected_;
    });
}

ControlSnapshot UiListView::Snapshot() const {
    return OnWindowThread(ControlSnapshot{}, [&] {
        ControlSnapshot s;
        s.selection = selected_;
        for (const Row& row : rows_) s.rows.push_back(row.cells);
        return s;
    });
}

RectF UiListView::AccessibleItemBounds(int row) const {
    return OnWindowThread(RectF{}, [&] { return row >= 1 ? RowRect(row) : RectF{}; });
}

std::vector<qh::Text> UiListView::AccessibleItemCells(int row) const {
    return OnWindowThread(std::vector<qh::Text>{}, [&] {
        std::vector<qh::Text> cells;
        if (row < 1 || row > static_cast<int>(rows_.size())) return cells;
        const std::vector<qh::Text>& all = rows_[static_cast<std::size_t>(row - 1)].cells;
        for (std::size_t c = 0; c < all.size() && c < columns_.size(); ++c) {
            if (columns_[c].width > 0) cells.push_back(all[c]);
        }
        return cells;
    });
}

bool UiListView::PickAccessibleItem(UiWindow&, int row) {
    if (disabled_ != 0 || row < 1 || row > static_cast<int>(rows_.size())) return false;
    SelectByUser(row);
    EnsureVisible(row);
    return true;
}

int UiListView::TopRow() {
    return OnWindowThread(0, [&] { return IsBound() && !rows_.empty() ? top_ + 1 : 0; });
}

bool UiListView::HasScrollBar() {
    return OnWindowThread(false, [&] { return IsBound() && Overflows(); });
}

// --- On the window's thread ---

void UiListView::Select(int row) {
    if (row < 0 || row > static_cast<int>(rows_.size())) row = 0;
    if (row == selected_) return;
    const int old = selected_;
    selected_ = row;
    RepaintRow(old);
    RepaintRow(row);
}

void UiListView::SelectByUser(int row) {
    const int before = selected_;
    Select(row);
    if (selected_ == before || !onSelect_) return;
    const std::function<void(int)> handler = onSelect_;  // the handler may replace itself
    handler(selected_);
}

bool UiListView::ScrollTo(int top) {
    top = std::clamp(top, 0, MaxTop());
    if (top == top_) return false;
    top_ = top;
    // The row under the mouse is known again at its next move.
    hover_ = 0;
    Redraw();
    return true;
}

void UiListView::ScrollToThumb(int y) {
    const RectF track = TrackRect(), thumb = ThumbRect();
    const float range = track.height - thumb.height;
    if (range <= 0) return;
    const float at = std::clamp((static_cast<float>(y) - grab_ - track.top) / range, 0.0f, 1.0f);
    ScrollTo(static_cast<int>(std::lround(at * static_cast<float>(MaxTop()))));
}

void UiListView::RepaintRow(int row) {
    UiWindow* w = Window();
    if (w == nullptr || drawEnabled_ == 0 || row <= 0) return;
    const RectF r = RowRect(row);
    if (r.width > 0 && r.height > 0) w->RepaintArea(r, true);
}

// --- Input ---

bool UiListView::KeyDown(UiWindow&, int vk) {
    const int count = static_cast<int>(rows_.size());
    if (count == 0) return false;
    int row = selected_;
    if (vk == kUp) row = std::max(1, row - 1);
    else if (vk == kDown) row = std::min(count, row + 1);
    else if (vk == kPageUp) row = std::max(1, row - std::max(1, RowsInView()));
    else if (vk == kPageDown) row = std::min(count, row + std::max(1, RowsInView()));
    else if (vk == vk::kHome) row = 1;
    else if (vk == vk::kEnd) row = count;
    else return false;
    SelectByUser(row);
    if (row - 1 < top_) ScrollTo(row - 1);
    else if (row - 1 >= top_ + RowsInView()) ScrollTo(row - RowsInView());
    return true;
}

bool UiListView::Mouse(UiWindow&, int message, int x, int y) {
    if (disabled_ != 0) return false;
    const bool overBar = Overflows() && TrackRect().Contains(static_cast<float>(x), static_cast<float>(y));
    if (message == msg::kLButtonDown) {
        if (overBar) {
            const RectF thumb = ThumbRect();
            if (thumb.Contains(static_cast<float>(x), static_cast<float>(y))) {
                dragging_ = true;
                grab_ = static_cast<float>(y) - thumb.top;
            } else {
                // A press on the track turns a page towards the press.
                const int page = std::max(1, RowsInView());
                ScrollTo(top_ + (static_cast<float>(y) < thumb.top ? -page : page));
            }
            return true;
        }
        if (const int row = RowAt(x, y); row != 0) SelectByUser(row);
        return true;
    }
    if (message == msg::kLButtonUp) {
        if (dragging_) {
            dragging_ = false;
            Redraw();
        }
        return true;
    }
    if (message != msg::kMouseMove) return false;
    if (dragging_) {
        ScrollToThumb(y);
        return true;
    }
    const int row = overBar ? 0 : RowAt(x, y);
    if (overBar != barHover_) {
        barHover_ = overBar;
        if (UiWindow* w = Window(); w != nullptr && drawEnabled_ != 0) w->RepaintArea(TrackRect(), true);
    }
    if (row != hover_) {
        const int old = hover_;
        hover_ = row;
        RepaintRow(old);
        RepaintRow(row);
    }
    return true;
}

bool UiListView::Wheel(UiWindow&, int delta) {
    if (!Overflows() || delta == 0) return false;
    // A notch is 120; a finer wheel still moves at least one row.
    const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : -1);
    ScrollTo(top_ - notches * kWheelRows);
    return true;
}

// --- Painting ---

void UiListView::Paint(UiWindow&, Graphics& g, int state) {
    const StylePalette& p = qh::Style();
    const bool disabled = disabled_ != 0;
    // The hover marks show only while the window paints the list as under
    // the mouse; they are kept otherwise, as the mouse may come back.
    const bool mouseOver = state == kStateHover || state == kStatePressed;
    // A list made taller shows more rows rather than space under the last one.
    top_ = std::min(top_, MaxTop());
    const RectF b = Bounds();
    PaintInputBox(g, b, state, disabled, p.boxFill, p.boxBorder);
    PaintRows(g, state, disabled);

    const RectF area = RowsArea();
    if (look_.headerHeight > 0) {
        const RectF header = MakeRect(b.left + 1, b.top + 1, b.width - 3, static_cast<float>(look_.headerHeight));
        PaintListHeader(g, header, disabled);
        float x = area.left;
        for (const Column& c : columns_) {
            const float w = std::min(static_cast<float>(c.width), header.Right() - x);
            if (w <= 0) break;
            if (w > 2 * kCellPadding) {
                DrawText(g, c.text, font_, disabled ? p.disabledText : look_.textColor,
                         MakeRect(x + kCellPadding, header.top, w - 2 * kCellPadding, header.height), c.align,
                         kEllipsis, 0, kFormatNoWrap);
            }
            x += w;
            // A short divider after each column.
            if (x < header.Right() - 1) {
                DrawLine(g, p.border, x - 0.5f, header.top + 5, x - 0.5f, header.Bottom() - 5);
            }
        }
    }
    if (Overflows()) {
        int thumbState = kStateNormal;
        if (dragging_) thumbState = kStatePressed;
        else if (barHover_ && mouseOver) thumbState = kStateHover;
        PaintScrollBar(g, TrackRect(), ThumbRect(), thumbState, disabled);
    }
}

void UiListView::PaintRows(Graphics& g, int state, bool disabled) {
    const StylePalette& p = qh::Style();
    const RectF area = RowsArea();
    const float h = static_cast<float>(look_.rowHeight);
    const int last = std::min(static_cast<int>(rows_.size()), top_ + RowsInView());
    const bool showHover = state == kStateHover || state == kStatePressed;
    for (int i = top_; i < last; ++i) {
        const int row = i + 1;
        const RectF r = MakeRect(area.left, area.top + static_cast<float>(i - top_) * h, area.width, h);
        const bool selected = row == selected_;
        if (selected || (showHover && row == hover_ && !disabled)) {
            PaintItemHighlight(g, MakeRect(r.left, r.top, r.width - 1, r.height - 1), selected, disabled);
        } else if ((look_.style & kListStripes) != 0 && i % 2 == 1) {
            FillRect(g, MakeRect(r.left, r.top, r.width, r.height), kStripe);
        }
        if ((look_.style & kListRowLines) != 0 && !selected) {
            DrawLine(g, kGridLine, r.left, r.Bottom() - 0.5f, r.Right(), r.Bottom() - 0.5f);
        }
        Argb ink = look_.textColor;
        if (disabled) ink = p.disabledText;
        else if (selected) ink = p.selectedText;
        float x = r.left;
        const std::vector<qh::Text>& cells = rows_[static_cast<std::size_t>(i)].cells;
        for (std::size_t c = 0; c < columns_.size() && x < r.Right(); ++c) {
            const float w = std::min(static_cast<float>(columns_[c].width), r.Right() - x);
            // A column too narrow for its padding shows nothing rather than text spilling out.
            if (w > 2 * kCellPadding) {
                DrawText(g, cells[c], font_, ink, MakeRect(x + kCellPadding, r.top, w - 2 * kCellPadding, h),
                         columns_[c].align, kEllipsis, 0, kFormatNoWrap);
            }
            x += w;
        }
    }
    if ((look_.style & kListColumnLines) != 0 && last > top_) {
        const float bottom = area.top + static_cast<float>(last - top_) * h;
        float x = area.left;
        for (const Column& c : columns_) {
            x += static_cast<float>(c.width);
            if (x >= area.Right() - 1) break;
            DrawLine(g, kGridLine, x - 0.5f, area.top, x - 0.5f, bottom);
        }
    }
}

}  // namespace qh
