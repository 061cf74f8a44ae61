# The runtime folder dialog's link opens its address through the shell: a recording program
# stands in for the browser as the https handler of the bench's prefix while the case runs.
x64_only || return 0
new_case
write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.Main"
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" browser.exe
key='HKCR\https\shell\open\command'
if wine reg export "$key" "$CASE_DIR/handler.reg" /y >/dev/null 2>&1; then
    trap 'wine reg import "$CASE_DIR/handler.reg" >/dev/null 2>&1' EXIT
else
    trap 'wine reg delete "HKCR\https" /f >/dev/null 2>&1' EXIT
fi
wine reg add "$key" /ve /d "$(winpath "$CASE_DIR/browser.exe") %1" /f >/dev/null || fail "cannot register the handler"
CMDECHO_OUT=$(winpath "$CASE_DIR/opened.txt") drive --press click:205 --press w1:2
address=$(control 1 205 text)
expect_contains "link" "https://" "$address"
for i in 1 2 3 4 5 6 7 8 9 10; do [ -s opened.txt ] && break; sleep 0.5; done
[ -s opened.txt ] || fail "the link's address was not opened"
expect_contains "handler's command line" "$address" "$(cat opened.txt)"
expect_eq "exit code after Cancel" -1 "$(report exit)"
