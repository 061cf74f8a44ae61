#!/bin/sh
# apt_archive_test.sh BENCH-COMMON: the bench takes its Debian archive from apt sources of the
# kinds a machine has (deb822 .sources, one-line sources.list and .list), skipping entries that
# are no release archive, and stops with a message when there is none.
. "$1"
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect_uri WHAT APT_DIR URI: apt_archive_uri APT_DIR prints URI and succeeds.
expect_uri() {
    got=$(apt_archive_uri "$2"); rc=$?
    [ $rc = 0 ] && [ "$got" = "$3" ] || fail "$1: expected [$3], got [$got] (exit $rc)"
}
# put FILE LINE...: writes FILE under $tmp.
put() { file=$tmp/$1; shift; mkdir -p "$(dirname "$file")"; printf '%s\n' "$@" > "$file"; }

# deb822 as a Debian installation writes it: the security archive comes second here, but the
# first usable stanza must serve a release, wherever the security one stands.
put deb822/sources.list.d/debian.sources \
    'Types: deb' '# a comment: http://comment.invalid/debian' 'URIs: http://security.invalid/debian-security' \
    'Suites: stable-security' 'Components: main' '' \
    'Types: deb-src' 'URIs: http://source-only.invalid/debian' 'Suites: stable' '' \
    'Types: deb' 'URIs: http://disabled.invalid/debian' 'Suites: stable' 'Enabled: no' '' \
    'types: deb deb-src' 'uris: cdrom:/media/cdrom/ http://main.invalid/debian' 'suites: sid experimental' \
    'Signed-By:' ' -----BEGIN PGP PUBLIC KEY BLOCK-----' ' .' ' -----END PGP PUBLIC KEY BLOCK-----'
expect_uri "deb822 release stanza after security, source-only and disabled ones" "$tmp/deb822" http://main.invalid/debian

# Another vendor's list comes first in name order; the last stanza of a file counts although
# no blank line ends it, and a field may go on in the next line; files of other extensions are
# not read.
put named/sources.list.d/a-vendor.list 'deb [arch=amd64] https://vendor.invalid/apt nodistro main'
put named/sources.list.d/b-debian.sources 'Types: deb' 'URIs:' '  https://first.invalid/debian' 'Suites: testing'
put named/sources.list.d/c-more.sources 'Types: deb' 'URIs: https://second.invalid/debian' 'Suites: testing'
put named/sources.list.d/0-old.list.disabled 'deb http://disabled.invalid/debian sid main'
expect_uri "first release archive in name order" "$tmp/named" https://first.invalid/debian

# One-line sources.list, read before sources.list.d.
put oneline/sources.list '# deb http://commented.invalid/debian sid main' \
    'deb-src http://source.invalid/debian sid main' \
    'deb mirror+file:/etc/apt/mirrors.txt sid main' \
    '  deb [ arch=amd64 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg ] file:/srv/archive unstable main # local'
put oneline/sources.list.d/debian.sources 'Types: deb' 'URIs: http://later.invalid/debian' 'Suites: sid'
expect_uri "one-line entry with options, in sources.list" "$tmp/oneline" file:/srv/archive

# Nothing usable: no result, and the bench says what to do.
put none/sources.list.d/vendor.list 'deb https://vendor.invalid/apt nodistro main'
got=$(apt_archive_uri "$tmp/none") && fail "no archive: succeeded with [$got]"
[ -z "$got" ] || fail "no archive: printed [$got]"
apt_archive_uri "$tmp/empty" >/dev/null && fail "no apt folder: succeeded"
msg=$(bench_mirror "$tmp/none" 2>&1) && fail "bench_mirror without an archive succeeded: $msg"
case $msg in *LAUNCHER_MIRROR*) ;; *) fail "bench_mirror without an archive does not name LAUNCHER_MIRROR: [$msg]" ;; esac
got=$(LAUNCHER_MIRROR=http://override.invalid/debian bench_mirror "$tmp/oneline")
[ "$got" = http://override.invalid/debian ] || fail "LAUNCHER_MIRROR does not win: [$got]"
got=$(bench_mirror "$tmp/oneline")
[ "$got" = file:/srv/archive ] || fail "bench_mirror does not use the apt sources: [$got]"

[ $failures = 0 ] && echo "PASS: apt archive"
[ $failures = 0 ]
