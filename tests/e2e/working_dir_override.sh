# "Override WorkingDir" sets the folder the programs run in to the launcher's own. The settings'
# relative paths lie in the launcher's folder either way.
new_case
case $ARCH in x86) foreign=x64 ;; *) foreign=x86 ;; esac
mkdir -p app/jre/bin/client
mv app.exe app/app.exe
cp "$BUILD_DIR/images/probe-$foreign.dll" app/jre/bin/client/jvm.dll
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" app/companion.exe

# Started from the folder above: "jre" and "companion.exe" are still the launcher's, and the
# companion runs in the folder the user started from.
write_ini app/app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre" \
    "[Application]" "Pair Product=companion.exe" "Pair Return Code=Yes"
CMDECHO_EXIT=4 DRIVE_PROGRAM='app\app.exe' drive
expect_eq "exit code without the override" 4 "$(report exit)"
[ -e cmdecho.txt ] || fail "the companion did not start in the folder the user started from"
[ -e app/cmdecho.txt ] && fail "the companion started in the launcher's folder without the override"
rm -f cmdecho.txt

write_ini app/app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre" \
    "[Application]" "Pair Product=companion.exe" "Pair Return Code=Yes" "Override WorkingDir=yes"
CMDECHO_EXIT=5 DRIVE_PROGRAM='app\app.exe' drive
expect_eq "exit code with the override" 5 "$(report exit)"
[ -e app/cmdecho.txt ] || fail "the companion did not start in the launcher's folder"
echo "ok: the companion ran in the launcher's folder"
