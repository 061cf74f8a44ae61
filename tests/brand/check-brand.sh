#!/bin/sh
# check-brand.sh TOOL LAUNCHER OBJDUMP WINDRES ARCH OTHER WORK: brands LAUNCHER with TOOL and reads the
# copy back with binutils and our own header check; signs and verifies it; and feeds TOOL bad
# inputs, which must leave no output file and an existing one untouched.
tool=$(readlink -f "$1"); launcher=$(readlink -f "$2"); objdump=$3; windres=$4; arch=$5; other=$(readlink -f "$6"); work=$7
here=$(dirname "$(readlink -f "$0")")
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$work"; mkdir -p "$work"; cd "$work" || exit 1
python3 "$here/make-icon.py" app.ico 16 32 48 256
printf '# translated texts\n210 = Übersetzt: keine Hauptklasse.\\nZweite Zeile.\n217=jede Version\n' > strings.txt

"$tool" "$launcher" app.exe --icon app.ico --strings strings.txt --set CompanyName="Acme Ltd" \
    --set ProductName="Acme Tool" --set ProductVersion="3.1 beta" --set FileDescription="Acme's tool" \
    --set FileVersion=3.1.4.1 --set LegalCopyright="© 2026 Acme" || fail "branding failed"
rc=$("$windres" -i app.exe -O rc) || fail "windres cannot read the branded copy"
for line in '"CompanyName", "Acme Ltd"' '"ProductName", "Acme Tool"' '"ProductVersion", "3.1 beta"' \
        '"FileDescription", "Acme'"'"'s tool"' '"FileVersion", "3.1.4.1"' '"OriginalFilename", "app.exe"' \
        'FILEVERSION 3, 1, 4, 1' 'PRODUCTVERSION 3, 1, 0, 0' '"LegalCopyright", L"\251 2026 Acme"' \
        '217, "jede Version"' '"Java runtime needed"' 'The application cannot start: %ls'; do
    printf "%s\n" "$rc" | grep -qF "$line" || fail "read back: [$line] missing"
done
echo "ok: version strings, numbers and texts read back"
printf "%s\n" "$rc" | grep -q 'Zweite Zeile' || fail "text 210 not replaced"
[ "$(printf "%s\n" "$rc" | grep -c 'RT_ICON \*/')" = 4 ] || fail "expected 4 icon images: $(printf "%s\n" "$rc" | grep 'RT_ICON')"
[ "$(printf "%s\n" "$rc" | grep -c 'RT_GROUP_ICON \*/')" = 1 ] || fail "expected one icon group"
echo "ok: four icon sizes in one group"
python3 "$here/pe_layout.py" app.exe || fail "inconsistent headers"
sh "$here/../image/check-pe.sh" app.exe "$arch" "$objdump" | grep -v '^ok: imports' || fail "branded copy fails the image check"

# Branding a branded copy replaces its icons and keeps the fields it does not set.
"$tool" app.exe again.exe --icon app.ico --set ProductName=Other || fail "re-branding failed"
rc=$("$windres" -i again.exe -O rc)
[ "$(printf "%s\n" "$rc" | grep -c 'RT_ICON \*/')" = 4 ] || fail "icons of the first branding kept"
printf "%s\n" "$rc" | grep -qF '"CompanyName", "Acme Ltd"' || fail "re-branding lost CompanyName"
echo "ok: re-branded"

# Signed with a test certificate, the signature verifies; a signed file is not branded again.
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj /CN=brand-test \
    -addext extendedKeyUsage=codeSigning 2>/dev/null || fail "no test certificate"
osslsigncode sign -certs cert.pem -key key.pem -n "Acme Tool" -in app.exe -out signed.exe >/dev/null || fail "signing failed"
osslsigncode verify -CAfile cert.pem -in signed.exe > verify.txt 2>&1 || { cat verify.txt; fail "signature does not verify"; }
grep -q '^Signature verification: ok' verify.txt || fail "no verified signature"
echo "ok: signed and verified"

