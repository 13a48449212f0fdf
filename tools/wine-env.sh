# Sourced by the test and demo scripts: a Wine prefix inside a build folder,
# code page 1251, and (where there is no display) a virtual one.
# Usage: wine_env_start BUILD_DIR; ...; wine_env_stop

wine_env_start() {
  local build
  build="$(mkdir -p "$1" && cd "$1" && pwd)"
  export WINEPREFIX="$build/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINESERVER=/usr/lib/wine/wineserver
  # Wine needs the Russian locale for code page 1251 and for Cyrillic file
  # names; build it privately so the machine's locales stay as they are.
  if [ ! -d "$build/locale/ru_RU.UTF-8" ]; then
    mkdir -p "$build/locale"
    localedef -i ru_RU -f UTF-8 "$build/locale/ru_RU.UTF-8" 2>/dev/null || true
  fi
  export LOCPATH="$build/locale"
  export VARNOLT_LC_ALL=ru_RU.UTF-8

  WINE_ENV_XVFB_PID=""
  if [ -z "${VARNOLT_USE_DISPLAY:-}" ]; then
    local n=97
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi

  # 32-bit programs run in a prefix made after the 32-bit Wine was installed:
  # one made before has an empty syswow64, where every 32-bit program ends at
  # once. Such a prefix is made anew.
  if [ -f "$WINEPREFIX/system.reg" ] && [ -d /usr/lib/i386-linux-gnu/wine ] &&
     [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    LC_ALL=ru_RU.UTF-8 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
    # No window manager here: without this every hide or exit waits 2 s.
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A crash prints a backtrace instead of waiting for a dialog to be closed.
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
  fi
  # One persistent server: a program then starts in a tenth of a second.
  /usr/lib/wine/wineserver -p
  # Start Wine's own services now, with nothing attached to their output:
  # started later, they would hold a test runner's output pipe open.
  LC_ALL=ru_RU.UTF-8 /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
  fi
}

# Why this machine cannot run the 32-bit build under Wine, or nothing when it
# can as far as the 32-bit loader shows: some kernels run no 32-bit program
# at all, whatever is installed. VARNOLT_ASSUME_NO_WIN32=1 answers "cannot".
wine_32bit_cause() {
  local said
  if [ "${VARNOLT_ASSUME_NO_WIN32:-}" = 1 ]; then
    echo "VARNOLT_ASSUME_NO_WIN32=1 is set, so 32-bit programs are taken not to run here"
  elif [ ! -x /usr/lib/wine/wine ]; then
    echo "the 32-bit Wine (wine32:i386) is not installed: /usr/lib/wine/wine is missing"
  elif ! said=$(/usr/lib/wine/wine --version 2>&1); then
    echo "this machine's kernel cannot run 32-bit programs: /usr/lib/wine/wine --version says" \
         "\"$(tail -1 <<<"$said" | sed 's/^.*wine: //')\""
  fi
}

