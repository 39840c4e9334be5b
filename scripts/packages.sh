# Sourced by the project's scripts: installs the Debian packages that are
# missing, and only those, so a fresh Debian 12 machine needs nothing else,
# and keeps the tools' output out of sight unless something fails.

# as_root COMMAND...: runs COMMAND as root, through sudo when we are not.
# sudo never prompts here: can_be_root is the one place that may ask.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi
}

# root_without_asking: whether as_root can work here now without a password
# prompt: as root, or where sudo needs no password or was just given one.
root_without_asking() {
    [ "$(id -u)" -eq 0 ] || sudo -n true 2>/dev/null
}

# can_be_root COMMAND_LINE: whether as_root can work here. At a terminal,
# sudo asks for the password if it needs one; it keeps it for a while, so
# the as_root calls that follow, and the package check, need not ask again.
# If not, says what root has to run instead.
can_be_root() {
    root_without_asking && return 0
    local why
    if ! command -v sudo >/dev/null; then
        why="there is no sudo"
    elif [ -t 0 ]; then
        # sudo's prompt, and its refusal if it refuses, are for the user.
        sudo -v && return 0
        why="sudo refused"
    else
        # Whether sudo would take a password or refuse this user, it could
        # only say so at a terminal.
        why="sudo cannot ask for a password: input is not a terminal"
    fi
    echo "This needs root, and $why. As root, run:" >&2
    echo "$1" | sed 's/^/    /' >&2
    return 1
}

# folded COMMAND: COMMAND in lines that fit 80 columns once indented, each
# but the last ending in a backslash, so that it can still be copied and
# run as it is.
folded() {
    echo "$1" | fmt -w 70 | sed -e '$!s/$/ \\/' -e '1!s/^/    /'
}

# quietly LOG COMMAND...: runs COMMAND with its output in LOG; shows that
# output only when COMMAND fails.
quietly() {
    local log=$1
    shift
    mkdir -p "$(dirname "$log")"
    "$@" >"$log" 2>&1 && return 0
    cat "$log" >&2
    echo "FAILED: $* (its output is above and in $log)" >&2
    return 1
}

# need_packages WHY PACKAGE...: installs each PACKAGE that dpkg does not have
# yet, in one line that says what and WHY; apt's output goes to a log.
need_packages() {
    local why=$1 missing=() package
    shift
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    can_be_root "$(folded "apt-get update && apt-get install -y --no-install-recommends ${missing[*]}")" ||
        return 1
    local log=build/logs/apt.log
    mkdir -p build/logs
    # Folded: the list of packages can be long, a terminal is not. A few
    # packages fit on one line.
    echo "Installing ${missing[*]} $why; log: $log" | fmt -w 80 >&2
    if ! { as_root apt-get update &&
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"; } \
        >"$log" 2>&1; then
        echo "Installing failed. The last lines of $log:" >&2
        tail -n 20 "$log" >&2
        return 1
    fi
}

# need_foreign_architecture ARCH: lets dpkg install packages of ARCH (wine32
# is an i386 package). Packages of it are then missing, so the next
# need_packages updates the package lists.
need_foreign_architecture() {
    dpkg --print-foreign-architectures | grep -qx "$1" && return 0
    can_be_root "dpkg --add-architecture $1" || return 1
    echo "Adding dpkg's architecture $1 (wine's 32-bit loader is an $1 package)" >&2
    as_root dpkg --add-architecture "$1"
}
