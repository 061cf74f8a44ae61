# A launcher installed in a folder whose name the ANSI code page lacks (Cyrillic or Chinese on a
# Western machine) still starts its program: the runtime, which takes its options in that code
# page, gets the jar by the folder's short name and finds it.
new_case
for folder in "Анна" "应用"; do
    mkdir -p "$folder/jre/bin/client"
    cp app.exe "$folder/app.exe"
    cp "$BUILD_DIR/testjvm/full/jvm.dll" "$folder/jre/bin/client/jvm.dll"
    : > "$folder/app.jar"
    write_ini "$folder/app.ini" "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre" \
        "[Class Path]" "Class Path=\\app.jar"
    rm -f report.txt
    DRIVE_PROGRAM="$folder\\app.exe" drive
    expect_eq "exit code in $folder" 0 "$(report exit)"
    printf "  class path as the runtime received it: %s\n" "$(reported classpath)"
    expect_eq "class path elements the runtime cannot find, in $folder" 0 "$(reported classpath.missing)"
done
