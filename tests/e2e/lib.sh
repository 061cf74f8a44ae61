# Helpers for the end-to-end cases; sourced by run.sh inside the Wine bench, where `wine` runs
# programs of the case's architecture.
#   ARCH       x86 or x64
#   BUILD_DIR  the build folder holding the launcher and the UI driver of that architecture
#   CASE       the case name; its folder is $BUILD_DIR/e2e/$CASE

fail() { echo "FAIL: $*"; exit 1; }

expect_eq() { # expect_eq WHAT EXPECTED ACTUAL
    [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
    echo "ok: $1 = [$3]"
}

expect_contains() { # expect_contains WHAT NEEDLE HAYSTACK
    case $3 in
        *"$2"*) echo "ok: $1 contains [$2]" ;;
        *) fail "$1: [$2] not found in [$3]" ;;
    esac
}

# A fresh folder for the case holding the launcher under the name app.exe; becomes the current
# folder.
new_case() {
    CASE_DIR=$BUILD_DIR/e2e/$CASE
    rm -rf "$CASE_DIR"; mkdir -p "$CASE_DIR"
    cp "$LAUNCHER_EXE" "$CASE_DIR/app.exe"
    cd "$CASE_DIR" || fail "cannot enter $CASE_DIR"
}

# write_ini FILE LINE...: a settings file with Windows line ends.
write_ini() {
    file=$1; shift
    : > "$file"
    for line in "$@"; do printf '%s\r\n' "$line" >> "$file"; done
}

# run_app ARGS...: starts app.exe through Wine; APP_RC is Wine's exit status (the low 8 bits of
# the Windows exit code).
run_app() {
    wine app.exe "$@"; APP_RC=$?
}

# drive [DRIVER-OPTIONS...] [-- ARGS...]: runs app.exe (or $DRIVE_PROGRAM) with ARGS under the
# UI driver; its report is in driver.txt and echoed, the driver's own error output in driver.err.
drive() {
    seen=
    for a in "$@"; do
        shift
        if [ -z "$seen" ] && [ "$a" = -- ]; then set -- "$@" -- "${DRIVE_PROGRAM:-app.exe}"; seen=1; else set -- "$@" "$a"; fi
    done
    [ -n "$seen" ] || set -- "$@" -- "${DRIVE_PROGRAM:-app.exe}"
    wine "$UIDRIVER_EXE" "$@" > driver.txt 2> driver.err; DRIVER_RC=$?
    sed 's/^/  driver: /' driver.txt
}

# The value of a driver report line "KEY=VALUE" (or "window 1 KEY=VALUE").
report() { sed -n "s/^$1=//p" driver.txt | head -1 | tr -d '\r'; }

# use_runtime [VARIANT]: puts the test runtime (default "full") into jre\bin\client of the case.
use_runtime() {
    mkdir -p jre/bin/client
    cp "$BUILD_DIR/testjvm/${1:-full}/jvm.dll" jre/bin/client/jvm.dll
}

# The value of KEY in the test runtime's report (report.txt).
reported() { sed -n "s/^$1=//p" report.txt | head -1 | tr -d '\r'; }

# unloadable_runtime: puts into jre\bin\client of the case a jvm.dll of the launcher's own machine
# that fails to load (it imports a module no system has).
unloadable_runtime() {
    mkdir -p jre/bin/client
    cp "$BUILD_DIR/images/unloadable.dll" jre/bin/client/jvm.dll
}

# trace_has WHAT LINE-PATTERN: a line of trace.txt, after its time and process id, matches.
trace_has() {
    tr -d '\r' < trace.txt | grep -Eq "^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:.]+ \[[0-9]+\] $2" || { cat trace.txt; fail "trace: $1"; }
    echo "ok: trace: $1"
}
# The text of a Windows path for a grep -E pattern.
pattern() { printf '%s' "$1" | sed 's/[][\\.*^$()+?{}|]/\\&/g'; }

# The Windows form of a path of the case folder.
winpath() { winepath -w "$1" 2>/dev/null; }

# Cases that do not differ by architecture are shown once on x86, where every program start
# costs seconds in the emulated machine: `x64_only || return 0` ends a case's remaining checks there.
x64_only() {
    [ "$ARCH" = x64 ] && return 0
    echo "ok: the remaining checks do not differ by architecture and run on x64 only"
    return 1
}

# control N ID FIELD: a field (text, enabled, ...) of control ID in window N of the driver's report.
control() {
    if [ "$3" = text ]; then sed -n "s/^window $1 control id=$2 .* text=//p" driver.txt | head -1 | tr -d '\r'
    else sed -n "s/^window $1 control id=$2 .* $3=\([^ ]*\) .*/\1/p" driver.txt | head -1; fi
}

# The Unix path of the user's APPDATA folder in the bench's prefix.
appdata_dir() { winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')" 2>/dev/null; }

# The value of [Java Runtime Environment] "JRE Path" in a settings file, UTF-16 or not.
stored_jre_path() {
    case $(head -c2 "$1" | od -An -tx1 | tr -d ' ') in
        fffe) iconv -f UTF-16 -t UTF-8 "$1" ;;
        *) cat "$1" ;;
    esac | tr -d '\r' | sed -n 's/^JRE Path=//p'
}
