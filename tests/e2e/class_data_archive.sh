# "Class Data Archive": the options the VM is given, by runtime version, and the archive the
# launcher keeps under %LOCALAPPDATA% (the test runtime writes it as HotSpot does, read-only).
new_case
use_runtime
: > jre/bin/client/classes.jsa
: > app.jar
product="Archive Case $ARCH"
folder="$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")/$product/Class Data"
rm -rf "$(dirname "$folder")"
settings() { # settings KEY-LINE MAIN-CLASS [VM-PARAMETERS]
    write_ini app.ini "[Product Information]" "Product Name=$product" "[Java Runtime Environment]" \
        "Main Class=$2" "JRE Path=jre" "Virtual Machine Parameters=${3:--Xmx64m}" "$1" \
        "[Class Path]" "Class Path=\\app.jar"
}
release() { printf 'JAVA_VERSION="%s"\n' "$1" > jre/release; }
options() { n=$(reported option.count); i=0; while [ $i -lt "$n" ]; do printf '%s|' "$(reported option.$i)"; i=$((i + 1)); done; }
classpath="-Djava.class.path=$(winpath "$CASE_DIR")\\app.jar"
# The program's name for jcmd and crash logs, ahead of the user's options.
command="-Dsun.java.command=test.app.Report"

release 17.0.2
settings "" test.app.Report
drive
expect_eq "key off: the options as before" "vfprintf|$classpath|$command|-Xmx64m|abort|exit|" "$(options)"
[ ! -e "$folder" ] || fail "key off made $folder"

release 11.0.20
settings "Class Data Archive=yes" test.app.Report
drive
expect_eq "runtime 11: the options as before" "vfprintf|$classpath|$command|-Xmx64m|abort|exit|" "$(options)"
[ ! -e "$folder" ] || fail "runtime 11 made $folder"

release 17.0.2
settings "Class Data Archive=YES" test.app.Report
drive
expect_eq "exit code" 0 "$(report exit)"
expect_eq "ahead of the user's options" "-Xlog:cds*=off" "$(reported option.2)"
written=$(reported option.3)
case $written in
    "-XX:ArchiveClassesAtExit=C:\\"*"\\$product\\Class Data\\"*.tmp) echo "ok: first start writes [$written]" ;;
    *) fail "first start: [$written]" ;;
esac
expect_eq "sun.java.command, then the user's options" "-Dsun.java.command=test.app.Report|-Xmx64m|abort|exit" \
    "$(reported option.4)|$(reported option.5)|$(reported option.6)|$(reported option.7)"
archive=$(ls "$folder")
case $archive in *-*.jsa) echo "ok: published as [$archive]" ;; *) fail "archive folder holds [$archive]" ;; esac
expect_eq "the archive the runtime wrote" "testjvm archive" "$(cat "$folder/$archive")"

drive
expect_eq "second start maps it" "-XX:SharedArchiveFile=$(winpath "$folder/$archive")" "$(reported option.3)"
expect_eq "exit code" 0 "$(report exit)"

if [ "$ARCH" = x86 ]; then
    # No 32-bit runtime of 25 exists: the x86 launcher keeps the dynamic archive even beside a
    # java.exe that could assemble an ahead-of-time cache (the launcher looks only for the file).
    release 25.0.1
    : > jre/bin/java.exe
    rm -rf "$folder"
    drive
    case $(reported option.3) in
        "-XX:ArchiveClassesAtExit="*.tmp) echo "ok: runtime 25 on x86, the dynamic archive" ;;
        *) fail "runtime 25 on x86: [$(options)]" ;;
    esac
    rm -rf "$folder" jre/bin/java.exe
fi
x64_only || return 0
# Another class path replaces the archive; a program ending through System.exit publishes it
# from the exit hook, over the read-only file the runtime made.
: > more.jar
write_ini app.ini "[Product Information]" "Product Name=$product" "[Java Runtime Environment]" \
    "Main Class=test.app.Exiter" "JRE Path=jre" "Class Data Archive=yes" "[Class Path]" "Class Path=\\app.jar;\\more.jar"
TESTJVM_EXIT_CODE=3 drive
expect_eq "System.exit(3)" 3 "$(report exit)"
renewed=$(ls "$folder")
case $renewed in *-*.jsa) [ "$renewed" != "$archive" ] && echo "ok: replaced by [$renewed]" || fail "not replaced" ;; *) fail "archive folder holds [$renewed]" ;; esac
drive
expect_eq "the replacement is used" "-XX:SharedArchiveFile=$(winpath "$folder/$renewed")" "$(reported option.3)"

# Version 25 and later: the ahead-of-time cache. Without the runtime's java.exe, the dynamic archive.
release 25.0.1
settings "Class Data Archive=yes" test.app.Report
rm -rf "$folder"
drive
case $(reported option.3) in
    "-XX:ArchiveClassesAtExit="*.tmp) echo "ok: no java.exe, the dynamic archive" ;;
    *) fail "runtime 25 without java.exe: [$(options)]" ;;
esac
rm -rf "$folder"
# The runtime's java.exe is cmdecho: it writes its command line and ends once release.txt exists.
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" jre/bin/java.exe
rm -f release.txt
export CMDECHO_OUT="$(winpath "$CASE_DIR")\\assembly.txt" CMDECHO_UNTIL_FILE="$(winpath "$CASE_DIR")\\release.txt"
drive
expect_eq "exit code" 0 "$(report exit)"
expect_eq "first start records, quietly" "-Xlog:cds*=off|-Xlog:aot*=off|-XX:AOTMode=record" \
    "$(reported option.2)|$(reported option.3)|$(reported option.4)"
recording=$(reported option.5)
case $recording in
    "-XX:AOTConfiguration=C:\\"*"\\$product\\Class Data\\"*.aotconf) echo "ok: [$recording]" ;;
    *) fail "first start: [$recording]" ;;
esac
recording=${recording#-XX:AOTConfiguration=}
start=${recording%.aotconf}
name=${start%.*}
i=0; while [ ! -s assembly.txt ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
expect_eq "the assembly, started after the launcher ended" \
    "$(winpath "$CASE_DIR")\\jre\\bin\\java.exe -XX:AOTMode=create \"-XX:AOTConfiguration=$recording\" \"-XX:AOTCache=$start.aottmp\" -Xmx64m -cp $(winpath "$CASE_DIR")\\app.jar" \
    "$(cat assembly.txt)"
drive
expect_eq "while it runs: an ordinary start" "vfprintf|$classpath|$command|-Xmx64m|abort|exit|" "$(options)"
# It writes the cache and ends; the next start publishes and maps it.
printf 'testjvm cache' > "$(winepath -u "$start.aottmp")"
: > release.txt
sleep 1
drive
expect_eq "later starts map it" "-Xlog:aot*=off|-XX:AOTCache=$name.aot|-Dsun.java.command=test.app.Report" \
    "$(reported option.3)|$(reported option.4)|$(reported option.5)"
expect_eq "the folder holds the cache alone" "${name##*\\}.aot" "$(ls "$folder")"
unset CMDECHO_OUT CMDECHO_UNTIL_FILE
rm jre/bin/java.exe

# The user's own archive wins: the launcher adds nothing.
settings "Class Data Archive=yes" test.app.Report "-XX:SharedArchiveFile=C:\\mine.jsa"
drive
expect_eq "the user's archive alone" "vfprintf|$classpath|$command|-XX:SharedArchiveFile=C:\\mine.jsa|abort|exit|" "$(options)"
rm -rf "$(dirname "$folder")"
