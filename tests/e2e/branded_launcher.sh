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
