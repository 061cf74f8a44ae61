# No runtime anywhere: the runtime folder dialog tells the user which Java version the application
# needs, links to where one can be had and offers Browse; OK waits for a usable pick. Cancel and
# the close box end the launch with -1.
new_case
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "Minimum Version=1.8" \
    "JRE Path=C:\\no\\such\\jre"
drive --screenshot "$CASE_DIR/dialog.bmp" --press 2
expect_eq "dialog title" "Java runtime needed" "$(sed -n 's/^window 1 class=#32770 .* title=//p' driver.txt)"
text=$(control 1 203 text)
expect_contains "message" "No suitable Java runtime was found" "$text"
expect_contains "message" "needs Java, version 1.8 or newer." "$text"
expect_eq "OK before a pick" 0 "$(control 1 1 enabled)"
expect_eq "Cancel" 1 "$(control 1 2 enabled)"
expect_eq "Browse" 1 "$(control 1 202 enabled)"
expect_eq "chosen folder before a pick" "" "$(control 1 201 text)"
expect_contains "link" "https://" "$(control 1 205 text)"
style=$(control 1 205 style)
[ $((style & 0x100)) -ne 0 ] || fail "the link does not take clicks (style $style)"
expect_eq "screenshot" saved "$(report "window 1 screenshot")"
expect_eq "exit code after Cancel" -1 "$(report exit)"

x64_only || return 0
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "Minimum Version=11" \
    "Maximum Version=17" "JVM Type=server"
drive --press close
text=$(control 1 203 text)
expect_contains "message for a server VM" "with a server virtual machine was found" "$text"
# A maximum of 17 stands for every 17.x, and reads as 17.
expect_contains "message for a server VM" ": a version from 11.0 to 17." "$text"
expect_eq "exit code after the close box" -1 "$(report exit)"

# OK sent while it is disabled, as another program might, does not end the dialog.
drive --press 1 --press w1:2
expect_eq "the dialog after a disabled OK" 2 "$(report "window 2 pressed")"
expect_eq "exit code" -1 "$(report exit)"
