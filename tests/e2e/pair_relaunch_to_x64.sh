# The 32-bit launcher hands a 64-bit runtime to the real 64-bit companion, which runs the Java
# program with the command line unchanged. A companion never hands the start on again: given a
# runtime it cannot load either, it says so and ends with -1, which comes back.
new_case
mkdir -p jre64/bin/client jre32/bin/client
cp "$BUILD_DIR/../win64/testjvm/full/jvm.dll" jre64/bin/client/jvm.dll
cp "$BUILD_DIR/images/probe-x86.dll" jre32/bin/client/jvm.dll
cp "$BUILD_DIR/../win64/launcher64.exe" companion64.exe
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" cmdecho.exe
: > app.jar
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre64" \
    "[Application]" "Pair Product=companion64.exe" "Pair Return Code=yes"
write_ini companion64.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre64" \
    "[Class Path]" "Class Path=\\app.jar" "[Application]" "Pair Product=cmdecho.exe" "Pair Return Code=YES"
drive --raw '"a b" c'
expect_eq "exit code through the companion" 0 "$(report exit)"
expect_eq "arguments through the companion" "2 a b c" "$(reported arg.count) $(reported arg.0.text) $(reported arg.1.text)"

write_ini companion64.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre32" \
    "[Application]" "Pair Product=cmdecho.exe" "Pair Return Code=YES"
CMDECHO_EXIT=42 drive
expect_eq "exit code of a companion that cannot load its runtime" -1 "$(report exit)"
[ -e cmdecho.txt ] && fail "the companion handed the start on again"
echo "ok: the companion started no other"
