# A runtime registered only in the 64-bit registry view: the 32-bit launcher cannot load it and
# starts the companion instead; the 64-bit launcher finds it in its own view and keeps it.
new_case
mkdir -p jdk/bin/server
cp "$BUILD_DIR/images/probe-x64.dll" jdk/bin/server/jvm.dll
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" companion.exe
home=$(winepath -w "$CASE_DIR/jdk")
key='HKLM\Software\JavaSoft\JDK\17.0.2'
trap 'wine reg delete "HKLM\Software\JavaSoft" /f /reg:64 >/dev/null 2>&1' EXIT
wine reg add "$key" /v JavaHome /d "$home" /f /reg:64 >/dev/null || fail "cannot register the runtime"
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" \
    "[Application]" "Pair Product=companion.exe" "Pair Return Code=Yes"
CMDECHO_EXIT=9 drive
case $ARCH in
    x86) expect_eq "exit code from the companion" 9 "$(report exit)"
         expect_eq "companion's command line" "app.exe" "$(cat cmdecho.txt)" ;;
    *)   expect_eq "exit code (runtime kept and loaded; the probe DLL has no JNI_CreateJavaVM)" -1 "$(report exit)"
         [ -e cmdecho.txt ] && fail "the 64-bit launcher handed its own kind of runtime on" ;;
esac

x64_only || return 0
# "VM Provider=any" admits IBM's runtimes but does not make this one IBM's: once main returns the
# launcher ends with 0 instead of keeping the VM asleep for ever.
wine reg delete "HKLM\Software\JavaSoft" /f /reg:64 >/dev/null 2>&1
use_runtime
: > app.jar
wine reg add 'HKLM\Software\JavaSoft\JRE\1.8' /v JavaHome /d "$(winepath -w "$CASE_DIR/jre")" /f /reg:64 >/dev/null \
    || fail "cannot register the runtime"
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "VM Provider=any" \
    "[Class Path]" "Class Path=\\app.jar"
drive
expect_eq "exit code after main returns" 0 "$(report exit)"