# rejected ARGS...: TOOL fails with ARGS, saying why, and out.exe keeps what it held.
rejected() {
    echo old > out.exe
    "$tool" "$@" 2> err.txt && fail "accepted: $*"
    [ "$(cat out.exe)" = old ] || fail "out.exe changed by: $*"
    [ -e out.exe.partial ] && fail "a partial file left by: $*"
    echo "ok: rejected $* ($(head -1 err.txt))"
}
head -c 30 app.ico > cut.ico
python3 -c "import sys; d=bytearray(open('app.ico','rb').read()); d[6+16+15]=0x7F; open('far.ico','wb').write(d)"
printf 'not an icon' > text.ico
printf '210=Lost its placeholder\n' > placeholders.txt
printf '999=No such text\n' > unknown.txt
printf 'just text\n' > noequals.txt
rejected "$launcher" out.exe --icon cut.ico
rejected "$launcher" out.exe --icon far.ico
rejected "$launcher" out.exe --icon text.ico
rejected "$launcher" out.exe --icon
rejected "$launcher" out.exe --set CompanyName
rejected "$launcher" out.exe --set Colour=blue
rejected "$launcher" out.exe --set FileVersion=
rejected "$launcher" out.exe --set FileVersion=beta
rejected "$launcher" out.exe --strings unknown.txt
rejected "$launcher" out.exe --strings noequals.txt
printf '202=Only one: %%ls\n' > placeholders.txt
rejected "$launcher" out.exe --strings placeholders.txt
rejected signed.exe out.exe
rejected "$tool" out.exe
rejected "$other" out.exe
rejected strings.txt out.exe
rejected missing.exe out.exe
rejected "$launcher"

# refused REASON ARGS...: TOOL refuses with exit status 1 (not a crash, not a usage error), saying
# REASON, within 256 MB of address space; it writes no out.exe where there was none and keeps an
# existing one.
refused() {
    reason=$1; shift
    rm -f out.exe
    ( ulimit -v 262144 && exec "$tool" "$@" ) 2> err.txt
    status=$?
    [ "$status" = 1 ] || { cat err.txt; fail "exit status $status, not 1, for: $*"; }
    [ -e out.exe ] && fail "out.exe written by: $*"
    echo old > out.exe
    ( ulimit -v 262144 && exec "$tool" "$@" ) 2> err.txt
    [ $? = 1 ] || fail "exit status not 1 beside an existing out.exe for: $*"
    [ "$(cat out.exe)" = old ] || fail "out.exe changed by: $*"
    [ -e out.exe.partial ] && fail "a partial file left by: $*"
    grep -qF "$reason" err.txt || { cat err.txt; fail "not refused for \"$reason\": $*"; }
    grep -q 'nothing was written' err.txt || fail "not told that nothing was written: $*"
    echo "ok: refused $(echo "$*" | cut -c1-100) ($reason)"
}
# One more section header at the resources' address, without data: the writer took it for the
# resource section and wrote the new section alone as the copy.
python3 "$here/damage.py" "$launcher" extra-section extra-section.exe || fail "cannot damage the launcher"
refused "2 sections start at the resource directory's address" extra-section.exe out.exe
# A tree reusing one directory per level and one data entry, 60 entries each: 216,000 resources
# of 4 KB, 894 MB before the launcher check refused the file.
python3 "$here/damage.py" "$launcher" shared-tree shared-tree.exe 60 || fail "cannot damage the launcher"
refused "a data entry is reached twice" shared-tree.exe out.exe
# Values longer than their 16-bit length fields, which were cut short into a damaged resource.
long=$(python3 -c 'print("a" * 40000)')
refused "65535 bytes" "$launcher" out.exe --set CompanyName="$long"
python3 -c 'print("210=" + "b" * 70000)' > long-text.txt
refused "65535 characters" "$launcher" out.exe --strings long-text.txt
echo "PASS: branding ($arch)"
