// The X11 host's accessibility bridge (see x11_accessible.h).
// Implements: when the bridge starts, ATK's root and toolkit name (an
// AtkUtil override), the ATK bridge library on the accessibility bus, GLib's
// main context served by the X11 host's own loop (its descriptors polled
// with the X connection's), and the tree's changes as ATK signals: focus as
// the focused state and focus-event, names and values as property and
// text-changed notifications, other states one by one, controls shown or
// hidden as children-changed of their window, windows of the application.
// The AT-SPI deprecation of focus-event and the focus tracker is known;
// readers still listen to them, so they are raised too.
#define ATK_DISABLE_DEPRECATION_WARNINGS
#include "toolkit/x11/x11_accessible.h"

#include <atk-bridge.h>
#include <errno.h>

#include <cstdlib>
#include <cstring>

#include "toolkit/x11/x11_accessible_objects.h"

namespace qh::x11 {
namespace {

constexpr const char* kToolkitName = "qinghe";
constexpr const char* kToolkitVersion = "1.0";
// children-changed with an index readers cannot know (a control that went away).
constexpr guint kUnknownIndex = G_MAXUINT;

AtkObject* UtilRoot() {
    atk::Objects* cache = atk::Cache();
    return cache != nullptr ? cache->Root() : nullptr;
}
const gchar* UtilToolkitName() { return kToolkitName; }
const gchar* UtilToolkitVersion() { return kToolkitVersion; }

// Whether a reader can be there: see Start.
bool Wanted(Display* display) {
    if (const char* forced = std::getenv("QINGHE_ACCESSIBILITY"); forced != nullptr && *forced != '\0') {
        return std::strcmp(forced, "0") != 0;
    }
    if (const char* address = std::getenv("AT_SPI_BUS_ADDRESS"); address != nullptr && *address != '\0') return true;
    const Atom bus = XInternAtom(display, "AT_SPI_BUS", True);
    if (bus == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, DefaultRootWindow(display), bus, 0, 0, False, AnyPropertyType,
                                          &type, &format, &items, &after, &data) == Success &&
                       type != None;
    if (data != nullptr) XFree(data);
    return found;
}

}  // namespace

AccessibilityBridge::AccessibilityBridge(std::function<bool(HostHandle)> shown)
    : objects_(std::make_unique<atk::Objects>(std::move(shown))) {}

std::unique_ptr<AccessibilityBridge> AccessibilityBridge::Start(Display* display,
                                                                std::function<bool(HostHandle)> shown) {
    if (display == nullptr || !Wanted(display)) return nullptr;
    // The application's name on the bus is the program's.
    if (g_get_prgname() == nullptr) g_set_prgname(program_invocation_short_name);
    auto* util = static_cast<AtkUtilClass*>(g_type_class_ref(ATK_TYPE_UTIL));
    util->get_root = UtilRoot;
    util->get_toolkit_name = UtilToolkitName;
    util->get_toolkit_version = UtilToolkitVersion;
    std::unique_ptr<AccessibilityBridge> bridge(new AccessibilityBridge(std::move(shown)));
    atk::SetCache(bridge->objects_.get());
    // Only this (the UI) thread iterates the default context: every ATK
    // call then runs beside the toolkit's own messages.
    g_main_context_acquire(nullptr);
    if (atk_bridge_adaptor_init(nullptr, nullptr) != 0) {
        atk::SetCache(nullptr);
        g_main_context_release(nullptr);
        return nullptr;
    }
    return bridge;
}

AccessibilityBridge::~AccessibilityBridge() {
    atk_bridge_adaptor_cleanup();
    atk::SetCache(nullptr);
    objects_.reset();
    g_main_context_release(nullptr);
}

void AccessibilityBridge::PrepareWait(std::vector<pollfd>& fds, int& timeout) {
    GMainContext* context = g_main_context_default();
    const bool ready = g_main_context_prepare(context, &maxPriority_) != FALSE;
    gint glibTimeout = -1;
    if (glibFds_.empty()) glibFds_.resize(1);
    glibCount_ = g_main_context_query(context, maxPriority_, &glibTimeout, glibFds_.data(),
                                      static_cast<gint>(glibFds_.size()));
    if (glibCount_ > static_cast<int>(glibFds_.size())) {
        glibFds_.resize(static_cast<std::size_t>(glibCount_));
        glibCount_ = g_main_context_query(context, maxPriority_, &glibTimeout, glibFds_.data(), glibCount_);
    }
    if (ready) glibTimeout = 0;
    for (int i = 0; i < glibCount_; ++i) {
        fds.push_back({glibFds_[static_cast<std::size_t>(i)].fd,
                       static_cast<short>(glibFds_[static_cast<std::size_t>(i)].events), 0});
    }
    if (glibTimeout >= 0 && (timeout < 0 || glibTimeout < timeout)) timeout = glibTimeout;
}

void AccessibilityBridge::Dispatch(const std::vector<pollfd>& fds, std::size_t first) {
    GMainContext* context = g_main_context_default();
    for (int i = 0; i < glibCount_ && first + static_cast<std::size_t>(i) < fds.size(); ++i) {
        glibFds_[static_cast<std::size_t>(i)].revents =
            static_cast<gushort>(fds[first + static_cast<std::size_t>(i)].revents);
    }
    if (g_main_context_check(context, maxPriority_, glibFds_.data(), glibCount_) != FALSE) {
        g_main_context_dispatch(context);
    }
}

void AccessibilityBridge::RunReady() {
    while (g_main_context_iteration(nullptr, FALSE) != FALSE) {
    }
}

void AccessibilityBridge::Changed(HostHandle window, AccEvent event, int id) {
    switch (event) {
    case AccEvent::kFocus:
        Focus(window, id);
        break;
    case AccEvent::kNameChange:
        g_object_notify(G_OBJECT(objects_->Find(window, id)), "accessible-name");
        break;
    case AccEvent::kValueChange: {
        AtkObject* obj = objects_->Find(window, id);
        if (ATK_IS_TEXT(obj)) TextChanged(obj);
        else g_object_notify(G_OBJECT(obj), "accessible-value");
        break;
    }
    case AccEvent::kStateChange:
        StatesChanged(objects_->Find(window, id));
        break;
    case AccEvent::kShow: {
        AtkObject* obj = objects_->Find(window, id);
        g_signal_emit_by_name(objects_->Find(window, 0), "children-changed::add",
                              static_cast<guint>(atk_object_get_index_in_parent(obj)), obj);
        break;
    }
    case AccEvent::kHide:
        if (AtkObject* obj = objects_->Existing(window, id)) {
            g_signal_emit_by_name(objects_->Find(window, 0), "children-changed::remove", kUnknownIndex, obj);
        }
        break;
    }
}

void AccessibilityBridge::Focus(HostHandle window, int id) {
    if (AtkObject* old = objects_->Existing(focusWindow_, focusId_); old != nullptr && (focusWindow_ != window || focusId_ != id)) {
        atk_object_notify_state_change(old, ATK_STATE_FOCUSED, FALSE);
    }
    focusWindow_ = window;
    focusId_ = id;
    AtkObject* obj = objects_->Find(window, id);
    reinterpret_cast<atk::Node*>(obj)->known |= kAccFocused;
    atk_object_notify_state_change(obj, ATK_STATE_FOCUSED, TRUE);
    g_signal_emit_by_name(obj, "focus-event", TRUE);
    atk_focus_tracker_notify(obj);
}

// Each ATK state that differs between what readers were told and now.
void AccessibilityBridge::StatesChanged(AtkObject* obj) {
    auto* n = reinterpret_cast<atk::Node*>(obj);
    const auto now = atk::Describe(*n);
    if (!now) return;
    AccessibleObject before = *now;
    // The focus is reported on its own (Focus), after the other changes.
    before.states = (n->known & ~kAccFocused) | (now->states & kAccFocused);
    const bool shown = objects_->Shown(n->window);
    AtkStateSet* oldSet = atk::StatesOf(before, shown);
    AtkStateSet* newSet = atk::StatesOf(*now, shown);
    for (int s = ATK_STATE_INVALID + 1; s < ATK_STATE_LAST_DEFINED; ++s) {
        const auto state = static_cast<AtkStateType>(s);
        const gboolean was = atk_state_set_contains_state(oldSet, state);
        const gboolean is = atk_state_set_contains_state(newSet, state);
        if (was != is) atk_object_notify_state_change(obj, state, is);
    }
    g_object_unref(oldSet);
    g_object_unref(newSet);
    n->known = now->states;
}

// An edit's new value: the old text deleted, the new one inserted.
void AccessibilityBridge::TextChanged(AtkObject* obj) {
    auto* n = reinterpret_cast<atk::Node*>(obj);
    const auto now = atk::Describe(*n);
    if (!now) return;
    gchar* utf8 = atk::Utf8Dup(atk::TextOf(*now));
    const glong length = g_utf8_strlen(utf8, -1);
    g_free(utf8);
    if (n->textLength > 0) g_signal_emit_by_name(obj, "text-changed::delete", 0, static_cast<gint>(n->textLength));
    if (length > 0) g_signal_emit_by_name(obj, "text-changed::insert", 0, static_cast<gint>(length));
    n->textLength = length;
}

void AccessibilityBridge::WindowShown(HostHandle window) {
    AtkObject* obj = objects_->Find(window, 0);
    g_signal_emit_by_name(objects_->Root(), "children-changed::add",
                          static_cast<guint>(atk_object_get_index_in_parent(obj)), obj);
}

void AccessibilityBridge::WindowGone(HostHandle window) {
    if (AtkObject* obj = objects_->Existing(window, 0)) {
        g_signal_emit_by_name(objects_->Root(), "children-changed::remove", kUnknownIndex, obj);
    }
    if (focusWindow_ == window) focusWindow_ = 0;
    objects_->Forget(window);
}

}  // namespace qh::x11
