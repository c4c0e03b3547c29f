# Sourced by the scripts that run our Windows programs under Wine: the prefix
# of our own below build/, quiet Wine, and the loaders to start programs with.
export WINEPREFIX="$PWD/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Debian's /usr/bin/wine starts every program through the 32-bit loader when
# wine32 is installed; 64-bit programs go straight to the 64-bit loader, so
# that only the 32-bit ones pay for an emulated loader.
WINE64=(wine)
if [ -x /usr/lib/wine/wine64 ]; then WINE64=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64); fi
WINE32=(wine)

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating the Wine prefix in $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "${WINE64[@]}" wineboot.exe -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
