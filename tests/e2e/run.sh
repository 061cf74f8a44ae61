#!/bin/sh
# run.sh ARCH BUILD_DIR CASE_SCRIPT: runs one end-to-end case in its own folder; its exit code
# is the verdict.
ARCH=$1; BUILD_DIR=$2; script=$(readlink -f "$3")
CASE=$(basename "$script" .sh)
case $ARCH in
    x86) LAUNCHER_EXE=$BUILD_DIR/launcher.exe ;;
    *) LAUNCHER_EXE=$BUILD_DIR/launcher64.exe ;;
esac
UIDRIVER_EXE=$BUILD_DIR/testing/uidriver/uidriver.exe
E2E_DIR=$(dirname "$(readlink -f "$0")")
. "$E2E_DIR/lib.sh"
. "$script"
echo "PASS: $CASE ($ARCH)"
