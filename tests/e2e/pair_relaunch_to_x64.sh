# The 32-bit launcher hands a 64-bit runtime to the real 64-bit companion, which (given a 32-bit
# runtime in turn) hands it on again; the command line and the final exit code travel unchanged.
new_case
mkdir -p jre64/bin/server jre32/bin/client
cp "$BUILD_DIR/images/probe-x64.dll" jre64/bin/server/jvm.dll
cp "$BUILD_DIR/images/probe-x86.dll" jre32/bin/client/jvm.dll
cp "$BUILD_DIR/../win64/launcher64.exe" companion64.exe
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" cmdecho.exe
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre64" \
    "[Application]" "Pair Product=companion64.exe" "Pair Return Code=yes"
write_ini companion64.ini "[Java Runtime Environment]" "Main Class=com.example.Main" "JRE Path=jre32" \
    "[Application]" "Pair Product=cmdecho.exe" "Pair Return Code=YES"
CMDECHO_EXIT=42 drive --raw '"a b" c'
expect_eq "exit code through both" 42 "$(report exit)"
expect_eq "command line through both" 'app.exe "a b" c' "$(cat cmdecho.txt)"
