# The windows README.md shows, from the real launcher on the gui layer's display: sourced by
# tests/e2e/run.sh like a case, at each scale of SCREENSHOT_SCALES (percent; Wine reads the scale
# from HKCU\Control Panel\Desktop\LogPixels). Leaves NAME-SCALE.bmp in $CASE_DIR/shots.
new_case
mkdir -p shots
use_runtime
: > app.jar
cp "$BUILD_DIR/screenshot-splash.png" splash.png
restore_scale() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1; }
trap restore_scale EXIT
shot() { # shot NAME DRIVER-OPTIONS...: one picture; fails when the window was not found
    name=$1; shift
    drive "$@"
    [ "$(report "window 1 screenshot")" = saved ] || fail "no picture of $name"
    mv shot.bmp "shots/$name-$scale.bmp"
}
for scale in ${SCREENSHOT_SCALES:-100 200}; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((scale * 96 / 100)) /f >/dev/null \
        || fail "cannot set the scale"
    write_ini app.ini "[Java Runtime Environment]" "Main Class=com.example.app.Main" "Minimum Version=17"
    shot runtime-folder-dialog --screenshot "$CASE_DIR/shot.bmp" --press 2
    write_ini app.ini "[Java Runtime Environment]" "JRE Path=jre"
    shot message-box --screenshot "$CASE_DIR/shot.bmp" --press 1
    write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Thrower" "JRE Path=jre" \
        "[Class Path]" "Class Path=\\app.jar" "[Application]" "Failure Check=YES"
    shot failure-dialog --screenshot "$CASE_DIR/shot.bmp" --press 1
    write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre" \
        "[Class Path]" "Class Path=\\app.jar" "[Display]" "Splash Screen=splash.png" "Splash Screen Shadow=true"
    TESTJVM_MAIN_SLEEP_MS=2500 shot splash-window --class SplashScreenWindow --screenshot "$CASE_DIR/shot.bmp" --press look
done
