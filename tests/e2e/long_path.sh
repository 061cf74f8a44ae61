# A launcher installed in a folder beyond MAX_PATH (about 300 characters, as deep vendor and
# user folders reach where long paths are enabled) starts like any other: its own path, its
# settings file, its runtime, its class path, its output file and its companion are all found
# and named whole.
new_case
long=$CASE_DIR
for part in "Vendor With A Rather Long Company Name Incorporated" "Product Suite With An Even Longer Name" \
            "Release 2026.12 Long Term Support Edition" "Application Components And Their Resources" \
            "Desktop Client Launcher Folder Of This Product"; do
    long=$long/$part
done
mkdir -p "$long/lib" "$long/jre/bin/client" || fail "cannot make the long folder"
mv app.exe "$long/app.exe"
cp "$BUILD_DIR/testjvm/full/jvm.dll" "$long/jre/bin/client/jvm.dll"
: > "$long/lib/app.jar"
wlong=$(winpath "$long")
[ ${#wlong} -ge 280 ] || fail "the folder is only ${#wlong} characters long"
echo "ok: launcher folder of ${#wlong} characters"
write_ini "$long/app.ini" "[Java Runtime Environment]" "Main Class=test.app.Printer" "JRE Path=jre" \
    "[Class Path]" "Class Path=\\lib\\*.jar" "[Application]" "Output File=$wlong\\logs\\out.txt"
DRIVE_PROGRAM="$wlong\\app.exe" drive
expect_eq "exit code" 0 "$(report exit)"
expect_eq "output lines in the long folder" 2 "$(tr -d '\r' < "$long/logs/out.txt" | grep -c 'to System.out')"

write_ini "$long/app.ini" "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre" \
    "[Class Path]" "Class Path=\\lib\\*.jar"
DRIVE_PROGRAM="$wlong\\app.exe" drive
expect_eq "exit code of the report" 0 "$(report exit)"
expect_eq "runtime" "$wlong\\jre\\bin\\client\\jvm.dll" "$(reported env.QV_JVM_PATH)"
expect_eq "class path" "-Djava.class.path=$wlong\\lib\\app.jar" "$(reported option.1)"

# The companion beside it, for a runtime of the other machine.
case $ARCH in x86) foreign=x64 ;; *) foreign=x86 ;; esac
cp "$BUILD_DIR/images/probe-$foreign.dll" "$long/jre/bin/client/jvm.dll"
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" "$long/companion.exe"
write_ini "$long/app.ini" "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre" \
    "[Application]" "Pair Product=companion.exe" "Pair Return Code=Yes"
CMDECHO_EXIT=6 DRIVE_PROGRAM="$wlong\\app.exe" drive -- one
expect_eq "exit code from the companion" 6 "$(report exit)"
expect_contains "companion's command line" "one" "$(cat cmdecho.txt)"
