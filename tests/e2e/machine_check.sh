# A registered runtime whose jvm.dll is built for a machine neither launcher can start (ARM64 beside
# x64 in the same registry view, as on Windows on ARM) is passed over, with a trace line naming
# the machine, so that an older runtime that loads wins; alone, it is no runtime at all.
new_case
use_runtime
: > app.jar
mkdir -p arm/bin/client
cp "$BUILD_DIR/images/probe-arm64.dll" arm/bin/client/jvm.dll
# The launcher's own registry view.
case $ARCH in x86) view=/reg:32 ;; *) view=/reg:64 ;; esac
trap 'wine reg delete "HKLM\Software\JavaSoft" /f $view >/dev/null 2>&1' EXIT
register() { wine reg add "HKLM\\Software\\JavaSoft\\JRE\\$1" /v JavaHome /d "$(winpath "$CASE_DIR/$2")" /f $view \
    >/dev/null || fail "cannot register $2"; }
register 21 arm
register 17 jre
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "[Class Path]" "Class Path=\\app.jar"
LAUNCHER_TRACE=trace.txt drive
expect_eq "exit code" 0 "$(report exit)"
expect_eq "the runtime that loads" "$(winpath "$CASE_DIR/jre")\\bin\\client\\jvm.dll" "$(reported env.QV_JVM_PATH)"
trace_has "the newer runtime passed over" \
    'runtime: HKLM\\Software\\JavaSoft\\JRE\\21 \(default view\): version 21\.0 \(from key name\), JRE, Sun, home ".*\\arm\\": passed over: its jvm\.dll is built for ARM64$'

x64_only || return 0
# Alone, the same registration leaves nothing to choose: the user is asked for a runtime folder
# (without a display the launch ends as a cancelled dialog ends it), never shown error 193.
wine reg delete 'HKLM\Software\JavaSoft\JRE\17' /f $view >/dev/null
rm -f trace.txt
LAUNCHER_TRACE=trace.txt drive
expect_eq "exit code with only the ARM64 runtime" -1 "$(report exit)"
trace_has "passed over alone" 'runtime: HKLM.*JRE\\21 .*: passed over: its jvm\.dll is built for ARM64$'
trace_has "nothing qualifies" 'runtime: none qualifies'

# "JRE Path" naming it: passed over as well, and the runtime beside the launcher wins.
wine reg delete 'HKLM\Software\JavaSoft' /f $view >/dev/null
mkdir -p jre/bin && : > jre/bin/java.dll
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=arm" \
    "[Class Path]" "Class Path=\\app.jar"
rm -f trace.txt
LAUNCHER_TRACE=trace.txt drive
expect_eq "exit code with JRE Path to ARM64" 0 "$(report exit)"
trace_has "JRE Path passed over" 'runtime: "JRE Path" ".*\\arm": passed over: its jvm\.dll is built for ARM64$'
trace_has "beside the launcher" 'runtime: beside the launcher .*: taken$'
