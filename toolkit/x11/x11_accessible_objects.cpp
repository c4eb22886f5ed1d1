// The X11 host's ATK objects (see x11_accessible_objects.h).
// Implements: the GTypes of the application, window / control / row nodes
// (AtkObject: name, role, states, parent, children; AtkComponent: extents in
// device pixels, the object at a point, grab_focus; AtkAction: the tree's
// default action, carried out from an idle callback so that a modal box it
// opens does not hold up the reader's call), and the cache that gives the
// same object for the same control.
#include "toolkit/x11/x11_accessible_objects.h"

#include <map>
#include <tuple>
#include <vector>

#include "runtime/system.h"
#include "toolkit/messages.h"
#include "toolkit/scale.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh::x11::atk {
namespace {

// Posted after a reader's action: the window reports its accessibility
// changes after each message, and this one (WM_NULL) does nothing else.
constexpr int kNullMessage = 0;

Objects* gCache = nullptr;
// AtkObject's class, whose finalize a node's chains to (not the parent of
// the object's own class: a text node's parent class is the node's).
gpointer gAtkObjectClass = nullptr;

struct NodeClass {
    AtkObjectClass parent;
};

Node* AsNode(gpointer p) { return reinterpret_cast<Node*>(p); }

// The toolkit's windows with a native window, in table order: the root's children.
std::vector<HostHandle> LiveWindows() {
    std::vector<HostHandle> out;
    for (UiWindow* w : Toolkit().windows) {
        if (w != nullptr && w->Handle() != 0) out.push_back(w->Handle());
    }
    return out;
}

void ReportLater(HostHandle window) { TheHost().PostMessage(window, kNullMessage, 0, 0); }

const gchar* NodeName(AtkObject* obj) {
    Node* n = AsNode(obj);
    const auto o = Describe(*n);
    g_free(n->name);
    n->name = Utf8Dup(o ? o->name : Text());
    return n->name;
}

gint NodeChildCount(AtkObject* obj) {
    const Node* n = AsNode(obj);
    UiWindow* w = WindowOf(n->window);
    if (w == nullptr || n->item > 0) return 0;
    if (n->id == 0) return static_cast<gint>(AccessibleChildren(*w).size());
    const auto o = DescribeControl(*w, n->id);
    return o ? o->itemCount : 0;
}

AtkObject* NodeChild(AtkObject* obj, gint i) {
    const Node* n = AsNode(obj);
    UiWindow* w = WindowOf(n->window);
    if (w == nullptr || n->item > 0 || i < 0 || gCache == nullptr) return nullptr;
    AtkObject* child = nullptr;
    if (n->id == 0) {
        const auto children = AccessibleChildren(*w);
        if (i < static_cast<gint>(children.size())) child = gCache->Find(n->window, children[i].id);
    } else if (i < NodeChildCount(obj)) {
        child = gCache->Find(n->window, n->id, i + 1);
    }
    return child != nullptr ? ATK_OBJECT(g_object_ref(child)) : nullptr;
}

gint NodeIndex(AtkObject* obj) {
    const Node* n = AsNode(obj);
    if (n->item > 0) return n->item - 1;
    if (n->id == 0) {
        const auto windows = LiveWindows();
        for (std::size_t i = 0; i < windows.size(); ++i) {
            if (windows[i] == n->window) return static_cast<gint>(i);
        }
        return -1;
    }
    UiWindow* w = WindowOf(n->window);
    if (w == nullptr) return -1;
    const auto children = AccessibleChildren(*w);
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i].id == n->id) return static_cast<gint>(i);
    }
    return -1;
}

AtkStateSet* NodeStates(AtkObject* obj) {
    const Node* n = AsNode(obj);
    const auto o = Describe(*n);
    if (!o) {
        AtkStateSet* set = atk_state_set_new();
        atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
        return set;
    }
    return StatesOf(*o, gCache != nullptr && gCache->Shown(n->window));
}

void NodeFinalize(GObject* obj) {
    Node* n = AsNode(obj);
    g_free(n->name);
    g_free(n->action);
    G_OBJECT_CLASS(gAtkObjectClass)->finalize(obj);
}

void NodeClassInit(gpointer klass, gpointer) {
    gAtkObjectClass = g_type_class_peek_parent(klass);
    G_OBJECT_CLASS(klass)->finalize = NodeFinalize;
    AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
    atk->get_name = NodeName;
    atk->get_n_children = NodeChildCount;
    atk->ref_child = NodeChild;
    atk->get_index_in_parent = NodeIndex;
    atk->ref_state_set = NodeStates;
}

