#!/usr/bin/env bash
# Checks how scripts/packages.sh installs and how scripts/wine.sh chooses the
# Windows tests' wine, with stand-ins first on PATH for apt-get, dpkg,
# dpkg-query, id (root) and sleep, and a kernel that does or does not start
# 32-bit programs: what apt is asked, which branch is taken, and what a user
# reads, in lines of at most 100 columns. Needs nothing installed.
set -euo pipefail
scripts=$(cd "$(dirname "$0")/../scripts" && pwd)
. "$scripts/packages.sh"
. "$scripts/wine.sh"

here=$(mktemp -d "${TMPDIR:-/tmp}/dalemira-installing.XXXXXX")
trap 'rm -rf "$here"' EXIT
cd "$here"
mkdir bin state
# The stand-ins keep their state in state/, here, where the installing runs,
# and say what each was asked in state/calls, one word a call.
cat >bin/apt-get <<'EOF'
#!/bin/sh
# update: as state/update says, ok, failing once, or failing one index
# always (index, fetch). install: adds the packages, unless one is in state/uninstallable.
if [ "$1" = update ]; then
    echo update >>state/calls
    mode=$(cat state/update)
    if [ "$mode" = ok ] || { [ "$mode" = once ] && [ "$(grep -c update state/calls)" -gt 1 ]; }; then
        exit 0
    fi
    echo "Get:1 http://ftp.a-mirror-in-mid-sync.example.org/debian bookworm InRelease"
    mirror=http://ftp.a-mirror-in-mid-sync.example.org/debian-security
    # Without the Err line, where state/update says fetch.
    [ "$mode" = fetch ] || echo "Err:6 $mirror bookworm-security/main i386 Packages"
    echo "  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Failed to fetch $mirror/dists/bookworm-security/main/binary-i386/by-hash/SHA256/5aa58ea4  File has unexpected size"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
fi
for package; do
    case $package in install | -*) continue ;; esac
    echo "install:$package" >>state/calls
    if grep -qx "$package" state/uninstallable; then
        echo "The following packages have unmet dependencies:"
        # As wide as apt's own such lines, and then some.
        printf ' %s:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed%0120d\n' "$package" 0
        echo "E: Unable to correct problems, you have held broken packages."
        exit 100
    fi
    echo "$package" >>state/installed
done
EOF
# dpkg-query -W -f='${Status}' PACKAGE
printf '#!/bin/sh\ngrep -qx "$3" state/installed && printf "install ok installed"\n' >bin/dpkg-query
# dpkg --print-foreign-architectures, or dpkg --add-architecture ARCH
cat >bin/dpkg <<'EOF'
#!/bin/sh
[ "$1" = --print-foreign-architectures ] && exec cat state/architectures
echo "add:$2" >>state/calls
echo "$2" >>state/architectures
EOF
printf '#!/bin/sh\necho 0\n' >bin/id
printf '#!/bin/sh\necho sleep >>state/calls\n' >bin/sleep
chmod +x bin/*

status=0
# Per row: a kernel starting 32-bit programs or not, whether dpkg has i386,
# wine32 installed or to install or not installable, how apt-get update
# behaves; then the branch, the first word of each line said, and the calls.
# After the choice, a package no branch can do without is installed, as
# scripts/test does.
while read -r kernel i386 wine32 update branch_expected lines_expected calls_expected; do
    : >state/calls
    : >state/uninstallable
    : >state/architectures
    echo "$update" >state/update
    [ "$i386" = no ] || echo i386 >state/architectures
    [ "$wine32" != uninstallable ] || echo wine32 >state/uninstallable
    if [ "$wine32" = installed ]; then echo wine32 >state/installed; else : >state/installed; fi
    (
        PATH=$here/bin:$PATH
        kernel_runs_32_bit_programs() { [ "$kernel" = 32 ]; }
        choose_windows_tests
        need_packages "to test" lintian || exit
        if [ -z "$win64_reason" ]; then echo win32 >state/branch; else echo win64 >state/branch; fi
    ) >output 2>&1 || echo "failed, status $?" >state/branch
    branch=$(cat state/branch)
    lines=$(awk '{ print $1 }' output | paste -s -d ,)
    calls=$(paste -s -d ' ' state/calls)
    if [ "$branch" != "$branch_expected" ] || [ "$lines" != "$lines_expected" ] ||
        [ "$calls" != "$calls_expected" ]; then
        echo "kernel $kernel, i386 $i386, wine32 $wine32, update $update: $branch; calls: $calls; said:"
        cat output
        status=1
    fi
    # Each index named is the one that fails.
    unnamed=$(grep '^apt-get' output | grep -v 'i386' || true)
    [ -z "$unnamed" ] || { echo "update $update: the failing index not named:"; echo "$unnamed"; status=1; }
    wide=$(awk 'length > 100' output)
    [ -z "$wide" ] || { echo "kernel $kernel, wine32 $wine32, update $update: lines too wide:"; echo "$wide"; status=1; }
done <<'TABLE'
64 no  installable   ok    win64 NOTE:,Installing                      update install:lintian
64 yes installed     index win64 NOTE:,Installing,apt-get              update sleep update sleep update install:lintian
64 yes installed     fetch win64 NOTE:,Installing,apt-get              update sleep update sleep update install:lintian
32 yes installed     ok    win32 Installing                            update install:lintian
32 no  installable   once  win32 Adding,Installing,Installing          add:i386 update sleep update install:wine32 install:lintian
32 no  installable   index win32 Adding,Installing,apt-get,Installing  add:i386 update sleep update sleep update install:wine32 install:lintian
32 no  uninstallable ok    win64 Adding,Installing,NOTE:,Installing    add:i386 update install:wine32 install:lintian
32 yes uninstallable index win64 Installing,apt-get,NOTE:,Installing   update sleep update sleep update install:wine32 install:lintian
TABLE

# The last row word for word, as a mirror in mid-sync has it; its address
# too long for the line, cut at the left.
expected="Installing wine32 to test the 32-bit Windows build; log: build/logs/apt.log
apt-get update failed for ...d-sync.example.org/debian-security bookworm-security/main i386 Packages
NOTE: wine32 could not be installed, so Windows tests run under wine64 (preset win64).
Installing lintian to test; log: build/logs/apt.log"
[ "$(cat output)" = "$expected" ] || { echo "A mirror failing an index and no wine32 said:"; cat output; status=1; }

# A package that nothing can do without fails the install, with apt's reason
# shown in full but folded to 100 columns.
: >state/calls
: >state/installed
echo ok >state/update
echo lintian >state/uninstallable
failure=$(PATH=$here/bin:$PATH && need_packages "to test" lintian 2>&1 && echo "status 0" || echo "status $?")
if [ "$(echo "$failure" | tail -n 1)" != "status 1" ] ||
    ! echo "$failure" | grep -q '^Installing failed. The last lines of build/logs/apt.log:$' ||
    ! echo "$failure" | tr -d '\n' | grep -q 'not going to be installed0\{120\}E: Unable to correct' ||
    [ -n "$(echo "$failure" | awk 'length > 100')" ]; then
    echo "An install that fails said:"
    echo "$failure"
    status=1
fi

# An architecture added after an install: the next install fetches its lists.
: >state/calls
: >state/uninstallable
: >state/architectures
calls=$(PATH=$here/bin:$PATH && { need_packages "" cmake && need_foreign_architecture i386 &&
    need_packages "" g++; } 2>/dev/null && paste -s -d ' ' state/calls)
[ "$calls" = "update install:cmake add:i386 update install:g++" ] || { echo "Adding i386 between installs: $calls"; status=1; }
exit $status
