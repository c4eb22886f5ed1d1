"""An AT-SPI client reading QingheCalc as a screen reader does: it finds the
application on the accessibility bus, compares its window's children (role
and name) with the tree uidriver prints for the start screen, moves the
focus to the 贷款金额 edit through the Component interface and waits for the
focus event. Exits 1 with a message on the first difference."""
import sys
import time

import pyatspi
from gi.repository import GLib

# ATK's role names (as AT-SPI gives them) and the toolkit's role words.
ROLE_WORDS = {
    "frame": "window", "push button": "push button", "radio button": "radio button",
    "check box": "check box", "entry": "editable text", "combo box": "combo box",
    "list": "list", "list item": "list item", "link": "link", "image": "graphic",
    "page tab": "page tab", "label": "static text",
}
PROGRAM = "QingheCalc"
EDIT = "贷款金额"
WAIT_SECONDS = 15


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def expected_tree(path):
    """(role, name) of the window and of its children, from the tree file."""
    rows = []
    for line in open(path, encoding="utf-8"):
        if not line.strip():
            continue
        role, _, rest = line.strip().partition(' "')
        rows.append((role, rest[:rest.index('"')]))
    return rows[0], rows[1:]


def one_line(text):
    """Names as uidriver prints them: line breaks written out."""
    return text.replace("\r", "\\r").replace("\n", "\\n")


def describe(acc):
    return (ROLE_WORDS.get(acc.getRoleName(), acc.getRoleName()), one_line(acc.name))


def find_application():
    deadline = time.time() + WAIT_SECONDS
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == PROGRAM and app.childCount > 0:
                return app
        time.sleep(0.2)
    fail("no application %s with a window on the accessibility bus" % PROGRAM)


def main():
    window_row, child_rows = expected_tree(sys.argv[1])
    app = find_application()
    toolkit = app.get_toolkit_name()
    if toolkit != "qinghe":
        fail("toolkit name %r" % toolkit)
    window = next((w for w in app if describe(w) == window_row), None)
    if window is None:
        fail("no %s among %s" % (window_row, [describe(w) for w in app]))
    children = [describe(c) for c in window]
    if children != child_rows:
        for i, (got, want) in enumerate(zip(children + [None] * len(child_rows), child_rows + [None] * len(children))):
            if got != want:
                fail("child %d is %s, expected %s" % (i, got, want))
    edit = next(c for c in window if describe(c) == ("editable text", EDIT))
    frame = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    box = edit.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if box.width <= 0 or not (frame.x <= box.x and box.x + box.width <= frame.x + frame.width and
                              frame.y <= box.y and box.y + box.height <= frame.y + frame.height):
        fail("edit at %s outside its window at %s" % (box, frame))

    seen = []
    loop = GLib.MainLoop()

    def on_event(event):
        if event.detail1 == 1 and describe(event.source) == ("editable text", EDIT):
            seen.append(event.type)
            loop.quit()

    pyatspi.Registry.registerEventListener(on_event, "object:state-changed:focused", "focus:")
    if not edit.queryComponent().grabFocus():
        fail("grabFocus refused for " + EDIT)
    GLib.timeout_add_seconds(WAIT_SECONDS, loop.quit)
    loop.run()
    if not seen:
        fail("no focus event for " + EDIT)
    if not edit.getState().contains(pyatspi.STATE_FOCUSED):
        fail(EDIT + " not focused after the event")
    print("PASS: %d children as in the tree file; focus event %s for %s" % (len(children), seen[0], EDIT))


main()
