# Sourced by the project's scripts: installs the Debian packages that are
# missing, and only those, so a fresh Debian 12 machine needs nothing else.

# need_packages PACKAGE...: installs each PACKAGE that dpkg does not have yet.
need_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "missing Debian packages: ${missing[*]}; install them as root (apt-get install ${missing[*]})" >&2
            return 1
        fi
        sudo=(sudo)
    fi
    echo "installing missing Debian packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -q || return 1
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# need_foreign_architecture ARCH: lets dpkg install packages of ARCH (wine32
# is an i386 package). Packages of it are then missing, so the next
# need_packages updates the package lists.
need_foreign_architecture() {
    dpkg --print-foreign-architectures | grep -qx "$1" && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "adding the dpkg architecture $1"
    "${sudo[@]}" dpkg --add-architecture "$1"
}
