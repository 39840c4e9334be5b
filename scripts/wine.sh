# Sourced by scripts/test: which wine runs the Windows tests; one private
# wine prefix and one wineserver for the whole run, both gone when the run
# ends: the caller runs stop_wine on exit.

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

# kernel_runs_32_bit_programs: whether this kernel starts 32-bit x86
# programs; some are built or booted without that. Asked of the kernel by
# starting the smallest such program, written here byte by byte: any other
# would need i386 packages (a libc, or wine's own 32-bit loader), and whether
# to install those is what this decides. Its exit status, 32, is its own:
# a kernel that refuses it makes the shell's 126.
kernel_runs_32_bit_programs() {
    local probe status=0
    probe=$(mktemp "${TMPDIR:-/tmp}/dalemira-i386.XXXXXX")
    {
        # ELF header: 32-bit, little-endian, an executable for the 80386
        # that starts right after the headers, at 0x08048054.
        printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0'
        printf '\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0'
        # One program header: the file's 96 bytes, readable and executable,
        # at 0x08048000.
        printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0'
        # mov eax, 1 (exit); mov ebx, 32; int 0x80
        printf '\270\1\0\0\0\273\40\0\0\0\315\200'
    } >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    [ "$status" -eq 32 ]
}

# choose_windows_tests: where the Windows tests run. The program ships for
# 32-bit Windows, and runs under wine's 32-bit loader (package wine32, added
# here if missing) where this kernel starts 32-bit programs. Elsewhere, or
# where wine32 cannot be installed, the same sources built for 64-bit Windows
# run under wine64: win64_reason says why, in the NOTE line printed.
choose_windows_tests() {
    win64_reason=
    if ! kernel_runs_32_bit_programs; then
        # Then neither dpkg's i386 architecture nor wine32 is of any use.
        win64_reason="this kernel cannot start 32-bit programs"
    elif ! { need_foreign_architecture i386 &&
        want_packages "to test the 32-bit Windows build" wine32; }; then
        win64_reason="wine32 could not be installed"
    fi
    [ -z "$win64_reason" ] ||
        echo "NOTE: $win64_reason, so Windows tests run under wine64 (preset win64)."
}
