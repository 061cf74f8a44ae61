# The console launcher: the Java program writes to the console's streams, every message goes to
# standard error as text instead of a box, and the exit codes are the windowed launcher's.
new_case
cp "${LAUNCHER_EXE%.exe}c.exe" appc.exe
use_runtime
: > app.jar
settings() { write_ini appc.ini "[Java Runtime Environment]" "Main Class=$1" "JRE Path=jre" "$2" \
    "[Class Path]" "Class Path=\\app.jar"; }
run_console() { wine appc.exe "$@" > out.txt 2> err.txt; RC=$?; }

settings test.app.Printer
run_console "first argument" second
expect_eq "exit code" 0 "$RC"
expect_eq "arguments" 2 "$(reported arg.count)"
expect_eq "lines on standard output" 2 "$(tr -d '\r' < out.txt | grep -c '^Printer: line [12] to System.out$')"
expect_eq "lines on standard error" 1 "$(tr -d '\r' < err.txt | grep -c '^Printer: line 1 to System.err$')"
grep -q System.err out.txt && fail "the error stream landed on standard output"

# No main class: the text of the box, on standard error, and -1.
write_ini appc.ini "[Java Runtime Environment]" "JRE Path=jre"
run_console
expect_eq "exit status without a main class" 255 "$RC"
expect_contains "standard error" 'has no "Main Class" entry' "$(tr -d '\r' < err.txt)"
[ -s out.txt ] && fail "a message landed on standard output: $(cat out.txt)"
x64_only || return 0

settings test.app.Exiter
TESTJVM_EXIT_CODE=7 run_console
expect_eq "System.exit(7)" 7 "$RC"

# The failure check asks no one: the program finishes as after OK, and ends with 1.
settings test.app.Thrower "Failure Check=yes"
run_console
expect_eq "main throws, failure check" 1 "$RC"

# No runtime: the text naming the runtime needed instead of the folder dialog.
write_ini appc.ini "[Java Runtime Environment]" "Main Class=test.app.Printer" "JRE Path=nothere" "Minimum Version=99"
run_console
expect_eq "exit status without a runtime" 255 "$RC"
expect_contains "standard error" "No suitable Java runtime was found" "$(tr -d '\r' < err.txt)"
expect_contains "standard error" "version 99.0 or newer" "$(tr -d '\r' < err.txt)"

# The runtime's own words reach the console once, on the stream the runtime wrote them to; the
# message after them gives the general reason instead of repeating them.
settings test.app.Printer "Virtual Machine Parameters=-Xbogus"
run_console
expect_eq "exit status, unknown option" 255 "$RC"
expect_eq "the runtime's words once" 1 "$(tr -d '\r' < err.txt | grep -c 'Unrecognized option: -Xbogus')"
expect_contains "standard error" "may not be recognised" "$(tr -d '\r' < err.txt)"
settings test.app.Printer "Virtual Machine Parameters=-Xmx2048g"
run_console
expect_eq "exit status, abort while creating" 255 "$RC"
expect_eq "the runtime's words on standard output" "Error occurred during initialization of VM" "$(tr -d '\r' < out.txt | head -1)"
expect_contains "standard error" "could not start the Java virtual machine" "$(tr -d '\r' < err.txt)"
grep -q "initialization of VM" err.txt && fail "the runtime's words were repeated on standard error"