// AtkComponent. The tree's rectangles are logical screen pixels; readers
// and the X server count device pixels.
void NodeExtents(AtkComponent* c, gint* x, gint* y, gint* width, gint* height, AtkCoordType coords) {
    *x = *y = *width = *height = 0;
    const Node* n = AsNode(c);
    const auto o = Describe(*n);
    if (!o) return;
    const float scale = TheHost().Scale(n->window);
    RectI r = ToDevice(o->screen, scale);
    if (coords != ATK_XY_SCREEN && n->id != 0) {
        const RectI frame = ToDevice(TheHost().WindowRect(n->window), scale);
        r.left -= frame.left;
        r.top -= frame.top;
    }
    *x = r.left;
    *y = r.top;
    *width = r.width;
    *height = r.height;
}

AtkObject* NodeAtPoint(AtkComponent* c, gint x, gint y, AtkCoordType coords) {
    const Node* n = AsNode(c);
    UiWindow* w = WindowOf(n->window);
    if (w == nullptr || n->id != 0 || gCache == nullptr) return nullptr;
    const float scale = TheHost().Scale(n->window);
    const RectI frame = TheHost().WindowRect(n->window);
    int lx = ToLogical(x, scale), ly = ToLogical(y, scale);
    if (coords != ATK_XY_SCREEN) {
        lx += frame.left;
        ly += frame.top;
    }
    const auto o = AccessibleAt(*w, lx, ly);
    if (!o || o->id == 0) return nullptr;
    return ATK_OBJECT(g_object_ref(gCache->Find(n->window, o->id, o->item)));
}

gboolean NodeGrabFocus(AtkComponent* c) {
    const Node* n = AsNode(c);
    UiWindow* w = WindowOf(n->window);
    if (w == nullptr || n->item > 0) return FALSE;
    if (n->id == 0) {
        TheHost().BringToFront(n->window);
        return TRUE;
    }
    const bool moved = FocusAccessible(*w, n->id);
    if (moved) ReportLater(n->window);
    return moved ? TRUE : FALSE;
}

void InitComponent(gpointer iface, gpointer) {
    auto* c = static_cast<AtkComponentIface*>(iface);
    c->get_extents = NodeExtents;
    c->ref_accessible_at_point = NodeAtPoint;
    c->grab_focus = NodeGrabFocus;
}

// AtkAction: one action, the tree's default one.
gint ActionCount(AtkAction* a) {
    const auto o = Describe(*AsNode(a));
    return o && !o->defaultAction.empty() ? 1 : 0;
}

const gchar* ActionName(AtkAction* a, gint i) {
    Node* n = AsNode(a);
    const auto o = Describe(*n);
    if (!o || i != 0 || o->defaultAction.empty()) return nullptr;
    // The name handed out lives until the next question, like the node's name.
    g_free(n->action);
    n->action = Utf8Dup(o->defaultAction);
    return n->action;
}

struct PendingAction {
    HostHandle window;
    int id, item;
};

gboolean RunPendingAction(gpointer data) {
    const auto* p = static_cast<PendingAction*>(data);
    if (UiWindow* w = WindowOf(p->window); w != nullptr && DoDefaultAction(*w, p->id, p->item)) ReportLater(p->window);
    delete p;
    return G_SOURCE_REMOVE;
}

gboolean ActionDo(AtkAction* a, gint i) {
    const Node* n = AsNode(a);
    const auto o = Describe(*n);
    if (!o || i != 0 || o->defaultAction.empty() || (o->states & kAccUnavailable) != 0) return FALSE;
    g_idle_add(RunPendingAction, new PendingAction{n->window, n->id, n->item});
    return TRUE;
}

void InitAction(gpointer iface, gpointer) {
    auto* a = static_cast<AtkActionIface*>(iface);
    a->get_n_actions = ActionCount;
    a->get_name = ActionName;
    a->get_localized_name = ActionName;
    a->do_action = ActionDo;
}

void InitText(gpointer iface, gpointer) { InitTextInterface(static_cast<AtkTextIface*>(iface)); }

// The application: the root, named after the program, the windows its children.
const gchar* AppName(AtkObject*) { return g_get_prgname(); }
gint AppChildCount(AtkObject*) { return static_cast<gint>(LiveWindows().size()); }

AtkObject* AppChild(AtkObject*, gint i) {
    const auto windows = LiveWindows();
    if (i < 0 || i >= static_cast<gint>(windows.size()) || gCache == nullptr) return nullptr;
    return ATK_OBJECT(g_object_ref(gCache->Find(windows[static_cast<std::size_t>(i)], 0)));
}

