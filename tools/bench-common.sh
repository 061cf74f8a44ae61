# Shared settings of the Wine test bench; sourced by the scripts in tools/.
#
# The bench lives in one cache folder per machine (LAUNCHER_BENCH, default /srv/launcher-bench):
#   sid/  a Debian sid tree with Wine and Xvfb, entered with chroot; runs 64-bit programs;
#   vm/   a copy of that tree booted as a QEMU virtual machine; runs 32-bit programs too,
#         which this host's processor setup cannot run directly.
# The project folder is bind-mounted into both at its own path, so paths need no translation.

BENCH=${LAUNCHER_BENCH:-/srv/launcher-bench}
SID=$BENCH/sid
VMROOT=$BENCH/vm
WINE_DIR=/usr/lib/x86_64-linux-gnu/wine
# Wine prefixes, as paths inside the trees. The headless one serves the "win" layer (message
# boxes return at once without a display), the other the "gui" layer under Xvfb.
PREFIX_X64=/bench/prefix-x64
PREFIX_X64_GUI=/bench/prefix-x64-gui
PREFIX_X86=/bench/prefix-x86
# The HotSpot versions installed in the sid tree for the JNI tests (tests/jvm), besides the host's
# own 17; where each one's notes go, as a path inside the tree.
RUNTIME_VERSIONS="8 11 21 25 26"
RUNTIME_NOTES=/bench/runtimes
GUI_DISPLAY_X64=:91
GUI_DISPLAY_X86=:99
REPO=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd -P)
CHROOT_PATH="$WINE_DIR:/usr/local/bin:/usr/bin:/bin:/usr/local/sbin:/usr/sbin:/sbin"

log() { echo "[bench] $*" >&2; }

# apt_archive_uri [APT_DIR]: the URI of the first Debian archive in the apt sources of this
# machine (APT_DIR, default /etc/apt): sources.list, then sources.list.d/*.list and *.sources
# in name order, as apt reads them. An archive is taken from an enabled "deb" entry with an
# http, https or file URI that serves a release itself (the machine's codename, sid, unstable,
# testing, stable...), not its -security, -updates or -backports suites, and not a suite of
# another vendor. Prints nothing and fails when there is none.
apt_archive_uri() {
    apt_dir=${1:-/etc/apt}
    codename=
    [ -r /etc/os-release ] && codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    set --
    [ -f "$apt_dir/sources.list" ] && set -- "$apt_dir/sources.list"
    for f in "$apt_dir"/sources.list.d/*; do
        case $f in *.list|*.sources) [ -f "$f" ] && set -- "$@" "$f" ;; esac
    done
    [ $# -gt 0 ] || return 1
    awk -v codename="$codename" '
    function release(suite) {
        return suite != "" && (suite == codename || suite ~ /^(sid|unstable|testing|stable|oldstable|oldoldstable|experimental)$/)
    }
    function usable(uri) { return uri ~ /^(https?:\/\/|file:\/)/ }
    function found(uri) { print uri; done = 1; exit }
    # deb822 stanzas (.sources): fields kept in lower case, continuation lines appended.
    function stanza_end(    n, i, words, deb, ok) {
        if (!done && tolower(field["enabled"]) != "no") {
            n = split(field["types"], words, /[ \t]+/)
            for (i = 1; i <= n; i++) if (words[i] == "deb") deb = 1
            ok = 0
            n = split(field["suites"], words, /[ \t]+/)
            for (i = 1; i <= n; i++) if (release(words[i])) ok = 1
            if (deb && ok) {
                n = split(field["uris"], words, /[ \t]+/)
                for (i = 1; i <= n; i++) if (usable(words[i])) found(words[i])
            }
        }
        split("", field); key = ""
    }
    FNR == 1 { if (deb822) stanza_end(); deb822 = FILENAME ~ /\.sources$/ }
    deb822 && /^[ \t]*#/ { next }
    deb822 && /^[ \t]*$/ { stanza_end(); next }
    deb822 && /^[ \t]/ { if (key != "") field[key] = field[key] " " $0; next }
    deb822 {
        key = tolower($0); sub(/:.*/, "", key)
        value = $0; sub(/^[^:]*:[ \t]*/, "", value)
        field[key] = value; next
    }
    # One-line entries (sources.list, .list): "deb [options] URI SUITE COMPONENT...".
    {
        line = $0; sub(/#.*/, "", line)
        n = split(line, words, /[ \t]+/)
        i = (words[1] == "") ? 2 : 1
        if (words[i] != "deb") next
        i++
        if (words[i] ~ /^\[/) { while (i <= n && words[i] !~ /\]$/) i++; i++ }
        if (usable(words[i]) && release(words[i + 1])) found(words[i])
    }
    END { if (!done && deb822) stanza_end(); if (!done) exit 1 }
    ' "$@"
}

