# The Java program starts with what the settings and the command line give it: its arguments
# code unit for code unit, the class path from real folders, the VM options in order between the
# output hook and the other hooks, the runtime's environment, and a main thread of the requested
# stack size.
new_case
use_runtime
mkdir -p lib/ext
: > lib/a.jar; : > lib/b.jar
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre" \
    "Virtual Machine Parameters=-Dapp.title=\"My App\" -Xmx64m -Xss2m" \
    "[Class Path]" "Class Path=\\lib\\*.jar;lib\\ext" "[Application]" "Cmd=extra \"two words\""
drive --raw 'one "two three" "" caf€ 😀'
expect_eq "exit code" 0 "$(report exit)"
expect_eq "argument count" 7 "$(reported arg.count)"
expect_eq "quoted argument" "two three" "$(reported arg.1.text)"
expect_eq "empty argument" "" "$(reported arg.2.units)"
expect_eq "non-ASCII argument" "0063 0061 0066 20AC" "$(reported arg.3.units)"
expect_eq "surrogate pair" "D83D DE00" "$(reported arg.4.units)"
expect_eq "Cmd after the command line" "extra" "$(reported arg.5.text)"
expect_eq "Cmd quoted" "two words" "$(reported arg.6.text)"

dir=$(winpath "$CASE_DIR")
# "JRE Path=jre" is the launcher's folder's jre, by its full path.
expect_eq "QV_JVM_PATH" "$dir\\jre\\bin\\client\\jvm.dll" "$(reported env.QV_JVM_PATH)"
expect_eq "QV_JVM_HOME" "$dir\\jre" "$(reported env.QV_JVM_HOME)"
case $(reported env.Path) in *";$dir\\jre\\bin") echo "ok: the runtime's bin folder ends Path" ;; *) fail "Path: $(reported env.Path)" ;; esac
classpath=$(reported option.1)
case $classpath in
    "-Djava.class.path=$dir\\lib\\"?.jar";$dir\\lib\\"?.jar";$dir\\lib\\ext") echo "ok: class path [$classpath]" ;;
    *) fail "class path: [$classpath]" ;;
esac
expect_contains "class path" 'a.jar' "$classpath"
expect_contains "class path" 'b.jar' "$classpath"
# The runtime writes about a bad option as it meets it, through the hook once it has met it.
expect_eq "output hook first" "vfprintf set" "$(reported option.0) $(reported option.0.extraInfo)"
# What jcmd and crash logs name the program by, as the runtime's own launcher sets it, before
# the user's options.
case $(reported option.2) in
    # Characters the ANSI code page lacks reach the VM as "?", as for the other options.
    "-Dsun.java.command=test.app.Report one two three  caf"*" extra two words") echo "ok: sun.java.command" ;;
    *) fail "sun.java.command: [$(reported option.2)]" ;;
esac
expect_eq "option 3" "-Dapp.title=My App" "$(reported option.3)"
expect_eq "option 4" "-Xmx64m" "$(reported option.4)"
expect_eq "option 5" "-Xss2m" "$(reported option.5)"
expect_eq "hook options last" "abort exit" "$(reported option.6) $(reported option.7)"
expect_eq "option count" 8 "$(reported option.count)"
expect_eq "main thread stack" 2097152 "$(reported thread.stack.reserved)"
expect_eq "main runs on a thread of its own" no "$(reported thread.first)"

# Without -Xss the runtime's default stack size is asked for.
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre" \
    "[Class Path]" "Class Path=\\lib\\a.jar"
TESTJVM_DEFAULT_STACK=3145728 drive
expect_eq "exit code" 0 "$(report exit)"
expect_eq "default main thread stack" 3145728 "$(reported thread.stack.reserved)"
expect_eq "no arguments" 0 "$(reported arg.count)"

# The trace shows the user's options as written, naming the variables they expand, never the
# values (a licence key in an option would land in a file users are asked to send); the class
# path the launcher built is shown in full.
x64_only || return 0
write_ini app.ini "[Java Runtime Environment]" "Main Class=test.app.Report" "JRE Path=jre" \
    "Virtual Machine Parameters=-Dlicense=%APP_LICENSE_KEY% -Dtwice=%APP_LICENSE_KEY%%APP_EDITION%" \
    "[Class Path]" "Class Path=\\lib\\a.jar"
rm -f trace.txt
APP_LICENSE_KEY=K3Y-S3CR3T APP_EDITION=pro LAUNCHER_TRACE=trace.txt drive
expect_eq "exit code" 0 "$(report exit)"
expect_eq "the VM receives the value" "-Dlicense=K3Y-S3CR3T" "$(reported option.3)"
APP_LICENSE_KEY=K3Y-S3CR3T APP_EDITION=pro LAUNCHER_TRACE=trace.txt drive -- --password=pa55w0rd
grep -q 'K3Y-S3CR3T' trace.txt && fail "the trace holds a variable's value: $(grep K3Y trace.txt)"
grep -q 'pa55w0rd' trace.txt && fail "the trace holds the program's arguments: $(grep pa55w0rd trace.txt)"
grep -q 'vm: option "-Dsun.java.command=test.app.Report ..." (the program.s arguments left out)' trace.txt ||
    fail "sun.java.command: $(grep 'sun.java.command' trace.txt)"
grep -q 'vm: option "-Dlicense=%APP_LICENSE_KEY%", expanding %APP_LICENSE_KEY%' trace.txt ||
    fail "option as written: $(grep 'vm: option' trace.txt)"
grep -q 'vm: option "-Dtwice=%APP_LICENSE_KEY%%APP_EDITION%", expanding %APP_LICENSE_KEY% %APP_EDITION%' trace.txt ||
    fail "names in order, once each: $(grep 'vm: option' trace.txt)"
grep -q "vm: option \"-Djava.class.path=$(printf '%s' "$dir" | sed 's/\\/\\\\/g')" trace.txt ||
    fail "class path in full: $(grep 'vm: option' trace.txt)"
echo "ok: options traced as written, with the names of their variables"
