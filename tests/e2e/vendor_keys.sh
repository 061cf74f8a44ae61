# Runtimes registered the way today's installers register them: found with "Search Vendor
# Keys=Yes" and only then, in the same registry views as the classic keys; the runtime JAVA_HOME
# names with "Use JAVA_HOME=Yes"; and the trace file that says why.

# The keys this case writes; each is removed again, whatever the outcome.
vendor_keys='HKLM\SOFTWARE\Eclipse Adoptium|HKCU\SOFTWARE\AdoptOpenJDK|HKLM\SOFTWARE\Eclipse Foundation|HKLM\SOFTWARE\Microsoft\JDK|HKCU\SOFTWARE\Azul Systems'
remove_vendor_keys() {
    old_ifs=$IFS; IFS='|'
    for key in $vendor_keys; do wine reg delete "$key" /f /reg:64 >/dev/null 2>&1; done
    IFS=$old_ifs
}
trap remove_vendor_keys EXIT


# Views: a 64-bit runtime registered only in the 64-bit view goes to the companion from the 32-bit
# launcher, and is the 64-bit launcher's own.
new_case
mkdir -p jdk/bin/server
cp "$BUILD_DIR/images/probe-x64.dll" jdk/bin/server/jvm.dll
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" companion.exe
wine reg add 'HKLM\SOFTWARE\Eclipse Adoptium\JDK\21.0.1.12\hotspot\MSI' /v Path /d "$(winpath "$CASE_DIR/jdk")" \
    /f /reg:64 >/dev/null || fail "cannot register the runtime"
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "Search Vendor Keys=Yes" \
    "[Application]" "Pair Product=companion.exe" "Pair Return Code=Yes"
LAUNCHER_TRACE=trace.txt CMDECHO_EXIT=9 drive
key=$(pattern 'HKLM\SOFTWARE\Eclipse Adoptium\JDK\21.0.1.12\hotspot\MSI')
case $ARCH in
    x86) expect_eq "exit code from the companion" 9 "$(report exit)"
         trace_has "found in the 64-bit view" "runtime: $key \(64-bit view\): version 21\.0\.1\.12 \(from key name\), JDK, Eclipse Adoptium, .*: candidate \(server VM\)"
         trace_has "relaunch and why" 'relaunch: yes: the jvm.dll is built for the companion' ;;
    *)   expect_eq "exit code (own view; the probe DLL has no JNI_CreateJavaVM)" -1 "$(report exit)"
         trace_has "found in the own view" "runtime: $key \(default view\): .*candidate \(server VM\)"
         [ -e cmdecho.txt ] && fail "the 64-bit launcher handed its own kind of runtime on" ;;
esac
remove_vendor_keys

x64_only || return 0
# Each layout, under HKLM or HKCU, found end to end with the test runtime.
new_case
use_runtime
: > app.jar
printf 'IMPLEMENTOR="Azul Systems, Inc."\nJAVA_VERSION="17.0.9"\n' > jre/release
home=$(winpath "$CASE_DIR/jre")
dir=$(winpath "$CASE_DIR")
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "Search Vendor Keys=yes" \
    "[Class Path]" "Class Path=\\app.jar"
for layout in \
    'HKLM\SOFTWARE\Eclipse Adoptium\JDK\17.0.9.9\hotspot\MSI|Path' \
    'HKCU\SOFTWARE\AdoptOpenJDK\JRE\11.0.11.9\hotspot\MSI|Path' \
    'HKLM\SOFTWARE\Eclipse Foundation\JDK\16.0.2.7\hotspot\MSI|Path' \
    'HKLM\SOFTWARE\Microsoft\JDK\21.0.1.12\hotspot\MSI|Path' \
    'HKCU\SOFTWARE\Azul Systems\Zulu\zulu-17|InstallationPath'; do
    key=${layout%|*}
    wine reg add "$key" /v "${layout#*|}" /d "$home" /f /reg:64 >/dev/null || fail "cannot register $key"
    rm -f trace.txt
    LAUNCHER_TRACE=trace.txt drive
    expect_eq "exit code, $key" 0 "$(report exit)"
    expect_eq "runtime of $key" "$home\\bin\\client\\jvm.dll" "$(reported env.QV_JVM_PATH)"
    remove_vendor_keys
done
# The trace of the last start, which found the Zulu runtime.
trace_has "settings file" "settings: main file \"$(pattern "$dir\\app.ini")\"$"
trace_has "key, value and section" 'settings: \[Java Runtime Environment\] Search Vendor Keys = "yes" from \[Java Runtime Environment\]$'
trace_has "unset key" 'settings: \[Java Runtime Environment\] Use JAVA_HOME = "" \(not set\)$'
trace_has "candidate" "runtime: HKCU\\\\SOFTWARE\\\\Azul Systems\\\\Zulu\\\\zulu-17 \(default view\): version 17\.0\.9 \(from release file\), JRE, Azul Zulu, home \"$(pattern "$home\\")\": candidate \(client VM\)"
trace_has "order" "runtime: order: 1\. 17\.0\.9 \"$(pattern "$home\\")\"$"
trace_has "choice" "runtime: chosen \"$(pattern "$home\\bin\\client\\jvm.dll")\" from HKEY_CURRENT_USER$"
trace_has "relaunch" 'relaunch: no: no "Pair Product"$'
trace_has "class path option" 'vm: option "-Djava\.class\.path='
trace_has "class path entry" "class path: \"\\\\app\.jar\" -> \"$(pattern "$dir\\app.jar")\"$"
trace_has "main class route" 'main class: "test\.app\.Report": loaded '
trace_has "exit code" 'exit: code 0'

# Keys off: the same registration is not even looked at, and nothing qualifies.
wine reg add 'HKLM\SOFTWARE\Eclipse Adoptium\JDK\17.0.9.9\hotspot\MSI' /v Path /d "$home" /f /reg:64 >/dev/null \
    || fail "cannot register the runtime"
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "[Class Path]" "Class Path=\\app.jar"
rm -f trace.txt
LAUNCHER_TRACE=trace.txt drive
expect_eq "exit code without the key" -1 "$(report exit)"
trace_has "what was looked for" 'runtime: looking for: .*vendor keys no, JAVA_HOME no$'
trace_has "no runtime" 'runtime: none qualifies'
trace_has "exit code" 'exit: code -1'
grep -q 'Eclipse Adoptium' trace.txt && fail "a vendor key was read with the setting off"
echo "ok: no vendor key read"
remove_vendor_keys

# JAVA_HOME, with its version from the release file; and without the trace variable, no file.
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "Use JAVA_HOME=YES" \
    "Minimum Version=17" "[Class Path]" "Class Path=\\app.jar"
rm -f trace.txt
JAVA_HOME=$home drive
expect_eq "exit code with JAVA_HOME" 0 "$(report exit)"
expect_eq "runtime of JAVA_HOME" "$home\\bin\\client\\jvm.dll" "$(reported env.QV_JVM_PATH)"
[ -e trace.txt ] && fail "a trace was written without LAUNCHER_TRACE"
echo "ok: no trace without LAUNCHER_TRACE"
