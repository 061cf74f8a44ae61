# Without a display the runtime folder dialog cannot be shown: the launch ends at once, as a
# cancelled dialog ends it, instead of waiting for a user, and nothing is remembered.
x64_only || return 0
new_case
product="Headless Test"
write_ini app.ini "[Product Information]" "Product Name=$product" "Product Code=1" \
    "[Java Runtime Environment]" "Main Class=com.example.Main"
appdata=$(appdata_dir)
rm -rf "$appdata/$product"
drive
expect_eq "exit code" -1 "$(report exit)"
[ -e "$appdata/$product" ] && fail "something was written under $appdata/$product"
echo "ok: nothing written"