void AppClassInit(gpointer klass, gpointer) {
    AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
    atk->get_name = AppName;
    atk->get_n_children = AppChildCount;
    atk->ref_child = AppChild;
}

GType Register(GType parent, const char* name, GClassInitFunc classInit, gsize instanceSize) {
    GTypeInfo info{};
    info.class_size = sizeof(NodeClass);
    info.class_init = classInit;
    info.instance_size = static_cast<guint16>(instanceSize);
    return g_type_register_static(parent, name, &info, GTypeFlags(0));
}

}  // namespace

GType NodeType() {
    static const GType type = [] {
        const GType t = Register(ATK_TYPE_OBJECT, "QhAtkNode", NodeClassInit, sizeof(Node));
        const GInterfaceInfo component{InitComponent, nullptr, nullptr};
        const GInterfaceInfo action{InitAction, nullptr, nullptr};
        g_type_add_interface_static(t, ATK_TYPE_COMPONENT, &component);
        g_type_add_interface_static(t, ATK_TYPE_ACTION, &action);
        return t;
    }();
    return type;
}

GType TextNodeType() {
    static const GType type = [] {
        const GType t = Register(NodeType(), "QhAtkTextNode", nullptr, sizeof(Node));
        const GInterfaceInfo text{InitText, nullptr, nullptr};
        g_type_add_interface_static(t, ATK_TYPE_TEXT, &text);
        return t;
    }();
    return type;
}

GType ApplicationType() {
    static const GType type = Register(ATK_TYPE_OBJECT, "QhAtkApplication", AppClassInit, sizeof(AtkObject));
    return type;
}

Objects* Cache() { return gCache; }
void SetCache(Objects* objects) { gCache = objects; }

UiWindow* WindowOf(HostHandle window) {
    if (window == 0) return nullptr;
    for (UiWindow* w : Toolkit().windows) {
        if (w != nullptr && w->Handle() == window) return w;
    }
    return nullptr;
}

std::optional<AccessibleObject> Describe(const Node& node) {
    UiWindow* w = WindowOf(node.window);
    if (w == nullptr) return std::nullopt;
    if (node.id == 0) return DescribeWindow(*w);
    return DescribeControl(*w, node.id, node.item);
}

gchar* Utf8Dup(const Text& gbk) { return g_strdup(System().GbkToUtf8(gbk).c_str()); }

struct Objects::Entry {
    std::map<std::tuple<HostHandle, int, int>, AtkObject*> nodes;
};

Objects::Objects(std::function<bool(HostHandle)> shown) : shown_(std::move(shown)), entries_(new Entry) {
    root_ = ATK_OBJECT(g_object_new(ApplicationType(), nullptr));
    root_->role = ATK_ROLE_APPLICATION;
}

Objects::~Objects() {
    for (auto& [key, obj] : entries_->nodes) g_object_unref(obj);
    delete entries_;
    g_object_unref(root_);
}

AtkObject* Objects::Existing(HostHandle window, int id, int item) const {
    const auto it = entries_->nodes.find({window, id, item});
    return it == entries_->nodes.end() ? nullptr : it->second;
}

AtkObject* Objects::Find(HostHandle window, int id, int item) {
    if (AtkObject* obj = Existing(window, id, item)) return obj;
    // The parent first: it is set on the new object, and made on the way.
    AtkObject* parent = id == 0 ? root_ : Find(window, item > 0 ? id : 0, 0);
    const auto o = Describe(Node{{}, window, id, item, 0, nullptr, nullptr, 0});
    const AccRole role = id == 0 ? AccRole::kWindow : o ? o->role : AccRole::kNone;
    AtkObject* obj = ATK_OBJECT(g_object_new(HasText(role) ? TextNodeType() : NodeType(), nullptr));
    Node* n = AsNode(obj);
    n->window = window;
    n->id = id;
    n->item = item;
    n->known = o ? o->states : 0;
    n->textLength = o ? g_utf8_strlen(System().GbkToUtf8(TextOf(*o)).c_str(), -1) : 0;
    obj->role = RoleOf(role);
    atk_object_set_parent(obj, parent);
    entries_->nodes[{window, id, item}] = obj;
    return obj;
}

void Objects::Forget(HostHandle window) {
    auto& nodes = entries_->nodes;
    for (auto it = nodes.begin(); it != nodes.end();) {
        if (std::get<0>(it->first) != window) {
            ++it;
            continue;
        }
        atk_object_notify_state_change(it->second, ATK_STATE_DEFUNCT, TRUE);
        g_object_unref(it->second);
        it = nodes.erase(it);
    }
}

}  // namespace qh::x11::atk
