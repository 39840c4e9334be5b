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

# update_package_lists LOG: apt-get update, tried a few times, its output in
# LOG. A mirror may fail an index for a while (one in mid-sync serves it at
# the wrong size), so a failure is only told, in one line per index: whether
# the install can do without it decides.
update_package_lists() {
    local log=$1 attempt output status
    for attempt in 1 2 3; do
        [ "$attempt" -eq 1 ] || sleep 10
        status=0
        output=$(as_root apt-get update 2>&1) || status=$?
        echo "$output" >>"$log"
        [ "$status" -ne 0 ] || return 0
    done
    # Each index that failed, by its address and name: from apt's Err lines,
    # or else its "Failed to fetch" ones; where too long, without the start
    # of the address, as the end tells indexes apart. Or else apt's first
    # error.
    echo "$output" | awk -v file="$log" '
        function failed(name) {
            sub(/^[a-z]+:\/\//, "", name)
            if (length(name) > 74) name = "..." substr(name, length(name) - 70)
            return "apt-get update failed for " name
        }
        /^Err:/ { sub(/^Err:[^ ]* +/, ""); err[++errs] = failed($0) }
        /^[EW]: Failed to fetch / { url = $5; sub(/\/by-hash\/.*/, "", url); fetch[++fetches] = failed(url) }
        /^E: / && error == "" { error = substr($0, 4) }
        END {
            if (errs) for (i = 1; i <= errs; i++) print err[i]
            else if (fetches) for (i = 1; i <= fetches; i++) print fetch[i]
            else if (error != "") print substr("apt-get update failed: " error, 1, 100)
            else print "apt-get update failed; its output is in " file
        }' >&2
}

# install_packages SHOW_FAILURE WHY PACKAGE...: installs each PACKAGE that
# dpkg does not have yet, in one line that says what and WHY; apt's output
# goes to a log, shown at a failure if SHOW_FAILURE is true. The package
# lists are updated once a run, before the first install.
install_packages() {
    local show_failure=$1 why=$2 missing=() package
    shift 2
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
    if [ -z "${package_lists_updated:-}" ]; then
        : >"$log"
        update_package_lists "$log"
        package_lists_updated=yes
    fi
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" \
        >>"$log" 2>&1 && return 0
    if $show_failure; then
        # apt's lines can be twice as wide as a terminal.
        echo "Installing failed. The last lines of $log:" >&2
        tail -n 20 "$log" | fold -s -w 100 >&2
    fi
    return 1
}

# need_packages WHY PACKAGE...: installs the missing PACKAGEs, or says why not.
need_packages() {
    install_packages true "$@"
}

# want_packages WHY PACKAGE...: the same, for packages the caller can do
# without: it tells what a failure means, apt's log stays in the log.
want_packages() {
    install_packages false "$@"
}

# need_foreign_architecture ARCH: lets dpkg install packages of ARCH (wine32
# is an i386 package). Its package lists are then missing, so the next
# install updates the lists again.
need_foreign_architecture() {
    dpkg --print-foreign-architectures | grep -qx "$1" && return 0
    can_be_root "dpkg --add-architecture $1" || return 1
    echo "Adding dpkg's architecture $1 (wine's 32-bit loader is an $1 package)" >&2
    as_root dpkg --add-architecture "$1"
    package_lists_updated=
}
