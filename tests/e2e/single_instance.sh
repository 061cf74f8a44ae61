# A second start of a launcher with "Single Instance=yes" hands its arguments to the first
# instance's secondaryMain and ends with its answer, or with the first instance's exit code.
x64_only || return 0
. "$E2E_DIR/single_instance_lib.sh"

# The int form answers with the argument count; each second start is answered in turn.
settings test.app.SecondaryInt
start_first
second "a b" "gr$(printf '\303\274\303\237')e" "$(printf '\360\237\230\200')"
expect_eq "int answer" 3 "$SECOND_RC"
expect_eq "forwarded texts" "a b gr$(printf '\303\274\303\237')e $(printf '\360\237\230\200')" "$(secondary 'arg.[0-9]*.text')"
expect_eq "forwarded units" "0061 0020 0062 0067 0072 00FC 00DF 0065 D83D DE00" "$(secondary 'arg.[0-9]*.units')"
rm -f secondary.txt; second
expect_eq "no arguments arrive as one empty one" "1 1" "$SECOND_RC $(secondary arg.count)"
rm -f secondary.txt; second a "" b
expect_eq "an empty argument ends the list" "1 a" "$SECOND_RC $(secondary arg.0.text)"
second "$(head -c 518 /dev/zero | tr '\0' x)"
expect_eq "1040 bytes fit" 1 "$SECOND_RC"
second "$(head -c 519 /dev/zero | tr '\0' x)"
expect_eq "1042 bytes do not" 255 "$SECOND_RC"

# Twenty at once, start N with N arguments of its own: each is answered with its own count, and
# each call saw the arguments of one start only.
rm -f secondary.txt storm.txt
for n in $(seq 1 20); do
    (wine app.exe $(seq -f "s$n-%g" 1 $n); echo "$n $?" >> storm.txt) &
done
wait_lines storm.txt 20
bad=$(awk '$1 != $2' storm.txt)
[ -z "$bad" ] || fail "answers of the storm (start, exit code): $bad"
echo "ok: 20 simultaneous second starts each got their own answer"
calls=$(tr -d '\r' < secondary.txt | awk -F= '/^arg.count=/ { c = $2; ok = 1; p = "" }
    /^arg\.[0-9]+\.text=/ { split($2, a, "-"); if (p == "") p = a[1]; if (a[1] != p) ok = 0 }
    /^end$/ { print (ok && p == "s" c) ? "whole" : "mixed", c }' | sort -k2n | tr '\n' ' ')
expect_eq "what each call of the storm received" "$(seq -f 'whole %g' 1 20 | tr '\n' ' ')" "$calls"
end_first
expect_eq "first instance" 0 "$FIRST_RC"

# An exception from the int form answers 1, whatever the call returned.
start_first TESTJVM_SECONDARY_THROW=1 TESTJVM_SECONDARY_RESULT=5
second x
expect_eq "int form that threw" 1 "$SECOND_RC"
end_first
expect_contains "first instance's error stream" "thrown by secondaryMain" "$(cat first.out)"

# The void form answers 0 before it is called, so the call's report may come after the answer.
settings test.app.SecondaryVoid
start_first
second v
wait_call
expect_eq "void answer" "0 void v" "$SECOND_RC $(secondary secondaryMain) $(secondary arg.0.text)"
end_first

# Without secondaryMain the second start waits for the first instance's end and takes its exit
# code; so it does when the first ends while the request is pending.
settings test.app.Exiter
start_first TESTJVM_EXIT_CODE=7
wine app.exe w &
SECOND=$!
sleep 2
end_first
wait $SECOND
expect_eq "exit codes of first and second" "7 7" "$FIRST_RC $?"

# Launchers at "a_b\app.exe" and "a\b\app.exe" each run their own program: while the first is
# running, the second is not handed over to it.
settings test.app.Report
mkdir -p a_b a/b
trap ': > "$CASE_DIR/go"; : > "$CASE_DIR/a_b/go"; : > "$CASE_DIR/a/b/go"' EXIT
for d in a_b a/b; do cp -r app.exe app.ini app.jar jre "$d/"; done
cd a_b && start_first && cd "$CASE_DIR"
(cd a/b && TESTJVM_MAIN_UNTIL_FILE=go wine app.exe own > out.txt 2>&1; echo $? > rc.txt) &
wait_for a/b/report.txt
expect_eq "the other path's own program ran" "own" "$(sed -n 's/^arg.0.text=//p' a/b/report.txt | tr -d '\r')"
: > a_b/go; : > a/b/go; wait
expect_eq "its exit code" 0 "$(cat a/b/rc.txt)"