# bench_mirror [APT_DIR]: the Debian archive the bench's tree is made from: LAUNCHER_MIRROR,
# else the one this machine's apt uses.
bench_mirror() {
    if [ -n "${LAUNCHER_MIRROR:-}" ]; then echo "$LAUNCHER_MIRROR"; return 0; fi
    apt_archive_uri "$@" && return 0
    log "no Debian archive found in this machine's apt sources (/etc/apt/sources.list, /etc/apt/sources.list.d/*.list, *.sources); set LAUNCHER_MIRROR to the URI of one"
    return 1
}

# The bench mounts and enters chroots, so it runs as root; re-run through sudo otherwise.
need_root() {
    [ "$(id -u)" = 0 ] && return 0
    command -v sudo >/dev/null 2>&1 || { log "needs root (or sudo)"; exit 125; }
    exec sudo -E "$0" "$@"
}

ensure_mount() { # ensure_mount SRC DST [mount options...]
    src=$1; dst=$2; shift 2
    mountpoint -q "$dst" && return 0
    mkdir -p "$dst"; mount "$@" "$src" "$dst"
}

# Binds the project folder into TREE at the same path (idempotent). A bind left there by an
# earlier checkout at the same path (a clone since removed and made anew, as a CI run does)
# shows the old folder, not this one: it is taken down before this folder is bound.
bind_repo() {
    tree=$1
    for attempt in 1 2 3 4; do
        [ "$(stat -c %d:%i "$REPO" 2>/dev/null)" = "$(stat -c %d:%i "$tree$REPO" 2>/dev/null)" ] && return 0
        if mountpoint -q "$tree$REPO"; then
            umount -l "$tree$REPO"
        else
            mkdir -p "$tree$REPO" && mount --bind "$REPO" "$tree$REPO"
        fi
    done
    log "cannot bind $REPO into $tree"
    return 1
}

sid_mounts() {
    ensure_mount proc "$SID/proc" -t proc
    ensure_mount sysfs "$SID/sys" -t sysfs
    ensure_mount /dev "$SID/dev" --bind
    ensure_mount /dev/pts "$SID/dev/pts" --bind
    ensure_mount /dev/shm "$SID/dev/shm" --bind
    bind_repo "$SID"
}

# The virtual machine's root is shared with virtiofsd, which wants it to be a mount root: bind
# it onto itself before anything is mounted inside it.
vm_mounts() {
    mountpoint -q "$VMROOT" || mount --bind "$VMROOT" "$VMROOT"
    ensure_mount proc "$VMROOT/proc" -t proc
    ensure_mount /dev "$VMROOT/dev" --bind
    ensure_mount /dev/pts "$VMROOT/dev/pts" --bind
    bind_repo "$VMROOT"
}

sid_ready() { [ -x "$SID$WINE_DIR/wine" ] && [ -e "$SID/.bench-ready" ]; }
vm_ready() { [ -e "$VMROOT/.bench-ready" ] && [ -e "$VMROOT$PREFIX_X86/.bench-ready" ]; }
