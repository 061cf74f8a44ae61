#!/bin/sh
# check-layers-test.sh CHECK-LAYERS: the layer check fails on source trees that include upwards or
# whose files need Windows without _win in their names, names each such include, and passes a tree
# whose includes all go down or stay in their folder.
check=$1
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# put TREE FILE LINE...: writes FILE of TREE with the given lines.
put() {
    tree=$1; file=$2; shift 2
    mkdir -p "$tree/$(dirname "$file")"
    printf '%s\n' "$@" > "$tree/$file"
}

# A tree with the allowed kinds of include only, and upward ones where they are not includes.
clean=$tmp/clean
put "$clean" app/main_win.cpp '#include "app/launcher_app_win.h"' '#include "ui/dialog.h"' '#include "jvm/vm_win.h"'
put "$clean" ui/dialog.h '#include "settings/settings.h"' '#include "resources/resource_ids.h"'
put "$clean" instance/single.cpp '#include "runtime/search.h"' '#include "base/text.h"'
put "$clean" jvm/vm_win.h '  #  include "settings/settings.h"' '#include <windows.h>' '#include "base/owners_win.h"'
put "$clean" jvm/include/jni_md.h '#include <windows.h>'
put "$clean" settings/settings.h '#include "runtime/search.h"' '// #include "app/launcher_app_win.h" is not an include'
put "$clean" runtime/search.h '#include "base/text.h"' '#include "jni.h"' '#include "gtest/gtest.h"'
put "$clean" base/text.h '#include "base/wide.h"'
put "$clean" resources/launcher.rc '#include "resource_ids.h"'
put "$clean" base/notes.txt '#include "app/launcher_app_win.h"'
out=$("$check" "$clean" 2>&1); rc=$?
[ $rc = 0 ] || fail "clean tree: exit $rc, expected 0; output: $out"
[ -z "$out" ] || fail "clean tree: unexpected output: $out"

# The same tree with upward includes in each kind of file the check reads.
wrong=$tmp/wrong
cp -R "$clean" "$wrong"
put "$wrong" settings/x.h '#pragma once' '#include "app/y.h"'
put "$wrong" runtime/z.h '#include "base/text.h"' '#include "settings/w.h"'
put "$wrong" base/b.cpp '#include "resources/resource_ids.h"'
put "$wrong" resources/extra.rc '#include "base/text.h"'
put "$wrong" tools/helper.cpp '#include "base/text.h"'
put "$wrong" ui/box.cpp '#include <Windows.h>'
put "$wrong" base/c.h '#include "base/owners_win.h"'
out=$("$check" "$wrong" 2>/dev/null); rc=$?
[ $rc = 1 ] || fail "wrong tree: exit $rc, expected 1"
for expected in \
    "$wrong/settings/x.h:2: settings -> app (app/y.h)" \
    "$wrong/runtime/z.h:2: runtime -> settings (settings/w.h)" \
    "$wrong/base/b.cpp:1: base -> resources (resources/resource_ids.h)" \
    "$wrong/resources/extra.rc:1: resources -> base (base/text.h)" \
    "$wrong/tools/helper.cpp:1: tools -> base (base/text.h)" \
    "$wrong/ui/box.cpp:1: needs Windows (Windows.h) but its name has no _win" \
    "$wrong/base/c.h:1: needs Windows (base/owners_win.h) but its name has no _win"; do
    printf '%s\n' "$out" | grep -qxF "$expected" || fail "wrong tree: missing [$expected]"
done
count=$(printf '%s\n' "$out" | grep -c .)
[ "$count" = 7 ] || fail "wrong tree: $count offending includes reported, expected 7: $out"

[ $failures = 0 ] && echo "PASS: check-layers"
[ $failures = 0 ]
