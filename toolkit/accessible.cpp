#include "toolkit/accessible.h"

#include <cmath>
#include <limits>

#include "toolkit/control.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {
namespace {

// A caption and the control it names stand on one row when their middles
// are at most this far apart, and the caption ends at most this far right
// of the control's left edge (labels are often a little wide).
constexpr float kRowTolerance = 8.0f;
constexpr float kCaptionOverlap = 4.0f;

const char* const kPressAction = "按下";
const char* const kSelectAction = "选择";

// The text without the colon and spaces a caption ends with.
Text WithoutTrailingColon(const Text& text) {
    static const Text kWideColon = "：";
    std::vector<std::size_t> starts;  // where each character begins
    for (std::size_t i = 0; i < text.size(); i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1) {
        starts.push_back(i);
    }
    std::size_t end = text.size();
    while (!starts.empty()) {
        const std::size_t s = starts.back();
        const Text last = text.substr(s, end - s);
        if (last != ":" && last != " " && last != kWideColon) break;
        end = s;
        starts.pop_back();
    }
    return text.substr(0, end);
}

// Leading and trailing spaces (a side menu's captions start with one).
Text Trimmed(const Text& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == Text::npos) return Text();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

const ControlRecord* RecordOfId(UiWindow& window, int id) { return window.Record(window.IndexOfId(id)); }

// The caption line level with height y that stands left of x: the nearest
// visible static text's line there, or empty.
Text CaptionLeftOf(UiWindow& window, float x, float y, const UiControl* self) {
    Text best;
    float bestGap = std::numeric_limits<float>::max();
    for (int i = 1; i <= window.ControlCount(); ++i) {
        const ControlRecord* rec = window.Record(i);
        if (rec == nullptr || rec->object == nullptr || rec->object == self || !rec->visible) continue;
        if (rec->traits.role != AccRole::kStaticText || rec->bounds.Right() > x + kCaptionOverlap) continue;
        if (y < rec->bounds.top - kRowTolerance || y > rec->bounds.Bottom() + kRowTolerance) continue;
        const float gap = x - rec->bounds.Right();
        if (gap >= bestGap) continue;
        for (const auto& [middle, line] : rec->object->ShownLines(window)) {
            if (std::fabs(middle - y) <= kRowTolerance && !Trimmed(line).empty()) {
                best = WithoutTrailingColon(Trimmed(line));
                bestGap = gap;
            }
        }
    }
    return best;
}

// A static text's lines, each after the caption standing level with it, so
// that a figure is read with its row's label ("月均还款 5,000.00").
Text StaticTextName(UiWindow& window, const ControlRecord& rec) {
    Text name;
    for (const auto& [middle, line] : rec.object->ShownLines(window)) {
        if (Trimmed(line).empty()) continue;
        const Text caption = CaptionLeftOf(window, rec.bounds.left, middle, rec.object);
        if (!name.empty()) name += "\r\n";
        name += caption.empty() ? line : caption + " " + line;
    }
    return name;
}

Text NameOf(UiWindow& window, const ControlRecord& rec, const ControlSnapshot& snap) {
    const Text& given = rec.object->AccessibleName();
    switch (rec.traits.nameFrom) {
    case AccNameFrom::kRowCaption:
        if (!given.empty()) return given;
        return CaptionLeftOf(window, rec.bounds.left, rec.bounds.top + rec.bounds.height / 2, rec.object);
    case AccNameFrom::kToolTip: {
        // A tooltip the program shows (a server's banner has its own) says
        // best what the picture is.
        const Text tip = rec.object->ToolTip();
        if (!tip.empty()) return Trimmed(tip);
        return given.empty() ? Trimmed(snap.text) : given;
    }
    case AccNameFrom::kOwnText:
        if (!given.empty()) return given;
        break;
    }
    if (rec.traits.role == AccRole::kStaticText) return StaticTextName(window, rec);
    return Trimmed(snap.text);
}

Text Joined(const std::vector<Text>& cells, std::size_t from) {
    Text out;
    for (std::size_t c = from; c < cells.size(); ++c) out += (out.empty() ? "" : " ") + cells[c];
    return out;
}

Text ValueOf(const ControlRecord& rec, const ControlSnapshot& snap) {
    switch (rec.traits.role) {
    case AccRole::kEditableText:
    case AccRole::kComboBox: return snap.text;
    case AccRole::kList: return Joined(rec.object->AccessibleItemCells(snap.selection), 0);
    default: return Text();
    }
}

const char* ActionOf(AccRole role) {
    switch (role) {
    case AccRole::kPushButton:
    case AccRole::kLink:
    case AccRole::kPageTab: return kPressAction;
    case AccRole::kRadioButton:
    case AccRole::kCheckBox:
    case AccRole::kListItem: return kSelectAction;
    default: return "";
    }
}

unsigned StatesOf(UiWindow& window, int index, const ControlRecord& rec, const ControlSnapshot& snap) {
    unsigned states = 0;
    if (window.FocusedControl() == index) states |= kAccFocused;
    if (rec.tabStop && !rec.noMouse) states |= kAccFocusable;
    if (snap.selected != 0) states |= kAccSelected;
    if (rec.traits.role == AccRole::kPageTab) states |= kAccSelectable;
    // "Checked" is an open drawer or list for the kinds that open.
    const bool opens = rec.traits.role == AccRole::kPushButton || rec.traits.role == AccRole::kComboBox;
    if (snap.checked != 0) states |= opens ? kAccExpanded : kAccChecked;
    if (rec.object->Disabled() != 0) states |= kAccUnavailable;
    if (!rec.visible) states |= kAccInvisible;
    if (rec.traits.role == AccRole::kStaticText) states |= kAccReadOnly;
    return states;
}

RectI ToScreen(UiWindow& window, const RectF& r) {
    const RectI w = TheHost().WindowRect(window.Handle());
    return RectI{w.left + static_cast<int>(std::floor(r.left)), w.top + static_cast<int>(std::floor(r.top)),
                 static_cast<int>(std::ceil(r.width)), static_cast<int>(std::ceil(r.height))};
}

AccessibleObject DescribeRecord(UiWindow& window, int index) {
    const ControlRecord& rec = *window.Record(index);
    const ControlSnapshot snap = rec.object->Snapshot();
    AccessibleObject o;
    o.id = rec.id;
    o.role = rec.traits.role;
    o.name = NameOf(window, rec, snap);
    o.value = ValueOf(rec, snap);
    o.states = StatesOf(window, index, rec, snap);
    o.screen = ToScreen(window, rec.bounds);
    o.defaultAction = ActionOf(o.role);
    o.itemCount = static_cast<int>(snap.rows.size());
    return o;
}

AccessibleObject DescribeItem(UiWindow& window, int index, int item) {
    const ControlRecord& rec = *window.Record(index);
    const ControlSnapshot snap = rec.object->Snapshot();
    const std::vector<Text> cells = rec.object->AccessibleItemCells(item);
    AccessibleObject o;
    o.id = rec.id;
    o.item = item;
    o.role = AccRole::kListItem;
    o.name = cells.empty() ? Text() : cells.front();
    o.value = Joined(cells, 1);
    o.states = kAccSelectable | kAccReadOnly;
    if (snap.selection == item) o.states |= kAccSelected;
    if (rec.object->Disabled() != 0) o.states |= kAccUnavailable;
    const RectF bounds = rec.object->AccessibleItemBounds(item);
    if (bounds.width <= 0 || !rec.visible) o.states |= kAccInvisible;
    o.screen = ToScreen(window, bounds);
    o.defaultAction = kSelectAction;
    return o;
}

bool Exposed(const ControlRecord* rec) {
    return rec != nullptr && rec->object != nullptr && rec->traits.role != AccRole::kNone;
}

// A picture that says nothing (a separator line) is decoration: readers skip it.
bool Decorative(UiWindow& window, int index) {
    const ControlRecord* rec = window.Record(index);
    return rec->traits.role == AccRole::kGraphic && rec->object->AccessibleName().empty() &&
           rec->object->ToolTip().empty();
}

}  // namespace

