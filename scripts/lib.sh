# Shared by the scripts: paths, the Wine prefix of the build tree and the choice of Windows build.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# The shipped program is 32-bit. Some virtual machines cannot execute 32-bit code at all (the
# kernel refuses i386 binaries, so 32-bit Wine cannot start); there the Win32 tests run against
# the 64-bit build of the same sources, and the scripts say so.
win_arch() {
  if [ -n "${MOODPAD_WIN_ARCH:-}" ]; then echo "$MOODPAD_WIN_ARCH"; return; fi
  if [ -x /usr/lib/wine/wine ] && timeout 5 /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo i686
  else
    echo x86_64
  fi
}

win_build_dir() { if [ "$(win_arch)" = i686 ]; then echo "$BUILD/i686"; else echo "$BUILD/win64"; fi; }

wine_loader() { if [ "$(win_arch)" = i686 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi; }

# A Wine prefix of the build tree, on the null graphics driver, with a persistent wineserver.
wine_prefix_up() {
  export WINEPREFIX=${1:-$BUILD/wineprefix}
  export WINELOADER=$(wine_loader)
  export WINESERVER=/usr/lib/wine/wineserver
  if [ "$(win_arch)" = x86_64 ]; then export WINEARCH=win64; fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
  fi
  "$WINESERVER" -p >/dev/null 2>&1 || true
  "$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "${MOODPAD_WINE_GRAPHICS:-null}" /f >/dev/null 2>&1
}

wine_prefix_down() { "${WINESERVER:-/usr/lib/wine/wineserver}" -k >/dev/null 2>&1 || true; }

# File systems of their own for the fault tests (tests/e2e/lifecycle/FaultsTest.cpp), as drive M:
# of the Wine prefix: "full", a 2 MB one the tests fill up, and "ro", a read-only view of "rw". Mounting needs root; where the
# machine refuses, MOODPAD_FAULT_DIR stays unset and those cases say that they were skipped.
fault_mounts_up() {
  FAULTS=$BUILD/faults
  fault_mounts_down
  mkdir -p "$FAULTS/full" "$FAULTS/rw" "$FAULTS/ro"
  if mount -t tmpfs -o size=2m moodpad-full "$FAULTS/full" 2>/dev/null &&
     mount --bind "$FAULTS/rw" "$FAULTS/ro" 2>/dev/null &&
     mount -o remount,bind,ro "$FAULTS/ro" 2>/dev/null; then
    # A drive of its own: the C runtime tells files apart by drive, and the copies must not look
    # like the program's own folder on Z:.
    ln -sfn "$FAULTS" "$WINEPREFIX/dosdevices/m:"
    export MOODPAD_FAULT_DIR='M:'
  else
    echo "NOTE: no mounts allowed here: the disk-full and read-only-folder tests are skipped"
    fault_mounts_down
  fi
}

fault_mounts_down() {
  local m
  rm -f "${WINEPREFIX:-$BUILD/wineprefix}/dosdevices/m:"
  for m in ro full; do
    while mountpoint -q "$BUILD/faults/$m" 2>/dev/null; do umount "$BUILD/faults/$m" || break; done
  done
}
