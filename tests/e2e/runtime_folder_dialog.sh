# A user without a suitable runtime picks one in the runtime folder dialog through the system's
# folder browser: the home of a JDK 8, whose runtime lies in its jre folder. OK starts the program
# with it and remembers it for this user, in a file that keeps any characters; the next start
# finds it without asking.
new_case
mkdir -p "jdk 8"
(cd "jdk 8" && use_runtime)
: > app.jar
product="Dialog Test $ARCH"
write_ini app.ini "[Product Information]" "Product Name=$product" "Product Code=1" \
    "[Java Runtime Environment]" "Main Class=test.app.Report" "[Class Path]" "Class Path=\\app.jar"
appdata=$(appdata_dir)
[ -d "$appdata" ] || fail "no APPDATA folder in the prefix ($appdata)"
user_file="$appdata/$product/1/app.ini"
trap 'rm -rf "$appdata/$product"' EXIT
rm -rf "$appdata/$product"

home=$(winpath "$CASE_DIR/jdk 8")
# browse FOLDER ACTION: Browse, FOLDER selected in the system's folder browser, then ACTION on the
# dialog (Cancel after an OK that did not end it). Wine's browser misses the selection now and
# then on its first uses in a fresh prefix, so the pick is tried up to three times.
browse() {
    for attempt in 1 2 3; do
        drive --press 202 --press "select:$1" --press "w1:$2" --press w1:2
        [ "$(control 3 201 text)" = "$1" ] && return 0
        echo "  (attempt $attempt: the folder browser did not select $1)"
    done
}
browse "$home" 1
expect_contains "folder browser's instructions" "Choose the folder of a Java runtime" "$(grep '^window 2 ' driver.txt)"
expect_eq "chosen folder" "$home" "$(control 3 201 text)"
expect_eq "OK after the pick" 1 "$(control 3 1 enabled)"
expect_eq "exit code" 0 "$(report exit)"
expect_eq "runtime used" "$home\\jre\\bin\\client\\jvm.dll" "$(reported env.QV_JVM_PATH)"
[ -f "$user_file" ] || fail "no per-user settings file $user_file"
expect_eq "stored runtime folder" "$home\\jre\\" "$(stored_jre_path "$user_file")"
expect_eq "per-user file's byte order mark" fffe "$(head -c2 "$user_file" | od -An -tx1 | tr -d ' ')"

rm -f report.txt
drive
grep -q '^window' driver.txt && fail "a window opened on the next start"
expect_eq "exit code of the next start" 0 "$(report exit)"
expect_eq "runtime of the next start" "$home\\jre\\bin\\client\\jvm.dll" "$(reported env.QV_JVM_PATH)"

x64_only || return 0
# A folder without a runtime keeps OK disabled and says why; Cancel then writes nothing.
rm -rf "$appdata/$product"
mkdir -p empty
browse "$(winpath "$CASE_DIR/empty")" 2
expect_eq "OK after an empty folder" 0 "$(control 3 1 enabled)"
expect_contains "hint" "no Java runtime" "$(control 3 206 text)"
expect_eq "exit code after Cancel" -1 "$(report exit)"
[ -e "$appdata/$product" ] && fail "Cancel wrote $(ls -R "$appdata/$product")"
echo "ok: Cancel wrote nothing"
