# Starts that must not be forwarded, and starts racing the first instance's set-up.
x64_only || return 0
. "$E2E_DIR/single_instance_lib.sh"
PEER_EXE=$BUILD_DIR/testing/instancepeer/instancepeer.exe

# own_main WHAT [ARGS...]: this start runs a main of its own (report2.txt) and ends with 0.
own_main() {
    what=$1; shift
    rm -f report2.txt
    TESTJVM_REPORT=report2.txt wine app.exe "$@"
    expect_eq "$what: exit code" 0 "$?"
    expect_eq "$what: its own main ran" "test.app.SecondaryInt" "$(sed -n 's/^class=//p' report2.txt | tr -d '\r')"
}

# Two starts at once while the VM takes its time: one becomes the first instance, the other is
# answered once main is about to start.
settings test.app.SecondaryInt
rm -f report.txt
(TESTJVM_CREATE_SLEEP_MS=2000 TESTJVM_MAIN_SLEEP_MS=500 wine app.exe p; echo "p $?" >> race.txt) &
(TESTJVM_CREATE_SLEEP_MS=2000 TESTJVM_MAIN_SLEEP_MS=500 wine app.exe q r; echo "qr $?" >> race.txt) &
wait_lines race.txt 2
case $(sort race.txt | tr '\n' ' ') in
    "p 0 qr 2 "|"p 1 qr 0 ") echo "ok: one start served the other: $(cat race.txt | tr '\n' ' ')" ;;
    *) fail "racing starts: $(cat race.txt | tr '\n' ' ')" ;;
esac

# A first instance is running; none of these starts is forwarded to it.
start_first
settings test.app.SecondaryInt Yes
own_main '"Yes"'
settings test.app.SecondaryInt yes "Application Type=service"
own_main "a service"
settings test.app.SecondaryInt
mkdir -p other && cp -r app.exe app.ini app.jar jre other/
(cd other && own_main "a copy in another folder") || fail "the copy in another folder"
end_first
[ -e secondary.txt ] && fail "a start was forwarded: $(cat secondary.txt)"
echo "ok: nothing was forwarded"

# A block left by an owner that never finished, that ended or cannot receive requests: the start
# runs as the first instance, and serves a second start.
for mode in unset ended no-queue; do
    rm -f peer.txt
    wine "$PEER_EXE" $mode app.exe 60000 > peer.txt &
    PEER=$!
    wait_for peer.txt
    start_first
    second m n
    expect_eq "after a block of mode $mode: forwarded" 2 "$SECOND_RC"
    end_first
    expect_eq "after a block of mode $mode: first instance" 0 "$FIRST_RC"
    kill $PEER; wait $PEER 2>/dev/null
done

# A launcher that hands the start to its companion serves no later start: the later start hands
# itself to a companion too (which, for the same executable, would serve it).
mkdir -p jre32/bin/client
cp "$BUILD_DIR/images/probe-x86.dll" jre32/bin/client/jvm.dll
cp "$BUILD_DIR/testing/cmdecho/cmdecho.exe" companion.exe
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.SecondaryInt" "JRE Path=jre32" \
    "[Application]" "Single Instance=yes" "Pair Product=companion.exe" "Pair Return Code=Yes"
rm -f go c1.txt
(CMDECHO_UNTIL_FILE=go CMDECHO_OUT=c1.txt CMDECHO_EXIT=4 wine app.exe one; echo "$?" > pair.txt) &
wait_for c1.txt
echo "companion started $(date +%T)"
CMDECHO_OUT=c2.txt CMDECHO_EXIT=5 timeout 60 wine app.exe two
expect_eq "later start while the first waits for its companion" "5 two" "$? $(sed 's/.* //' c2.txt)"
: > go
wait_for pair.txt
expect_eq "the first start, through its companion" 4 "$(cat pair.txt)"
