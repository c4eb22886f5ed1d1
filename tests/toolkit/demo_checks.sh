# Checks shared by the demo tests; sourced, with PID set to the running demo.

fail() { echo "FAIL: $*"; kill "$PID" 2>/dev/null; exit 1; }

# After a second process sent message 1024 and reported how many windows it
# found (the argument), the demo must end by itself with exit code 0.
expect_ended_by_message_1024() {
    [ "$1" = "1" ] || fail "--notify found '$1' windows"
    for i in $(seq 1 100); do
        kill -0 "$PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$PID" 2>/dev/null && fail "still running after message 1024"
    wait "$PID"
    RC=$?
    [ "$RC" -eq 0 ] || fail "exit code $RC"
}
