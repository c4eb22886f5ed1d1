# Checks shared by the calculator's real-window tests (X11 and Wine);
# sourced, with PID set to the running calculator and fail defined.

# The X window of a title, once it is mapped and its geometry can be read.
find_window() {
    for i in $(seq 1 150); do
        W=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1)
        [ -n "$W" ] && xdotool getwindowgeometry "$W" >/dev/null 2>&1 && { echo "$W"; return 0; }
        sleep 0.1
    done
    return 1
}

# Types the housing example (100 万 over 20 年) and clicks 计算.
fill_housing_example() {
    xdotool mousemove --window "$1" 258 151 click 1
    sleep 0.3
    xdotool type --delay 50 100
    xdotool mousemove --window "$1" 258 178 click 1
    sleep 0.3
    xdotool type --delay 50 20
    xdotool mousemove --window "$1" 535 402 click 1
    sleep 1
}

# The results window stands at the main window's right edge less 9 px, at
# its top, 220 px wide and as high as it.
expect_docked() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    MX=$X; MY=$Y; MW=$WIDTH; MH=$HEIGHT
    for i in $(seq 1 20); do
        eval "$(xdotool getwindowgeometry --shell "$2")"
        [ "$X" -eq $((MX + MW - 9)) ] && [ "$Y" -eq "$MY" ] && break
        sleep 0.2
    done
    [ "$X" -eq $((MX + MW - 9)) ] && [ "$Y" -eq "$MY" ] && [ "$WIDTH" -eq 220 ] && [ "$HEIGHT" -eq "$MH" ] ||
        fail "results window at $X,$Y ${WIDTH}x$HEIGHT, main window at $MX,$MY ${MW}x$MH"
}

# After a second process sent message 1024 and reported how many windows it
# found (the argument), the calculator must end by itself with exit code 0.
expect_ended_by_message_1024() {
    [ "$1" = "1" ] || fail "notify found '$1' windows"
    for i in $(seq 1 100); do
        kill -0 "$PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$PID" 2>/dev/null && fail "still running after message 1024"
    wait "$PID"
    RC=$?
    [ "$RC" -eq 0 ] || fail "exit code $RC"
}
