# No runtime anywhere: the user reads which Java version the application needs, and the launch
# ends with -1 after OK.
new_case
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "Minimum Version=1.8" \
    "JRE Path=C:\\no\\such\\jre"
drive --press 1
text=$(report "window 1 text")
expect_contains "message" "No suitable Java runtime was found" "$text"
expect_contains "message" "needs Java, version 1.8 or newer." "$text"
expect_eq "exit code" -1 "$(report exit)"

x64_only || return 0
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "Minimum Version=11" \
    "Maximum Version=17" "JVM Type=server"
drive --press 1
text=$(report "window 1 text")
expect_contains "message for a server VM" "with a server virtual machine was found" "$text"
# A maximum of 17 stands for every 17.x, and reads as 17.
expect_contains "message for a server VM" ": a version from 11.0 to 17." "$text"
expect_eq "exit code" -1 "$(report exit)"
