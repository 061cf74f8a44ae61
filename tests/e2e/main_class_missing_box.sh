# What the user sees when the settings name no main class: one error box whose text says what
# is missing and where; pressing OK ends the launcher with -1.
new_case
write_ini app.ini "[Java Runtime Environment]" "JRE Path=C:\\jre"
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

# A companion that cannot be started is named with the system's reason; the launcher ends with -1.
mkdir -p jre/bin/client
case $ARCH in x86) foreign=x64 ;; *) foreign=x86 ;; esac
cp "$BUILD_DIR/images/probe-$foreign.dll" jre/bin/client/jvm.dll
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre" \
    "[Application]" "Pair Product=missing64.exe"
drive --press 1
text=$(report "window 1 text")
expect_contains "message for a missing companion" "could not start its companion program" "$text"
expect_contains "message for a missing companion" "missing64.exe" "$text"
expect_eq "exit code for a missing companion" "-1" "$(report exit)"

x64_only || return 0
# Without a settings file the message names the file, not a missing key.
rm -f app.ini
drive --press 1
text=$(report "window 1 text")
expect_contains "message without a settings file" "its settings file could not be read" "$text"
expect_contains "message without a settings file" "app.ini" "$text"
expect_eq "exit code without a settings file" "-1" "$(report exit)"