AccessibleObject DescribeWindow(UiWindow& window) {
    AccessibleObject o;
    o.role = AccRole::kWindow;
    o.name = window.CaptionText().empty() ? TheHost().Title(window.Handle()) : window.CaptionText();
    o.screen = TheHost().WindowRect(window.Handle());
    o.states = kAccFocusable;
    if (TheHost().IsActive(window.Handle())) o.states |= kAccFocused;
    if (!window.InputEnabled()) o.states |= kAccUnavailable;
    return o;
}

std::vector<AccessibleObject> AccessibleChildren(UiWindow& window) {
    std::vector<AccessibleObject> children;
    for (int i = 1; i <= window.ControlCount(); ++i) {
        const ControlRecord* rec = window.Record(i);
        if (Exposed(rec) && rec->visible && !Decorative(window, i)) children.push_back(DescribeRecord(window, i));
    }
    return children;
}

std::optional<AccessibleObject> DescribeControl(UiWindow& window, int id, int item) {
    const int index = window.IndexOfId(id);
    const ControlRecord* rec = window.Record(index);
    if (!Exposed(rec)) return std::nullopt;
    if (item == 0) return DescribeRecord(window, index);
    if (item < 0 || item > static_cast<int>(rec->object->Snapshot().rows.size())) return std::nullopt;
    return DescribeItem(window, index, item);
}

