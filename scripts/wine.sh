# Sourced by scripts/test: one private wine prefix and one wineserver for the
# whole run, both gone when the run ends: the caller runs stop_wine on exit.

# start_wine LOADER: prepares wine for programs started by LOADER.
start_wine() {
    local loader=$1
    wine_home=$(mktemp -d "${TMPDIR:-/tmp}/dalemira-wine.XXXXXX")
    # Neither Mono nor Gecko (mscoree, mshtml), and no desktop: at the first
    # key typed into its console, wine starts explorer.exe for one, which
    # fails without a display, and under load the console then may never
    # read the terminal again. No menu builder either: even for a private
    # prefix, it makes empty menu and desktop-entry folders in the home.
    export WINEPREFIX="$wine_home/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;explorer.exe=d;winemenubuilder.exe=d"
    mkdir "$WINEPREFIX"
    # Started away from our terminal and pipes: the server and wine's
    # services outlive each program, and would hold ctest's pipes open.
    wineserver -p </dev/null >/dev/null 2>&1
    if ! timeout 300 "$loader" wineboot -i </dev/null >"$wine_home/wineboot.log" 2>&1; then
        echo "wine could not start: '$loader wineboot -i' failed or ran past 300 s." >&2
        echo "Its output:" >&2
        cat "$wine_home/wineboot.log" >&2
        return 1
    fi
}

# stop_wine: ends the wineserver and removes the prefix, if start_wine ran.
stop_wine() {
    [ -n "${wine_home:-}" ] || return 0
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$wine_home"
}

# runs_32_bit_programs: whether this kernel can start wine's 32-bit loader.
# Some kernels are built or booted without 32-bit support.
runs_32_bit_programs() {
    timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1
}
