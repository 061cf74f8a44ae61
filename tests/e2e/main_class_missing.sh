# No settings file beside the launcher: it cannot know what to start, says so, and ends with -1.
new_case
drive
expect_eq "exit code through the driver" "-1" "$(report exit)"
run_app
expect_eq "exit status seen by a script" 255 "$APP_RC"

# A settings file that lacks the key, with the key in another section, ends the same way.
write_ini app.ini "[Application]" "Main Class=com.example.Main" "[Java Runtime Environment]" "JRE Path=C:\\jre"
drive
expect_eq "exit code with the key misplaced" "-1" "$(report exit)"
