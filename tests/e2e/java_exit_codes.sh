# How the launcher ends is how the Java program ended.
new_case
use_runtime
: > app.jar
settings() { write_ini app.ini "[Java Runtime Environment]" "Main Class=$1" "JRE Path=jre" \
    "[Class Path]" "Class Path=\\app.jar" "[Application]" "$2"; }

settings test.app.Printer
drive
expect_eq "main returns" 0 "$(report exit)"

settings test.app.Exiter
TESTJVM_EXIT_CODE=7 drive
expect_eq "System.exit(7)" 7 "$(report exit)"

settings test.app.Thrower "Failure Check=no"
drive
expect_eq "main throws, no failure check" 1 "$(report exit)"

settings test.app.Lingerer
TESTJVM_LINGER_MS=1500 drive
expect_eq "a thread outlives main" 0 "$(report exit)"
[ -e linger.txt ] || fail "the launcher ended before the program's last thread"
echo "ok: the program's last thread finished before the launcher ended"

# A missing class on the runtime's own lookup route: the launcher finds that out before the
# runtime's LauncherHelper would report it on its error stream and end the program with 1.
settings test.app.Missing
drive
expect_eq "missing class" -1 "$(report exit)"
