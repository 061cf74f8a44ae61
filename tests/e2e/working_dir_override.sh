# "Override WorkingDir" makes relative settings relative to the launcher's folder, whatever
# folder it was started from, because the folder changes before the runtime search.
new_case
case $ARCH in x86) foreign=x64 ;; *) foreign=x86 ;; esac
mkdir -p app/jre/bin/client
mv app.exe app/app.exe
cp "$BUILD_DIR/images/probe-$foreign.dll" app/jre/bin/client/jvm.dll
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" app/companion.exe

# Started from the folder above: "jre" and "companion.exe" are looked for there, and not found.
write_ini app/app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre" \
    "[Application]" "Pair Product=companion.exe" "Pair Return Code=Yes"
DRIVE_PROGRAM='app\app.exe' drive
expect_eq "exit code without the override" -1 "$(report exit)"
[ -e app/cmdecho.txt ] || [ -e cmdecho.txt ] && fail "the runtime was found relative to the wrong folder"

write_ini app/app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre" \
    "[Application]" "Pair Product=companion.exe" "Pair Return Code=Yes" "Override WorkingDir=yes"
CMDECHO_EXIT=5 DRIVE_PROGRAM='app\app.exe' drive
expect_eq "exit code with the override" 5 "$(report exit)"
[ -e app/cmdecho.txt ] || fail "the companion did not start in the launcher's folder"
echo "ok: the companion ran in the launcher's folder"
