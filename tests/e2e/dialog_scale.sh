# The runtime folder dialog and the failure dialog at 100 %, 150 % and 200 % (Wine takes the
# scale from LogPixels): every static text fits its control, laid out in the control's own font,
# and the dialog grows with the scale.
new_case
use_runtime
: > app.jar
set_scale() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null || fail "scale $1"; }
trap 'set_scale 96' EXIT
# texts_fit WHAT: every static text of window 1 fits, and there is at least one.
texts_fit() {
    statics=$(grep -c '^window 1 control id=[-0-9]* class=Static .* fits=[01] ' driver.txt)
    [ "$statics" -gt 0 ] || fail "$1: no static text found"
    grep '^window 1 control id=[-0-9]* class=Static .* fits=0 ' driver.txt && fail "$1: a text does not fit"
    echo "ok: $1: all $statics texts fit"
}
width() { sed -n 's/^window 1 class=#32770 width=\([0-9]*\) .*/\1/p' driver.txt | head -1; }
for dpi in 96 144 192; do
    set_scale $dpi
    write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.app.Main" "Minimum Version=17" \
        "Maximum Version=21"
    drive --press 2
    texts_fit "runtime folder dialog at $dpi dpi"
    eval "folder_$dpi=$(width)"
    write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Thrower" "JRE Path=jre" \
        "[Class Path]" "Class Path=\\app.jar" "[Application]" "Failure Check=YES"
    drive --press 1
    texts_fit "failure dialog at $dpi dpi"
    eval "failure_$dpi=$(width)"
done
[ "$folder_144" -gt "$folder_96" ] && [ "$folder_192" -gt "$folder_144" ] || fail "runtime folder dialog widths $folder_96 $folder_144 $folder_192"
[ "$failure_144" -gt "$failure_96" ] && [ "$failure_192" -gt "$failure_144" ] || fail "failure dialog widths $failure_96 $failure_144 $failure_192"
echo "ok: both dialogs grow with the scale"