std::optional<AccessibleObject> AccessibleAt(UiWindow& window, int screenX, int screenY) {
    const RectI w = TheHost().WindowRect(window.Handle());
    const int x = screenX - w.left, y = screenY - w.top;
    if (x < 0 || y < 0 || x >= w.width || y >= w.height) return std::nullopt;
    const int index = window.HitTest(x, y);
    const ControlRecord* rec = window.Record(index);
    if (!Exposed(rec)) return DescribeWindow(window);
    for (int item = 1; item <= static_cast<int>(rec->object->Snapshot().rows.size()); ++item) {
        const RectF r = rec->object->AccessibleItemBounds(item);
        if (r.width > 0 && r.Contains(static_cast<float>(x), static_cast<float>(y))) {
            return DescribeItem(window, index, item);
        }
    }
    return DescribeRecord(window, index);
}

bool DoDefaultAction(UiWindow& window, int id, int item) {
    const int index = window.IndexOfId(id);
    ControlRecord* rec = window.Record(index);
    if (!Exposed(rec) || !rec->visible || rec->object->Disabled() != 0) return false;
    if (item > 0) return rec->object->PickAccessibleItem(window, item);
    if (*ActionOf(rec->traits.role) == '\0') return false;
    window.ActivateControl(index);
    return true;
}

bool FocusAccessible(UiWindow& window, int id) {
    const ControlRecord* rec = RecordOfId(window, id);
    if (rec == nullptr || rec->object == nullptr || rec->object->Disabled() != 0) return false;
    return window.FocusControl(id);
}

const char* RoleName(AccRole role) {
    constexpr const char* kNames[] = {"none",     "window", "push button", "radio button", "check box",
                                      "editable text", "combo box", "list", "list item", "link",
                                      "graphic",  "page tab", "static text"};
    return kNames[static_cast<int>(role)];
}

Text StateNames(unsigned states) {
    constexpr std::pair<AccState, const char*> kNames[] = {
        {kAccFocused, "focused"},         {kAccFocusable, "focusable"}, {kAccSelected, "selected"},
        {kAccChecked, "checked"},         {kAccUnavailable, "unavailable"}, {kAccInvisible, "invisible"},
        {kAccReadOnly, "read-only"},      {kAccSelectable, "selectable"}, {kAccExpanded, "expanded"},
    };
    Text out;
    for (const auto& [bit, name] : kNames) {
        if ((states & bit) != 0) out += (out.empty() ? "" : ",") + Text(name);
    }
    return out;
}

}  // namespace qh
