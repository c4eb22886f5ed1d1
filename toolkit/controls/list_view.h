// UiListView (kind 8): rows of texts under a header of columns. Each row
// holds one text per column, drawn in its column's alignment, and one row at
// a time can be selected (by a click, the arrow keys or SelectedRow). When
// the rows do not fit, a vertical scroll bar appears; the list scrolls by
// whole rows, with the wheel, by dragging the bar's thumb or clicking its
// track. Only the rows in view are drawn, so a list of ten thousand rows
// paints as fast as one of ten.
#pragma once

#include <functional>
#include <vector>

#include "toolkit/controls/text_control.h"

namespace qh {

// Style flags of a list view.
enum ListViewStyle : int {
    kListRowLines = 1,     // a thin line under every row
    kListColumnLines = 2,  // a thin line between columns
    kListStripes = 4,      // every second row lightly tinted
};

// The header and grid settings a list view is created with.
struct ListViewLook {
    int headerHeight = 24;  // 0: no header
    int rowHeight = 22;
    int style = kListStripes;
    Argb textColor = 0xDC000000u;  // black at alpha 220
    FontChoice font;
};

class UiListView : public UiControl {
public:
    void Create(HostHandle hwnd, float left, float top, float width, float height,
                const ListViewLook& look = {}, bool visible = true);

    // The style flags (ListViewStyle); setting them repaints.
    int Style(int value = 0, bool set = false);

    // Inserts a column before column index (1-based); index 0 appends.
    // Alignments 0-2 (near, centre, far) are stored as 3-5, their vertically
    // centred forms; 3-5 are kept and anything else is stored as 3. Rows get
    // an empty cell in the new column. Returns the new column's index, 0
    // when the index is out of range or the list is unbound.
    int InsertColumn(int index, const qh::Text& text, int width = 50, int align = 0, int userValue = 0);
    int ColumnCount();
    // The stored alignment of a column (3-5), 0 for no such column.
    int ColumnAlign(int column);
    // A column's width; setting it (1 or more) repaints. 0 for no such column.
    int ColumnWidth(int column, int width = 0, bool set = false);

    // Inserts a row before row index (1-based); index 0 appends. The row
    // holds one cell per column, the first one set to firstCellText. Without
    // columns nothing is inserted. A selected row further down stays
    // selected. Returns the new row's index or 0.
    int InsertRow(int index, const qh::Text& firstCellText, int userValue = 0);
    // Frees every row and the selection.
    void ClearRows();
    int RowCount();
    // A cell's text (1-based row and column); setting it repaints the row.
    // Out of range: nothing changes and the text is empty.
    qh::Text CellText(int row, int column, const qh::Text& text = qh::Text(), bool set = false);
    // The user value a row was inserted with, 0 for no such row.
    int RowValue(int row);

    // When the row is not wholly in view, scrolls it to the top of the view
    // (or as far as the list scrolls).
    void EnsureVisible(int row);
    // The selected row, 0 for none. Setting deselects and repaints the
    // previous row and selects and repaints the new one; a row out of range
    // leaves no row selected.
    int SelectedRow(int row = 0, bool set = false);
    // Called when the user selects another row (a click or a key), with the
    // row; setting SelectedRow raises nothing.
    void OnSelect(std::function<void(int row)> handler) { onSelect_ = std::move(handler); }
    // The first row in view (1-based), 0 when the list is empty.
    int TopRow();
    // Whether the rows overflow the view, so the scroll bar is shown.
    bool HasScrollBar();
    // For scripts: the cells of every row, and the selected row.
    ControlSnapshot Snapshot() const override;
    RectF AccessibleItemBounds(int row) const override;
    // A column of no width (a row's hidden key) is not read out.
    std::vector<qh::Text> AccessibleItemCells(int row) const override;
    bool PickAccessibleItem(UiWindow& window, int row) override;

    ControlTraits Traits() const override { return {.role = AccRole::kList, .nameFrom = AccNameFrom::kRowCaption}; }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;
    bool KeyDown(UiWindow& window, int vk) override;
    bool Mouse(UiWindow& window, int message, int x, int y) override;
    bool Wheel(UiWindow& window, int delta) override;

private:
    struct Column {
        qh::Text text;
        int width = 50;
        int align = 3;
        int userValue = 0;
    };
    struct Row {
        std::vector<qh::Text> cells;
        int userValue = 0;
    };

    // Layout, in window coordinates. The rows' area lies under the header
    // and left of the scroll bar.
    RectF RowsArea() const;
    int RowsInView() const;
    bool Overflows() const;
    int MaxTop() const;
    RectF TrackRect() const;
    RectF ThumbRect() const;
    // The rectangle of a row (1-based) when it is in view, else an empty one.
    RectF RowRect(int row) const;
    // The row (1-based) under a point of the rows' area, or 0.
    int RowAt(int x, int y) const;

    // These run on the window's thread.
    void Select(int row);
    // A selection by the user: Select, then OnSelect when the row changed.
    void SelectByUser(int row);
    bool ScrollTo(int top);
    void ScrollToThumb(int y);
    void RepaintRow(int row);
    void PaintRows(Graphics& g, int state, bool disabled);

    ListViewLook look_;
    UiFont font_;
    std::vector<Column> columns_;
    std::vector<Row> rows_;
    int selected_ = 0;          // 1-based, 0 for none
    std::function<void(int row)> onSelect_;
    int top_ = 0;               // 0-based index of the first row in view
    int hover_ = 0;             // the row under the mouse, 1-based
    bool barHover_ = false;     // the mouse is over the scroll bar
    bool dragging_ = false;     // the thumb is held
    float grab_ = 0;            // where in the thumb it was taken
};

}  // namespace qh
