# The Java program's standard output and error go into the files the settings name: folders
# created, appended or replaced, with the time in the name, and an unusable file described on
# the original error stream while the program runs on.
new_case
use_runtime
: > app.jar
dir=$(winpath "$CASE_DIR")
settings() {
    write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Printer" "JRE Path=jre" \
        "[Class Path]" "Class Path=\\app.jar" "[Application]" "$@"
}
lines() { tr -d '\r' < "$1" | grep -c "^Printer: line"; }

settings "Output File=$dir\\logs\\deep\\out.txt" "Error File=$dir\\logs\\err.txt"
drive
expect_eq "exit code" 0 "$(report exit)"
expect_eq "output lines" 2 "$(tr -d '\r' < logs/deep/out.txt | grep -c 'to System.out')"
expect_eq "error lines" 1 "$(tr -d '\r' < logs/err.txt | grep -c 'to System.err')"
grep -q 'System.err' logs/deep/out.txt && fail "error output landed in the output file"

settings "Output File=$dir\\logs\\deep\\out.txt" "Output Append=yes"
drive
expect_eq "appended" 4 "$(lines logs/deep/out.txt)"
settings "Output File=$dir\\logs\\deep\\out.txt" "Output Append=Yes"
drive
expect_eq "replaced (only \"yes\" appends)" 2 "$(lines logs/deep/out.txt)"

settings "Output File=$dir\\both.txt" "Error File=$dir\\both.txt"
drive
expect_eq "one file for both streams" 3 "$(lines both.txt)"

settings "Output File=$dir\\stamped\\out-%yyyyMMdd-HHmmss.L%-end.txt"
drive
name=$(ls stamped)
case $name in
    out-[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]-[0-9][0-9][0-9][0-9][0-9][0-9].*-end.txt) echo "ok: stamped name $name" ;;
    *) fail "stamped name: $name" ;;
esac
ms=${name#out-*.}; ms=${ms%-end.txt}
case $ms in [0-9]|[1-9][0-9]|[1-9][0-9][0-9]) echo "ok: milliseconds $ms" ;; *) fail "milliseconds: $ms" ;; esac

mkdir -p env-logs
LOG_FOLDER="$dir\\env-logs" settings "Output File=%LOG_FOLDER%\\out.txt"
LOG_FOLDER="$dir\\env-logs" drive
expect_eq "environment expanded first" 2 "$(lines env-logs/out.txt)"

# app.jar is a file, so no folder of that name can be made.
# Started straight from Wine, so that its standard error is this script's.
settings "Output File=$dir\\app.jar\\out.txt" "Error File=$dir\\err2.txt"
run_app 2> app.err
expect_eq "exit status with an unusable output file" 0 "$APP_RC"
grep -q "FileNotFoundException" app.err || fail "the failure was not described on the error stream: $(cat app.err)"
echo "ok: the failure was described on the original error stream"
expect_eq "error still redirected" 1 "$(tr -d '\r' < err2.txt | grep -c 'to System.err')"

x64_only || return 0
# A relative name is made in the current folder, as the runtime opens it there, and "/" separates
# folders as "\" does.
slashed=$(printf '%s' "$dir" | tr '\\' '/')
settings "Output File=rel-logs\\app.log" "Error File=$slashed/slash-logs/err.log"
drive
expect_eq "relative log folder made in the current folder" 2 "$(lines rel-logs/app.log)"
expect_eq "log folder of a path written with /" 1 "$(tr -d '\r' < slash-logs/err.log | grep -c 'to System.err')"
