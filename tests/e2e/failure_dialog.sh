# An exception that escapes main, with "Failure Check": the stack trace in a resizable dialog;
# OK lets the program end (as a failure, 1), Cancel and the close box end it at once (-1).
new_case
use_runtime
: > app.jar
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Thrower" "JRE Path=jre" \
    "[Class Path]" "Class Path=\\app.jar" "[Application]" "Failure Check=YES"
drive --resize 760x520 --screenshot "$CASE_DIR/failure.bmp" --press 1
expect_eq "dialog title" "Application error" "$(sed -n 's/^window 1 class=#32770 .* title=//p' driver.txt)"
trace=$(sed -n 's/^window 1 control id=208 .* text=//p' driver.txt)
expect_contains "stack trace" "java.lang.IllegalStateException: thrown by test.app.Thrower" "$trace"
expect_contains "stack trace" "at test.app.Thrower.main(Thrower.java:9)" "$trace"
style=$(sed -n 's/^window 1 control id=208 .* style=0x\([0-9a-f]*\) .*/\1/p' driver.txt)
[ $((0x$style & 0x800)) -ne 0 ] || fail "the stack trace can be edited (style 0x$style)"
echo "ok: the stack trace is read-only"

# geometry ID FIELD [resized]: a control's x, y, width or height before or after the resize.
geometry() { sed -n "s/^window 1 ${3:+resized }control id=$1 .* $2=\([0-9-]*\) .*/\1/p" driver.txt; }
grew() { [ "$(geometry "$1" "$2" resized)" -gt "$(geometry "$1" "$2")" ] || fail "control $1: $2 did not grow"; }
same() { [ "$(geometry "$1" "$2" resized)" -eq "$(geometry "$1" "$2")" ] || fail "control $1: $2 changed"; }
for id in 208 209; do grew $id width; grew $id height; done
grew 210 width; same 210 height; same 210 y
for id in 211 212; do grew $id width; grew $id y; same $id height; done
for id in 1 2; do grew $id x; grew $id y; same $id width; done
echo "ok: the controls follow the resize"
expect_eq "screenshot" saved "$(report "window 1 screenshot")"
expect_eq "OK: the program failed" 1 "$(report exit)"

x64_only || return 0
drive --press 2
expect_eq "Cancel" -1 "$(report exit)"
drive --press close
expect_eq "close box" -1 "$(report exit)"
