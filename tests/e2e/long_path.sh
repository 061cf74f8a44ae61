# Paths beyond MAX_PATH (here a folder of about 300 characters, as deep vendor and user folders
# reach where long paths are enabled): the runtime, a class path entry and the output file in
# that folder are all found, loaded and written under their whole names. Wine itself can neither
# start a program nor keep a current folder that deep, so the launcher lies in a short folder.
new_case
# winepath stops at 260 characters: the Windows form is built part by part.
long=$CASE_DIR wlong=$(winpath "$CASE_DIR")
for part in "Vendor With A Rather Long Company Name Incorporated" "Product Suite With An Even Longer Name" \
            "Release 2026.12 Long Term Support Edition" "Application Components And Their Resources" \
            "Desktop Client Launcher Folder Of This Product" "Current Version Of The Client"; do
    long=$long/$part wlong=$wlong\\$part
done
mkdir -p "$long/lib" "$long/jre/bin/client" || fail "cannot make the long folder"
cp "$BUILD_DIR/testjvm/full/jvm.dll" "$long/jre/bin/client/jvm.dll"
: > "$long/lib/app.jar"
[ ${#wlong} -ge 290 ] || fail "the folder is only ${#wlong} characters long"
echo "ok: a folder of ${#wlong} characters"
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Printer" "JRE Path=$wlong\\jre" \
    "[Class Path]" "Class Path=$wlong\\lib\\*.jar" "[Application]" "Output File=$wlong\\logs\\out.txt"
drive
expect_eq "exit code" 0 "$(report exit)"
expect_eq "output lines in the long folder" 2 "$(tr -d '\r' < "$long/logs/out.txt" | grep -c 'to System.out')"

write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=$wlong\\jre" \
    "[Class Path]" "Class Path=$wlong\\lib\\*.jar"
drive
expect_eq "exit code of the report" 0 "$(report exit)"
expect_eq "runtime" "$wlong\\jre\\bin\\client\\jvm.dll" "$(reported env.QV_JVM_PATH)"
expect_eq "class path" "-Djava.class.path=$wlong\\lib\\app.jar" "$(reported option.1)"
