# A runtime of the other architecture named by "JRE Path" goes to the companion executable,
# which receives the launcher's own command line unchanged; its exit code comes back only when
# "Pair Return Code" asks for it.
new_case
case $ARCH in x86) foreign=x64 ;; *) foreign=x86 ;; esac
mkdir -p jre/bin/client
cp "$BUILD_DIR/images/probe-$foreign.dll" jre/bin/client/jvm.dll
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" companion.exe
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre" \
    "[Application]" "Pair Product=companion.exe" "Pair Return Code=Yes"
tail='"quoted arg" plain  "" back\slash\"x  '
CMDECHO_EXIT=7 drive --raw "$tail"
expect_eq "exit code passed back" 7 "$(report exit)"
expect_eq "companion's command line" "app.exe $tail" "$(cat cmdecho.txt)"

rm -f cmdecho.txt
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre\\" \
    "[Application]" "Pair Product=companion.exe"
CMDECHO_EXIT=7 drive -- one
expect_eq "exit code without Pair Return Code" 0 "$(report exit)"
for i in 1 2 3 4 5 6 7 8 9 10; do [ -s cmdecho.txt ] && break; sleep 0.5; done
expect_eq "companion's command line" "app.exe one" "$(cat cmdecho.txt)"

# A runtime of the launcher's own architecture is not handed on: the launcher loads it itself.
# The probe DLL loads but exports no JNI_CreateJavaVM, so the launcher reports a runtime that
# lacks a needed function and ends with -1.
rm -f cmdecho.txt
cp "$BUILD_DIR/images/probe-$ARCH.dll" jre/bin/client/jvm.dll
drive
[ -e cmdecho.txt ] && fail "the companion was started for a runtime of the launcher's own kind"
expect_eq "exit code with an own-architecture runtime (probe DLL without JNI_CreateJavaVM)" -1 "$(report exit)"
