// The ATK objects of the X11 host's accessibility bridge: the application
// (the root the AT-SPI bridge publishes), one object per toolkit window and
// one per control or list row. An object keeps only where it points (window
// handle, control id, row); every question reads the tree again through
// toolkit/accessible.h, so a reader never sees stale data and an object whose
// window or control went away answers as defunct.
#pragma once

#include <atk/atk.h>

#include <functional>
#include <optional>

#include "toolkit/accessible.h"
#include "toolkit/host.h"

namespace qh {
class UiWindow;
}

namespace qh::x11::atk {

// One object of a window's tree: the window itself (id 0, item 0), a
// control (item 0) or a list row (item > 0).
struct Node {
    AtkObject parent;
    HostHandle window;
    int id;
    int item;
    unsigned known;    // the tree's states as last reported to readers
    gchar* name;       // the UTF-8 name handed out last (ATK returns it unowned)
    gchar* action;     // the same for the action's name
    glong textLength;  // characters of the text last reported (text-changed needs the old length)
};

// The objects the bridge handed out, kept so that a reader gets the same
// object for the same control every time.
class Objects {
public:
    // shown tells whether a top-level window is on the screen.
    explicit Objects(std::function<bool(HostHandle)> shown);
    ~Objects();
    Objects(const Objects&) = delete;
    Objects& operator=(const Objects&) = delete;

    AtkObject* Root() const { return root_; }
    // The object for a window (id 0), control or row, made on first use;
    // the reference stays with this cache.
    AtkObject* Find(HostHandle window, int id, int item = 0);
    // The object when it was handed out already, else null.
    AtkObject* Existing(HostHandle window, int id, int item = 0) const;
    // Lets go of a window's objects, after telling readers they are defunct.
    void Forget(HostHandle window);
    bool Shown(HostHandle window) const { return shown_(window); }

private:
    struct Entry;
    AtkObject* root_ = nullptr;
    std::function<bool(HostHandle)> shown_;
    Entry* entries_ = nullptr;  // a std::map behind a pointer: GLib types stay out of other headers
};

// The bridge's cache, while the bridge runs (the ATK callbacks are plain
// functions and find it here); null otherwise.
Objects* Cache();
void SetCache(Objects* objects);

// The toolkit window of a handle; null once it is gone.
UiWindow* WindowOf(HostHandle window);
// What the tree says about a node now; nullopt when it is gone.
std::optional<AccessibleObject> Describe(const Node& node);
// The ATK states of a tree object (without defunct).
AtkStateSet* StatesOf(const AccessibleObject& o, bool windowShown);
AtkRole RoleOf(AccRole role);
// The text an object's AtkText gives: an edit's value, a label's name.
Text TextOf(const AccessibleObject& o);
// Whether objects of that role carry AtkText.
bool HasText(AccRole role);
// The GTypes: a node with AtkComponent and AtkAction, the same with AtkText
// (editable and static text), and the application.
GType NodeType();
GType TextNodeType();
GType ApplicationType();
// Texts for ATK, which speaks UTF-8; qh::Text is GBK.
gchar* Utf8Dup(const Text& gbk);
// Sets text's AtkText callbacks (x11_accessible_text.cpp).
void InitTextInterface(AtkTextIface* iface);

}  // namespace qh::x11::atk
