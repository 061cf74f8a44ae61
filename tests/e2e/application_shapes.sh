# An executable jar, a modular application and module options written as for the java command:
# what the runtime receives for each key, the java command's own options refused with a box
# that names the key to use, and the settings that still apply after an empty class path.
new_case
use_runtime
dir=$(winpath "$CASE_DIR")
# looked_up WHAT TEXT: the test runtime recorded the lookup TEXT.
looked_up() {
    sed -n 's/^lookup\.[0-9]*=//p' report.txt | tr -d '\r' | grep -q -x -F -- "$2" ||
        fail "$1: no lookup [$2] among $(grep '^lookup' report.txt)"
}
mkdir -p lib mods
: > app.jar; : > lib/a.jar; : > mods/m.jar

# "Main Jar" relative to the launcher's folder, first on the class path; the runtime's helper
# reads its manifest in jar mode, and the program is named by the jar.
write_ini app.ini "[Java Runtime Environment]" "Main Jar=app.jar" "JRE Path=jre" \
    "[Class Path]" "Class Path=lib\\a.jar"
drive -- one
expect_eq "exit code, jar" 0 "$(report exit)"
expect_eq "jar first on the class path" "$dir\\app.jar;$dir\\lib\\a.jar" "$(reported classpath)"
looked_up "jar mode" "checkAndLoadMain true 2 $dir\\app.jar"
expect_eq "program named by its jar" "-Dsun.java.command=$dir\\app.jar one" "$(reported option.2)"

# "Main Module" with "Module Path" and no class path: no box, the entries made full, the module
# as the root, the space-separated module options joined to the VM's form.
write_ini app.ini "[Java Runtime Environment]" "Main Module=app" "JRE Path=jre" \
    "Virtual Machine Parameters=--add-opens java.base/java.lang=ALL-UNNAMED -p C:\\more -Xmx64m" \
    "[Class Path]" "Module Path=mods\\*.jar;C:\\abs.jar"
drive
expect_eq "exit code, module" 0 "$(report exit)"
grep -q '^window 1 ' driver.txt && fail "a box for a module without class path: $(report "window 1 text")"
expect_eq "module path" "--module-path=$dir\\mods\\m.jar;C:\\abs.jar" "$(reported option.1)"
expect_eq "main module" "-Djdk.module.main=app" "$(reported option.2)"
expect_eq "program named by its module" "-Dsun.java.command=app" "$(reported option.3)"
expect_eq "joined --add-opens" "--add-opens=java.base/java.lang=ALL-UNNAMED" "$(reported option.4)"
expect_eq "joined -p" "--module-path=C:\\more" "$(reported option.5)"
expect_eq "no class path" "" "$(reported classpath)"
looked_up "module mode" "checkAndLoadMain true 3 app"

# A "Main Class" written module/class starts the module with that class.
write_ini app.ini "[Java Runtime Environment]" "Main Class=app/test.app.Report" "JRE Path=jre" \
    "[Class Path]" "Module Path=mods"
drive
expect_eq "exit code, module/class" 0 "$(report exit)"
looked_up "module and class" "checkAndLoadMain true 3 app/test.app.Report"

# The java command's own options: a box naming the option and the key, and -1.
for refused in "-jar app.jar|-jar|Main Jar" "-m app/app.Main|-m|Main Module" "@vm.args|@vm.args|Virtual Machine Parameters" \
        "-splash:s.png|-splash:s.png|Splash Screen"; do
    written=${refused%%|*}; rest=${refused#*|}; key=${rest##*|}; option=${rest%|*}
    write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre" \
        "Virtual Machine Parameters=-Xmx64m $written" "[Class Path]" "Class Path=lib\\a.jar"
    rm -f report.txt
    drive --press 1
    text=$(report "window 1 text")
    expect_contains "box for $option" "$option" "$text"
    expect_contains "box for $option" "\"$key\"" "$text"
    expect_eq "exit code for $option" "-1" "$(report exit)"
    [ -e report.txt ] && fail "the VM was created despite $option"
done

# Nothing found for the class path: message 209, then the VM with the launcher's folder as its
# class path, the VM parameters, the output file and the "Cmd" arguments.
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre" \
    "Virtual Machine Parameters=-Xmx64m" "[Class Path]" "Class Path=lib\\none*.jar" \
    "[Application]" "Cmd=extra" "Output File=out.txt"
drive --press 1
expect_contains "message 209" "class path is empty" "$(report "window 1 text")"
expect_eq "exit code after 209" 0 "$(report exit)"
expect_eq "launcher's folder as class path" "$dir" "$(reported classpath)"
expect_eq "VM parameters after 209" "-Xmx64m" "$(reported option.3)"
expect_eq "Cmd after 209" "extra" "$(reported arg.0.text)"
[ -e out.txt ] || fail "no output file after 209"

# The splash image the jar's manifest names, shown from inside the jar while no "Splash Screen"
# is set: the launcher's own window, as large as the image, centred; its file is gone afterwards.
cp "$BUILD_DIR/splash-images/splash.jar" app.jar
write_ini app.ini "[Java Runtime Environment]" "Main Jar=app.jar" "JRE Path=jre"
temp=$(winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')" 2>/dev/null)
[ -d "$temp" ] || fail "no temporary folder: [$temp]"
TESTJVM_MAIN_SLEEP_MS=2500 drive --class SplashScreenWindow --press look
field() { grep '^window 1 class=SplashScreenWindow ' driver.txt | head -1 | tr ' ' '\n' | sed -n "s/^$1=//p"; }
expect_eq "the jar's splash window" "440,362 400x300" "$(field x),$(field y) $(field width)x$(field height)"
expect_eq "exit code with the jar's splash" 0 "$(report exit)"
ls "$temp"/spl*.tmp 2>/dev/null && fail "the splash image's file is left in $temp"
echo "ok: no splash image file left"
