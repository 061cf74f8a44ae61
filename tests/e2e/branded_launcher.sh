# Copies made by the branding command start the Java program as the launcher does, and a
# replaced text is the one the user reads (see branded_test_launchers in the build).
new_case
cp "$BUILD_DIR/branded-test/app.exe" app.exe
cp "$BUILD_DIR/branded-test/appc.exe" appc.exe
use_runtime
: > app.jar
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Printer" "JRE Path=jre" \
    "[Class Path]" "Class Path=\\app.jar"
drive -- "first argument"
expect_eq "exit code" 0 "$(report exit)"
expect_eq "arguments" 1 "$(reported arg.count)"

write_ini appc.ini "[Java Runtime Environment]" "JRE Path=jre"
wine appc.exe > out.txt 2> err.txt; rc=$?
expect_eq "exit status without a main class" 255 "$rc"
expect_contains "translated text" "Translated: the settings name no main class." "$(tr -d '\r' < err.txt)"
x64_only || return 0

# The Windows build of the branding command: a copy with a new field, written over an existing
# file; a foreign input leaves its output untouched.
echo old > branded.exe
wine "$BUILD_DIR/launcher-brand.exe" app.exe branded.exe --set "ProductName=Windows Tool" > brand.txt 2>&1; rc=$?
expect_eq "branding under Windows" 0 "$rc"
[ "$(stat -c %s branded.exe)" -gt 4096 ] || fail "branded.exe was not replaced"
# "Windows Tool" as UTF-16: the version information's text
od -An -tx1 -v branded.exe | tr -d ' \n' | grep -q 570069006e0064006f0077007300200054006f006f006c00 ||
    fail "the new product name is not in the copy"
echo "ok: product name written"
echo old > foreign.exe
cp "$UIDRIVER_EXE" other.exe
wine "$BUILD_DIR/launcher-brand.exe" other.exe foreign.exe > brand.txt 2>&1; rc=$?
expect_eq "a foreign input" 1 "$rc"
expect_contains "its message" "not a launcher executable" "$(cat brand.txt)"
expect_eq "the output" old "$(cat foreign.exe)"
