# What the user reads when the runtime cannot be loaded, the VM cannot be created, or the main
# class cannot be loaded or has no proper main; each ends the launcher with -1.
new_case
: > app.jar
settings() { write_ini app.ini "[Java Runtime Environment]" "Main Class=${2:-test.app.Report}" "JRE Path=jre" \
    "Virtual Machine Parameters=$1" "[Class Path]" "Class Path=\\app.jar" "[Application]" "$3"; }
box_text() { report "window 1 text"; }

# A jvm.dll of this launcher's machine that does not load (a module it needs is missing). One
# that is no module at all never gets this far: the search passes it over (machine_check.sh).
unloadable_runtime
settings
drive --press 1
expect_contains "unloadable runtime" "could not be loaded" "$(box_text)"
expect_contains "unloadable runtime" 'jre\bin\client\jvm.dll' "$(box_text)"
expect_contains "unloadable runtime" "error 126" "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

use_runtime no-default-args
drive --press 1
expect_contains "missing entry point" "lacks a function the program needs" "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

# The runtime's own words replace the general reason: it writes them through the launcher's
# output hook (on x86 the hook must be __stdcall, or the test runtime stops with 134).
use_runtime
settings "-Xmx64m -Xbogus"
drive --press 1
expect_contains "unrecognised option" 'could not start the Java virtual machine. The runtime did not accept the settings it was given.\n\nThe Java runtime reports:\nUnrecognized option: -Xbogus\n\nCheck' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

# A heap the runtime cannot reserve: it aborts the process while it creates the VM. The box comes
# from the abort hook, with the runtime's lines, the error file gets them, and the launch ends
# with -1, not the runtime's 1.
settings "-Xmx2048g" "" "Error File=$(winpath "$CASE_DIR")\\logs\\vm.txt"
drive --press 1
expect_contains "abort while creating" 'The Java runtime reports:\nError occurred during initialization of VM\nCould not reserve enough space for 2147483648KB object heap\n\nCheck' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"
expect_eq "error file" "Error occurred during initialization of VM|Could not reserve enough space for 2147483648KB object heap|" \
    "$(tr -d '\r' < logs/vm.txt | tr '\n' '|')"

# The main class is checked before the runtime's own LauncherHelper sees it, which would end the
# program with 1 and its report on an error stream the user does not have: the box names the
# class and the runtime's reason, and the whole trace goes to the error file.
use_runtime
settings "" test.app.BrokenInit "Error File=$(winpath "$CASE_DIR")\\err.txt"
drive --press 1
expect_contains "initializer throws" 'The Java class "test.app.BrokenInit" could not be found or loaded' "$(box_text)"
expect_contains "initializer throws, reason" 'java.lang.ExceptionInInitializerError\nCaused by: java.lang.IllegalStateException: thrown by the static initializer of test.app.BrokenInit' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"
expect_contains "error file" "Caused by: java.lang.IllegalStateException" "$(cat err.txt)"
expect_contains "error file" "at test.app.BrokenInit.<clinit>(BrokenInit.java:5)" "$(cat err.txt)"

settings "" test.app.NonStaticMain
drive --press 1
expect_contains "main not static" 'The Java class "test.app.NonStaticMain" has no main method that this Java runtime starts' "$(box_text)"
expect_contains "main not static, reason" 'java.lang.NoSuchMethodError: static Ltest/app/NonStaticMain;.main([Ljava/lang/String;)V' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

x64_only || return 0
settings
use_runtime create-fails-4
drive --press 1
expect_contains "creation failed" "could not start the Java virtual machine" "$(box_text)"
expect_contains "creation failed, -4" "not enough memory" "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

use_runtime create-fails-7
drive --press 1
expect_contains "creation failed, unknown code" "did not accept the settings it was given." "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

use_runtime
settings "" com.example.Missing
drive --press 1
expect_contains "missing class" 'The Java class "com.example.Missing" could not be found or loaded' "$(box_text)"
expect_contains "missing class, reason" 'java.lang.ClassNotFoundException: com.example.Missing' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

settings "" test.app.NoMain
drive --press 1
expect_contains "no main" 'The Java class "test.app.NoMain" has no main method that this Java runtime starts' "$(box_text)"
expect_contains "no main, reason" 'java.lang.NoSuchMethodError: static Ltest/app/NoMain;.main([Ljava/lang/String;)V' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

# Without the runtime's boot loader lookup the class comes through FindClass, with its own reasons.
use_runtime no-boot-loader-lookup
settings "" com.example.Missing
drive --press 1
expect_contains "missing class, FindClass" 'The Java class "com.example.Missing" could not be found or loaded' "$(box_text)"
expect_contains "missing class, FindClass, reason" 'java.lang.NoClassDefFoundError: com/example/Missing' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

settings "" test.app.BrokenInit
drive --press 1
expect_contains "initializer throws, FindClass, reason" 'java.lang.ExceptionInInitializerError\nCaused by: java.lang.IllegalStateException' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

settings "" test.app.NonStaticMain
drive --press 1
expect_contains "main not static, FindClass" 'The Java class "test.app.NonStaticMain" has no main method that this Java runtime starts' "$(box_text)"
expect_contains "main not static, FindClass, reason" 'java.lang.NoSuchMethodError: static Ltest/app/NonStaticMain;.main([Ljava/lang/String;)V' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"
