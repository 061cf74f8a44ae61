# The runtime's splash library (our stand-in, in the runtime's bin folder): its C entries called
# in order with the image's full path in the ANSI code page and "", its close at the end and on a
# failed launch before the VM waits for threads; when it is missing, lacks an entry or cannot load
# the image, the launcher's own window shows the image instead.
new_case
use_runtime
: > app.jar
cp "$BUILD_DIR/splash-images/flat-400x300.png" .
cp "$BUILD_DIR/splashlib/full/splashscreen.dll" jre/bin/splashscreen.dll
ini() { # ini MAIN-CLASS SPLASH-SCREEN
    write_ini app.ini "[Java Runtime Environment]" "Main Class=$1" "JRE Path=jre" \
        "[Class Path]" "Class Path=\\app.jar" "[Display]" "Splash Screen=$2" "Preffer Native Splash Screen=yes"
}
hex() { printf '%s' "$1" | od -An -v -tx1 | tr -d ' \n'; }
# calls: the entries called, in order, without what they received.
calls() { sed 's/ .*//' events.txt | grep '^Splash' | tr -d '\r' | paste -sd' '; }
export TESTSPLASH_LOG=events.txt TESTJVM_LOG=events.txt

ini test.app.Report flat-400x300.png
rm -f events.txt; run_app one
expect_eq "exit" 0 "$APP_RC"
expect_eq "calls" "SplashInit SplashLoadFile SplashSetFileJarName SplashClose" "$(calls)"
image=$(hex "$(winpath "$CASE_DIR/flat-400x300.png")")
expect_eq "image path received" "SplashLoadFile [$image] -> 1" "$(grep '^SplashLoadFile' events.txt | tr -d '\r')"
expect_eq "path and jar name received" "SplashSetFileJarName [$image] []" "$(grep '^SplashSetFileJarName' events.txt | tr -d '\r')"
expect_eq "closed after the VM" "destroyed SplashClose" "$(grep -E '^(destroyed|SplashClose)' events.txt | tr -d '\r' | paste -sd' ')"

# An image the library cannot load: the launcher's own window, drawn through GDI+, instead.
own_window() { # own_window WHAT EXPECTED-CALLS
    rm -f events.txt; drive --class SplashScreenWindow --press look
    expect_eq "$1: own window" "400x300" "$(sed -n 's/^window 1 class=SplashScreenWindow width=\([0-9]*\) height=\([0-9]*\) .*/\1x\2/p' driver.txt)"
    expect_eq "$1: calls" "$2" "$(calls)"
}
export TESTJVM_MAIN_SLEEP_MS=2500 TESTSPLASH_LOAD_FAILS=1
own_window "image not loaded" "SplashInit SplashLoadFile SplashClose"
unset TESTJVM_MAIN_SLEEP_MS TESTSPLASH_LOAD_FAILS

x64_only || return 0

# A failed launch: closed once, before the VM is destroyed (which waits for the program's threads).
for main in test.app.Thrower test.app.Missing; do
    ini $main flat-400x300.png
    rm -f events.txt; drive --timeout 15000 --press 1
    expect_eq "$main: closed before the VM is destroyed" "SplashClose DestroyJavaVM" \
        "$(grep -oE '^(SplashClose|DestroyJavaVM)' events.txt | paste -sd' ')"
done

# A runtime that does not load: the splash closes before the box opens. The box is left open, so
# a close that came only at the launcher's end (after the box) would not be recorded at all.
ini test.app.Report flat-400x300.png
mv jre/bin/client/jvm.dll jvm.dll.kept && cp "$BUILD_DIR/images/unloadable.dll" jre/bin/client/jvm.dll
rm -f events.txt; drive --timeout 8000 --press look
expect_contains "unloadable runtime: the box" "could not be loaded" "$(report "window 1 text")"
expect_eq "unloadable runtime: closed before the box" "SplashInit SplashLoadFile SplashSetFileJarName SplashClose" "$(calls)"
mv jvm.dll.kept jre/bin/client/jvm.dll

# The own window also when the runtime has no splash library or one without an entry.
ini test.app.Report flat-400x300.png
export TESTJVM_MAIN_SLEEP_MS=2500
cp "$BUILD_DIR/splashlib/no-jar-name/splashscreen.dll" jre/bin/splashscreen.dll
own_window "entry missing" ""
rm jre/bin/splashscreen.dll
own_window "no library" ""
unset TESTJVM_MAIN_SLEEP_MS

# An image in a folder the ANSI code page cannot name reaches the library by its short name.
cp "$BUILD_DIR/splashlib/full/splashscreen.dll" jre/bin/splashscreen.dll
mkdir -p "Анна" && cp flat-400x300.png "Анна/splash.png"
ini test.app.Report "Анна\\splash.png"
iconv -f UTF-8 -t UTF-16 app.ini > app16.ini && mv app16.ini app.ini  # Unicode text needs a Unicode file
rm -f events.txt; run_app
expect_eq "non-ANSI folder: calls" "SplashInit SplashLoadFile SplashSetFileJarName SplashClose" "$(calls)"
expect_contains "non-ANSI folder: the library loaded the image" "-> 1" "$(grep '^SplashLoadFile' events.txt)"

# A library that knows the monitor's scale: the variant it names is loaded and its factor set;
# without a variant, or one it cannot read, the image itself, as before.
cp "$BUILD_DIR/splashlib/scaled/splashscreen.dll" jre/bin/splashscreen.dll
cp flat-400x300.png flat-400x300@2x.png
variant=$(winpath "$CASE_DIR/flat-400x300@2x.png")
ini test.app.Report flat-400x300.png
rm -f events.txt; TESTSPLASH_SCALED_NAME=$variant run_app
expect_eq "scaled: calls" "SplashInit SplashGetScaledImageName SplashLoadFile SplashSetScaleFactor SplashSetFileJarName SplashClose" "$(calls)"
expect_eq "scaled: variant loaded" "SplashLoadFile [$(hex "$variant")] -> 1" "$(grep '^SplashLoadFile' events.txt | tr -d '\r')"
expect_eq "scaled: factor" "SplashSetScaleFactor -> 2.00" "$(grep '^SplashSetScaleFactor' events.txt | tr -d '\r')"
rm -f events.txt; run_app
expect_eq "no variant: calls" "SplashInit SplashGetScaledImageName SplashLoadFile SplashSetFileJarName SplashClose" "$(calls)"
rm -f events.txt; TESTSPLASH_SCALED_NAME='C:\missing@2x.png' run_app
expect_eq "unreadable variant: the image" "SplashInit SplashGetScaledImageName SplashLoadFile SplashLoadFile SplashSetFileJarName SplashClose" "$(calls)"
