# The launcher's own splash window on a 1280x1024 screen: centred (halves truncated toward zero),
# as large as the image, a tool pop-up without caption, border or taskbar button, its class with
# the drop shadow only for "true", painted with the image; it owns the error boxes while it lives,
# and a box still shows after it was closed from outside. It goes before the failure dialog,
# leaves no trace when the image is missing, and "-nosplash" (exact) suppresses it.
new_case
use_runtime
: > app.jar
cp "$BUILD_DIR"/splash-images/*.png .
ini() { # ini MAIN-CLASS DISPLAY-LINE...
    main=$1; shift
    write_ini app.ini "[Java Runtime Environment]" "Main Class=$main" "JRE Path=jre" \
        "[Class Path]" "Class Path=\\app.jar" "[Application]" "Failure Check=YES" "[Display]" "$@"
}
# splash_field NAME: a field of the splash window's report line.
splash_field() { grep '^window 1 class=SplashScreenWindow ' driver.txt | head -1 | tr ' ' '\n' | sed -n "s/^$1=//p"; }
expect_place() { # expect_place WHAT X Y WIDTH HEIGHT
    expect_eq "$1: place" "$2,$3 $4x$5" "$(splash_field x),$(splash_field y) $(splash_field width)x$(splash_field height)"
}
# max_deviation BMP R G B [CORNER]: the largest difference of any pixel's channel from the colour,
# leaving out CORNER x CORNER squares in the corners.
max_deviation() {
    width=$(od -An -tu4 -j18 -N4 "$1" | tr -d ' '); height=$(od -An -tu4 -j22 -N4 "$1" | tr -d ' ')
    od -An -v -tu1 -j54 "$1" | tr -s ' ' '\n' | grep -v '^$' | awk -v w="$width" -v h="$height" \
        -v r="$2" -v g="$3" -v b="$4" -v c="${5:-0}" '
        { v[n++] = $1 }
        END { stride = int((w * 3 + 3) / 4) * 4; worst = 0
              for (y = 0; y < h; y++) for (x = 0; x < w; x++) {
                  if ((x < c || x >= w - c) && (y < c || y >= h - c)) continue
                  i = y * stride + x * 3
                  d1 = v[i] - b; d2 = v[i+1] - g; d3 = v[i+2] - r
                  if (d1 < 0) d1 = -d1; if (d2 < 0) d2 = -d2; if (d3 < 0) d3 = -d3
                  if (d1 > worst) worst = d1; if (d2 > worst) worst = d2; if (d3 > worst) worst = d3 }
              print worst }'
}
pixel() { # pixel BMP X Y: "R G B" of a pixel, counted from the top left
    width=$(od -An -tu4 -j18 -N4 "$1" | tr -d ' '); height=$(od -An -tu4 -j22 -N4 "$1" | tr -d ' ')
    stride=$(( (width * 3 + 3) / 4 * 4 ))
    od -An -tu1 -j$((54 + (height - 1 - $3) * stride + $2 * 3)) -N3 "$1" | awk '{print $3, $2, $1}'
}
export TESTJVM_MAIN_SLEEP_MS=2500

# 400x300 with the shadow: the whole picture on the screen, in the image's colour.
ini test.app.Report "Splash Screen=flat-400x300.png" "Splash Screen Shadow=true"
drive --class SplashScreenWindow --screenshot "$CASE_DIR/flat.bmp" --press look
expect_place "400x300" 440 362 400 300
style=$(splash_field style); exstyle=$(splash_field exstyle)
[ $((style & 0x80000000)) -ne 0 ] && [ $((style & 0x00CF0000)) -eq 0 ] || fail "not a bare pop-up: style $style"
[ $((exstyle & 0x80)) -ne 0 ] && [ $((exstyle & 0x000C0008)) -eq 0 ] || fail "not a plain tool window: exstyle $exstyle"
echo "ok: a pop-up without caption or border, a tool window neither in the taskbar, topmost nor layered"
expect_eq "class style with the shadow" 0x00020808 "$(splash_field classstyle)"
expect_eq "screenshot" saved "$(report "window 1 screenshot")"
expect_eq "largest colour deviation of the screenshot" ok "$([ "$(max_deviation flat.bmp 30 144 200)" -le 6 ] && echo ok)"
expect_eq "main returned, the splash went at the end" 0 "$(report exit)"

# 401x301, shadow asked with a capital T (none), launcher started from another folder: the image is
# still found beside the launcher. "-NOSPLASH" is not the switch.
ini test.app.Report "Splash Screen=flat-401x301.png" "Splash Screen Shadow=True"
mkdir -p elsewhere && cd elsewhere
DRIVE_PROGRAM=$(winpath "$CASE_DIR/app.exe") drive --class SplashScreenWindow --press look -- -NOSPLASH
expect_place "401x301 from another folder" 439 361 401 301
expect_eq "class style without the shadow" 0x00000808 "$(splash_field classstyle)"
cd "$CASE_DIR"

# Wider than the screen: the left edge off-screen by half the excess, truncated toward zero.
ini test.app.Report "Splash Screen=wide-1361x100.png"
drive --class SplashScreenWindow --press look
expect_place "1361x100" -40 462 1361 100

# Transparent corners show the window colour, not whatever the bitmap held.
ini test.app.Report "Splash Screen=corners-400x300.png"
drive --class SplashScreenWindow --screenshot "$CASE_DIR/corners.bmp" --press look
colour=$(sed -n 's/^colour.window=//p' driver.txt | tr -d '\r')
expect_eq "corner pixel" "$((colour & 255)) $((colour >> 8 & 255)) $((colour >> 16 & 255))" "$(pixel corners.bmp 3 3)"
expect_eq "the rest in the image's colour" ok "$([ "$(max_deviation corners.bmp 30 144 200 24)" -le 6 ] && echo ok)"
unset TESTJVM_MAIN_SLEEP_MS

# A missing image: the launch goes on as without a splash.
ini test.app.Report "Splash Screen=missing.png"
rm -f report.txt; run_app one
expect_eq "missing image: exit" 0 "$APP_RC"
expect_eq "missing image: main ran" test.app.Report "$(reported class)"

# While the splash lives it owns the error box; closed from outside, the box still shows, ownerless.
export TESTJVM_CREATE_DELAY_MS=3000
ini test.app.Missing "Splash Screen=flat-400x300.png"
drive --class SplashScreenWindow --press look --class '#32770' --press 1
expect_eq "box owner while the splash lives" SplashScreenWindow "$(sed -n 's/^window 2 class=#32770 .* owner=\([^ ]*\) .*/\1/p' driver.txt)"
expect_eq "class not found" -1 "$(report exit)"
drive --class SplashScreenWindow --press close --class '#32770' --press 1
expect_eq "closed from outside" 1 "$(report "window 1 gone")"
expect_eq "box owner after the close" none "$(sed -n 's/^window 2 class=#32770 .* owner=\([^ ]*\) .*/\1/p' driver.txt)"
expect_contains "the box" "test.app.Missing" "$(report "window 2 text")"

