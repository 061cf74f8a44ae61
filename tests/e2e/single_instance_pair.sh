# A 32-bit first instance and a 64-bit launcher started later from the same path share the block:
# the 64-bit start is answered by the 32-bit instance.
. "$E2E_DIR/single_instance_lib.sh"
settings test.app.SecondaryInt
start_first
# A running program may be renamed; the new file at its path is the 64-bit launcher.
mv app.exe app32.exe
cp "$BUILD_DIR/../win64/launcher64.exe" app.exe
second a b c
expect_eq "64-bit start answered by the 32-bit instance" "3 c" "$SECOND_RC $(secondary arg.2.text)"
end_first
expect_eq "32-bit first instance" 0 "$FIRST_RC"
