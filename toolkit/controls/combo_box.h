// UiComboBox (kind 15): a drop-down list. The closed box shows the selected
// item; a press opens the item list inside the same window, below the box or
// above it where there is no room below, never outside the window (a long
// list scrolls). While open the control's bounds cover the list and it lies
// on top of its neighbours. Picking an item selects it, raises OnSelect and
// closes the list; losing the focus closes it without a change. The wheel and
// the Up and Down keys choose items too.
#pragma once

#include <functional>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/controls/text_control.h"
#include "toolkit/graphics.h"

namespace qh {

// Called when the user picks an item, with its 1-based index.
using ComboSelectHandler = std::function<void(int item)>;

class UiComboBox : public UiControl {
public:
    // selection is 1-based (0 none); values pairs with items (missing ones are 0).
    void Create(HostHandle hwnd, float left, float top, float width, float height, int selection = 0,
                const std::vector<qh::Text>& items = {}, const std::vector<int>& values = {},
                Argb textColor = MakeArgb(0x000000, 230), const FontChoice& font = {}, bool visible = true);

    // The 1-based index of the chosen item, 0 for none. Setting an index out
    // of range is ignored; setting one repaints but raises no OnSelect.
    int Selection(int index = 0, bool set = false);
    // These operations run on the window's thread (posted and waited for
    // when called from another thread).
    // Appends an item; returns its index.
    int AddItem(const qh::Text& text, int value = 0);
    // Inserts an item before the 1-based index (0 or one past the end
    // appends); returns its index, or 0 when the index is out of range. The
    // selected item stays selected.
    int InsertItem(int index, const qh::Text& text, int value = 0);
    void ClearItems();
    void OnSelect(ComboSelectHandler handler) { onSelect_ = std::move(handler); }

    int ItemCount() const;
    qh::Text ItemText(int index) const;
    int ItemValue(int index) const;
    // The selected item's text (empty for none).
    qh::Text Text() const;
    bool IsOpen() const { return open_; }
    // The item the keys or the mouse point at in the open list, or 0.
    int HotItem() const { return open_ ? hot_ : 0; }
    // The closed box, also while the list is open.
    RectF BoxBounds() const { return open_ ? box_ : Bounds(); }
    // The open list's rectangle (empty while closed), and the height of a row.
    RectF ListBounds() const;
    float RowHeight() const;
    // The row of an item (1-based) in the open list, where a click picks it;
    // an empty rectangle while the list is closed or the item is scrolled
    // out of view.
    RectF ItemBounds(int item) const;
    // The most rows the list shows before it scrolls.
    static constexpr int kMaxRows = 8;

    // For scripts: the chosen item's text and index.
    ControlSnapshot Snapshot() const override;

    std::intptr_t ControlProc(UiWindow& window, int message, std::intptr_t wParam, std::intptr_t lParam) override;
    ControlTraits Traits() const override {
        ControlTraits t;
        t.blursOnBackgroundPress = true;
        t.role = AccRole::kComboBox;
        t.nameFrom = AccNameFrom::kRowCaption;
        return t;
    }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;
    bool KeyDown(UiWindow& window, int vk) override;
    bool Click(UiWindow& window) override;
    bool Mouse(UiWindow& window, int message, int x, int y) override;
    bool Wheel(UiWindow& window, int delta) override;

private:
    struct Item {
        qh::Text text;
        int value = 0;
    };
    void Open(UiWindow& window);
    void Close(bool redraw);
    void Toggle(UiWindow& window);
    // Selects an item from the list, closes it and raises OnSelect.
    void Choose(int item);
    // Moves the selection of the closed box by step; raises OnSelect on a change.
    void Step(int step);
    // Moves the hot item of the open list by step and scrolls it into view.
    void StepHot(int step);
    void ScrollTo(int first);
    void EnsureVisible(int item);
    bool Scrolls() const { return static_cast<int>(items_.size()) > rows_; }
    // The rows' area (without the scroll bar), the scroll bar's track and thumb.
    RectF RowsArea() const;
    RectF Track() const;
    RectF Thumb() const;
    // The 1-based item under a point of the open list, or 0.
    int ItemAt(float x, float y) const;
    bool HasFocus(UiWindow& window) const;
    // Repaints the neighbour that the window repainted in this control's
    // place after it moved to the top (see Open).
    void RepairNeighbour(UiWindow& window);

    std::vector<Item> items_;
    int selection_ = 0;
    Argb textColor_ = 0;
    UiFont font_;
    ComboSelectHandler onSelect_;

    bool open_ = false;
    bool up_ = false;      // the list lies above the box
    RectF box_;            // the closed bounds while open
    int rows_ = 0;         // rows the open list shows
    int first_ = 0;        // 0-based item at the top of the open list
    int hot_ = 0;
    bool draggingThumb_ = false;
    float dragOffset_ = 0;
    bool clickFromMouse_ = false;
    int repairId_ = 0;
};

}  // namespace qh