# main throws: the splash is gone before the failure dialog opens.
ini test.app.Thrower "Splash Screen=flat-400x300.png"
drive --class SplashScreenWindow --press look --class '#32770' --press 1
expect_eq "splash while the failure dialog shows" 0 "$(report "window 2 earlier window 1 alive")"
expect_eq "main threw" 1 "$(report exit)"

# "-nosplash" and "/nosplash": no window, and main still receives the switch.
for switch in -nosplash /nosplash; do
    ini test.app.Report "Splash Screen=flat-400x300.png"
    rm -f report.txt
    drive --timeout 6000 --class SplashScreenWindow --press look -- "$switch"
    expect_eq "$switch: splash windows" 1 "$(grep -c '^window 1 none' driver.txt)"
    expect_contains "$switch: main's arguments" "$switch" "$(cat report.txt)"
done
unset TESTJVM_CREATE_DELAY_MS

# A scaled monitor (Wine takes the scale from LogPixels): a variant made for the scale is shown at
# its own size, "@150pct" before "@2x" as the runtime's splash names them; without one the image
# is scaled smoothly (still one colour throughout); centred in physical pixels either way.
set_scale() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null || fail "scale $1"; }
trap 'set_scale 96' EXIT
export TESTJVM_MAIN_SLEEP_MS=2500
ini test.app.Report "Splash Screen=flat-400x300.png"
set_scale 144
drive --class SplashScreenWindow --screenshot "$CASE_DIR/scaled.bmp" --press look
expect_place "150 %, scaled" 340 287 600 450
expect_eq "150 %, scaled smoothly" ok "$([ "$(max_deviation scaled.bmp 30 144 200)" -le 6 ] && echo ok)"
cp flat-401x301.png flat-400x300@150pct.png
drive --class SplashScreenWindow --press look
expect_place "150 %, its own variant" 439 361 401 301
set_scale 192
cp wide-1361x100.png flat-400x300@2x.png
drive --class SplashScreenWindow --press look
expect_place "200 %, the @2x variant" -40 462 1361 100
cp flat-401x301.png flat-400x300@200pct.png
drive --class SplashScreenWindow --press look
expect_place "200 %, @200pct before @2x" 439 361 401 301
rm flat-400x300@*.png
drive --class SplashScreenWindow --press look
expect_place "200 %, scaled" 240 212 800 600
set_scale 96
