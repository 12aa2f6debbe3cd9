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
