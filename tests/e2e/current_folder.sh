# Started from a folder anyone could write to (Downloads, a share, a shortcut's "Start in"), the
# launcher runs only what lies in its own folder: the runtime and companion its settings name by
# relative paths, and the library its runtime needs. The folder it is started from, and a folder
# on Path, hold planted copies of each; every one would end the launcher with a code of its own
# (66 the runtime, 77 the library, 88 the companion).
new_case
case $ARCH in x86) foreign=x64 ;; *) foreign=x86 ;; esac
planted=$BUILD_DIR/planted
mkdir -p app/jre/bin/client app/lib cwd/jre/bin/client onpath
mv app.exe app/app.exe
cp "$BUILD_DIR/testjvm/with-dependency/jvm.dll" app/jre/bin/client/jvm.dll
cp "$BUILD_DIR/testjvm/with-dependency/testdep.dll" app/jre/bin/testdep.dll
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" app/companion.exe
: > app/lib/app.jar
cp "$planted/planted_runtime/jvm.dll" cwd/jre/bin/client/jvm.dll
cp "$planted/planted_dependency/testdep.dll" cwd/testdep.dll
cp "$planted/planted_dependency/testdep.dll" onpath/testdep.dll
cp "$planted/planted_program/companion.exe" cwd/companion.exe
appdir=$(winpath "$CASE_DIR/app")
settings() { write_ini "$CASE_DIR/app/app.ini" "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre" \
    "System Path=$(winpath "$CASE_DIR/onpath")" "[Class Path]" "Class Path=\\lib\\app.jar;" \
    "[Application]" "Pair Product=$1" "Pair Return Code=Yes"; }
cd cwd || fail "cannot enter cwd"

settings companion.exe
DRIVE_PROGRAM="$appdir\\app.exe" drive
expect_eq "exit code with the launcher's own runtime" 0 "$(report exit)"
expect_eq "runtime by full path" "$appdir\\jre\\bin\\client\\jvm.dll" "$(reported env.QV_JVM_PATH)"
expect_eq "class path without an empty last element" "-Djava.class.path=$appdir\\lib\\app.jar" "$(reported option.1)"

# A runtime for the companion goes to the launcher's own companion, not the planted one.
cp "$BUILD_DIR/images/probe-$foreign.dll" "$CASE_DIR/app/jre/bin/client/jvm.dll"
CMDECHO_EXIT=7 DRIVE_PROGRAM="$appdir\\app.exe" drive
expect_eq "exit code from the launcher's companion" 7 "$(report exit)"
[ -e cmdecho.txt ] || fail "the companion did not run"

# A companion that names the launcher itself, and a launcher that is a companion already, do not
# hand the start on (which would never end): the runtime they cannot load is passed over, nothing
# else qualifies, and the launch ends with -1 (here without a display to ask the user on).
rm -f cmdecho.txt
settings app.exe
DRIVE_PROGRAM="$appdir\\app.exe" drive
expect_eq "exit code naming itself as companion" -1 "$(report exit)"
x64_only || return 0
settings companion.exe
QV_LAUNCHER_COMPANION=1 DRIVE_PROGRAM="$appdir\\app.exe" drive
expect_eq "exit code of a companion with a foreign runtime" -1 "$(report exit)"
[ -e cmdecho.txt ] && fail "a companion started another"
echo "ok: no companion started a companion"
