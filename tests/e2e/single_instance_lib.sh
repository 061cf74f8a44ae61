# Helpers of the single-instance cases: settings, a first instance held in its main until the case
# lets it go (the file "go"), second starts.
new_case
# A failed check must not leave a first instance waiting for its "go" for ever.
trap ': > "$CASE_DIR/go"' EXIT
use_runtime
: > app.jar
# settings MAIN-CLASS [SINGLE-INSTANCE-VALUE [MORE-LINES...]]
settings() {
    main=$1; value=${2-yes}; shift; [ $# -gt 0 ] && shift
    write_ini app.ini "[Java Runtime Environment]" "Main Class=$main" "JRE Path=jre" \
        "[Class Path]" "Class Path=\\app.jar" "[Application]" "Single Instance=$value" "$@"
}
wait_for() { # wait_for FILE: until FILE has content (30 s at most)
    n=0
    while [ ! -s "$1" ]; do n=$((n + 1)); [ $n -gt 300 ] && fail "$1 never came"; sleep 0.1; done
}
wait_call() { # until the first instance's secondaryMain has written its whole report (30 s at most)
    n=0
    while ! grep -q '^end' secondary.txt 2>/dev/null; do
        n=$((n + 1)); [ $n -gt 300 ] && fail "secondaryMain never reported"; sleep 0.1
    done
}
wait_lines() { # wait_lines FILE COUNT: until FILE has COUNT lines (90 s at most)
    n=0
    while [ "$(cat "$1" 2>/dev/null | wc -l)" -lt "$2" ]; do
        n=$((n + 1)); [ $n -gt 900 ] && fail "$1 has not $2 lines"; sleep 0.1
    done
}
# start_first [VAR=VALUE...]: the first instance in the background, until its main has started.
start_first() {
    rm -f report.txt secondary.txt go
    env TESTJVM_MAIN_UNTIL_FILE=go "$@" wine app.exe first > first.out 2>&1 &
    FIRST=$!
    wait_for report.txt
}
end_first() { : > go; wait $FIRST; FIRST_RC=$?; }
second() { wine app.exe "$@"; SECOND_RC=$?; }
secondary() { sed -n "s/^$1=//p" secondary.txt | tr -d '\r' | tr '\n' ' ' | sed 's/ $//'; }
