# What the user sees when the settings name no main class: one error box whose text says what
# is missing and where; pressing OK ends the launcher with -1.
new_case
drive --screenshot "$CASE_DIR/box.bmp" --press 1
expect_eq "window class" "#32770" "$(sed -n 's/^window 1 class=\([^ ]*\).*/\1/p' driver.txt)"
text=$(report "window 1 text")
expect_contains "message" "do not name the Java class to run" "$text"
expect_contains "message" "[Java Runtime Environment]" "$text"
expect_contains "message" '"Main Class"' "$text"
grep -q '^window 1 control id=1 class=Button .*text=OK$' driver.txt || fail "the box has no OK button"
grep -q '^window 1 control id=2 ' driver.txt && fail "the box offers Cancel"
expect_eq "screenshot" saved "$(report "window 1 screenshot")"
expect_eq "exit code after OK" "-1" "$(report exit)"
expect_eq "driver steps" 0 "$DRIVER_RC"
