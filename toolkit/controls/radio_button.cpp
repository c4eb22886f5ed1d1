#include "toolkit/controls/radio_button.h"

#include "toolkit/messages.h"
#include "toolkit/style_painter.h"
#include "toolkit/window.h"

namespace qh {

void UiRadioButton::Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width,
                           float height, bool checked, int group, Argb textColor, const FontChoice& font,
                           bool visible) {
    group_ = group;
    CreateToggle(hwnd, text, MakeRect(left, top, width, height), checked, textColor, font, visible);
}

std::intptr_t UiRadioButton::ControlProc(UiWindow& window, int message, std::intptr_t wParam,
                                         std::intptr_t lParam) {
    // Another radio button of the group was checked: wParam names the group.
    if (message == msg::kRadioUncheck) {
        if (static_cast<int>(wParam) == group_) Checked(0, true);
        return 0;
    }
    return UiToggleControl::ControlProc(window, message, wParam, lParam);
}

void UiRadioButton::PaintMark(Graphics& g, const RectF& box, int state) {
    PaintRadioMark(g, box, state, checked_, disabled_ != 0);
}

bool UiRadioButton::Click(UiWindow& window) {
    if (disabled_ != 0 || checked_) return false;
    // Every other kind-11 control of the window hears of it; the radio
    // buttons of this group uncheck themselves, check boxes ignore it.
    const int self = window.IndexOf(this);
    for (int i = 1; i <= window.ControlCount(); ++i) {
        const ControlRecord* rec = window.Record(i);
        if (i != self && rec != nullptr && rec->kind == kKindRadioOrCheck) {
            window.SendControlMessage(i, msg::kRadioUncheck, group_, 0, true);
        }
    }
    Checked(1, true);
    return true;
}

std::vector<int> UiRadioButton::GroupMembers(UiWindow& window) const {
    std::vector<int> members;
    for (int i = 1; i <= window.ControlCount(); ++i) {
        const ControlRecord* rec = window.Record(i);
        const auto* radio = rec != nullptr ? dynamic_cast<const UiRadioButton*>(rec->object) : nullptr;
        if (radio != nullptr && radio->group_ == group_ && rec->visible && radio->disabled_ == 0) members.push_back(i);
    }
    return members;
}

bool UiRadioButton::PassedByTab(UiWindow& window) const {
    if (checked_) return false;
    for (int i : GroupMembers(window)) {
        const auto* radio = static_cast<const UiRadioButton*>(window.Record(i)->object);
        if (radio->checked_) return true;
    }
    return false;  // no button of the group is checked: each takes Tab
}

bool UiRadioButton::KeyDown(UiWindow& window, int vk) {
    int step = 0;
    if (vk == vk::kDown || vk == vk::kRight) step = 1;
    else if (vk == vk::kUp || vk == vk::kLeft) step = -1;
    if (step == 0) return false;
    const std::vector<int> members = GroupMembers(window);
    const int self = window.IndexOf(this);
    int at = 0;
    while (at < static_cast<int>(members.size()) && members[static_cast<std::size_t>(at)] != self) ++at;
    const int count = static_cast<int>(members.size());
    if (count < 2 || at == count) return false;
    const int next = members[static_cast<std::size_t>((at + step + count) % count)];
    window.FocusControl(window.Record(next)->id);
    window.ActivateControl(next);
    return true;
}

}  // namespace qh
