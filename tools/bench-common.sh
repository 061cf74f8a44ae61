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
MIRROR=${LAUNCHER_MIRROR:-http://deb.debian.org/debian}
WINE_DIR=/usr/lib/x86_64-linux-gnu/wine
# Wine prefixes, as paths inside the trees. The headless one serves the "win" layer (message
# boxes return at once without a display), the other the "gui" layer under Xvfb.
PREFIX_X64=/bench/prefix-x64
PREFIX_X64_GUI=/bench/prefix-x64-gui
PREFIX_X86=/bench/prefix-x86
GUI_DISPLAY_X64=:91
GUI_DISPLAY_X86=:99
REPO=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd -P)
CHROOT_PATH="$WINE_DIR:/usr/local/bin:/usr/bin:/bin:/usr/local/sbin:/usr/sbin:/sbin"

log() { echo "[bench] $*" >&2; }

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

# Binds the project folder into TREE at the same path (idempotent).
bind_repo() {
    tree=$1
    if ! [ "$(stat -c %d:%i "$REPO" 2>/dev/null)" = "$(stat -c %d:%i "$tree$REPO" 2>/dev/null)" ]; then
        ensure_mount "$REPO" "$tree$REPO" --bind
    fi
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
