# What the user reads when the runtime cannot be loaded, the VM cannot be created, or the main
# class is missing; each ends the launcher with -1.
new_case
: > app.jar
settings() { write_ini app.ini "[Java Runtime Environment]" "Main Class=${2:-test.app.Report}" "JRE Path=jre" \
    "Virtual Machine Parameters=$1" "[Class Path]" "Class Path=\\app.jar"; }
box_text() { report "window 1 text"; }

mkdir -p jre/bin/client
echo "not a library" > jre/bin/client/jvm.dll
settings
drive --press 1
expect_contains "unloadable runtime" "could not be loaded" "$(box_text)"
expect_contains "unloadable runtime" 'jre\bin\client\jvm.dll' "$(box_text)"
expect_contains "unloadable runtime" "error 193" "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

use_runtime no-default-args
drive --press 1
expect_contains "missing entry point" "lacks a function the program needs" "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"

use_runtime
settings "-Xmx64m -Xbogus"
drive --press 1
expect_contains "unrecognised option" "may not be recognised" "$(box_text)"
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

use_runtime no-boot-loader-lookup
settings "" com.example.Missing
drive --press 1
expect_contains "missing class" 'The Java class "com/example/Missing" was not found' "$(box_text)"
expect_eq "exit code" -1 "$(report exit)"
