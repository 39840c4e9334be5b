#!/usr/bin/env bash
# Checks the Debian package as a user meets it: lintian; its manual pages
# rendered at several widths; then installed, run from PATH, its pages found,
# and purged without a trace. The purge runs whatever failed before it. A
# dalemira that is already installed here is left alone; where root is out
# of reach without a password prompt, that part is skipped, never waited for.
# Usage: check_debian_package.sh DEB EXPECTED_OUTPUT_OF_a_100_n
set -euo pipefail
deb=$(realpath "$1")
expected=$2
. "$(dirname "$0")/../scripts/packages.sh"

root_flag=()
[ "$(id -u)" -eq 0 ] && root_flag=(--allow-root)
lintian "${root_flag[@]}" --fail-on error,warning "$deb"

status=0
unpacked=$(mktemp -d "${TMPDIR:-/tmp}/dalemira-deb.XXXXXX")
stand_ins=$(mktemp -d "${TMPDIR:-/tmp}/dalemira-stand-ins.XXXXXX")
installed_here=false
purge() { quietly build/logs/purge.log as_root apt-get purge -y dalemira; }
cleanup() {
    rm -rf "$unpacked" "$stand_ins"
    if $installed_here; then purge; fi
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$unpacked"
# The pages as shipped: no warning, a whatis line, no word broken with a
# hyphen at a line end (groff's own hyphen, U+2010, or an ASCII one), and no
# gap of three spaces or more between two words of prose, as justifying
# around a long quoted screen text leaves. man-db sets no hyphenation
# language for a page under an id/ folder; a copy elsewhere, as `man -l`
# reads one, is hyphenated as the page itself says.
for page in /usr/share/man/man1/dalemira.1.gz /usr/share/man/id/man1/dalemira.1.gz; do
    cp "$unpacked$page" "$unpacked/page.1.gz"
    # The examples' padding is the program's own.
    zcat "$unpacked/page.1.gz" | sed -n '/^\.EX/,/^\.EE/p' >"$unpacked/examples"
    for width in 60 72 80 100 120; do
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=$width man --warnings -l "$unpacked/page.1.gz" 2>&1 >"$unpacked/rendered")
        [ -z "$warnings" ] || { echo "$page at $width columns: $warnings"; status=1; }
        broken=$(grep -n -E -- '(-|‐) *$' "$unpacked/rendered" || true)
        [ -z "$broken" ] || { echo "$page at $width columns breaks a word with a hyphen:"; echo "$broken"; status=1; }
        # Not the header and footer, nor the gap between a tagged
        # paragraph's tag and its text, which starts in column 15.
        gaps=$(awk 'FNR == NR { example[$0]; next }
            /DALEMIRA\(1\)$/ { next }
            { line = $0
              if (match(line, /^       [^ ]+ +/) && RLENGTH == 14) line = substr(line, 15)
              sub(/^ +/, "", line)
              if (!(line in example) && line ~ /[^ ]   +[^ ]/) print FNR ": " $0 }' \
            "$unpacked/examples" "$unpacked/rendered")
        [ -z "$gaps" ] || { echo "$page at $width columns has wide gaps between words:"; echo "$gaps"; status=1; }
        # A section's name, where the text points to it, stays on one line:
        # the end of one line and the start of the next must not hold it.
        split=$(awk '/^[A-Z]+( [A-Z]+)+$/ { heading[$0] }
            { line[NR] = $0 }
            END { for (n = 2; n <= NR; n++) {
                    before = line[n - 1]; sub(/ +$/, "", before)
                    after = line[n]; sub(/^ +/, "", after)
                    for (name in heading) {
                        at = index(before " " after, name)
                        if (at && at <= length(before) && at + length(name) > length(before) + 1)
                            print n - 1 ": " name } } }' "$unpacked/rendered")
        [ -z "$split" ] || { echo "$page at $width columns splits a section name:"; echo "$split"; status=1; }
    done
    lexgrog "$unpacked$page" >/dev/null || { echo "$page: lexgrog finds no whatis line"; status=1; }
done

# Whether root can be reached, decided with stand-ins for id and sudo first
# on PATH: a uid, then what `sudo -n` exits with (none: no sudo). Asked
# without -n, the stand-in succeeds, as a sudo would once a password is typed
# at its prompt: a run must never stop at one.
while read -r uid sudo_n root_expected; do
    printf '#!/bin/sh\necho %s\n' "$uid" >"$stand_ins/id"
    printf '#!/bin/sh\n[ "$1" = -n ] || exit 0\nexit %s\n' "$sudo_n" >"$stand_ins/sudo"
    [ "$sudo_n" != none ] || rm "$stand_ins/sudo"
    chmod +x "$stand_ins"/*
    reached=$(PATH=$stand_ins && root_without_asking && echo yes || echo no)
    [ "$reached" = "$root_expected" ] || { echo "uid $uid, sudo -n $sudo_n: root reached: $reached"; status=1; }
done <<'TABLE'
0    none yes
1000 none no
1000 0    yes
1000 1    no
TABLE
# A package to install with the last stand-in sudo and no terminal: what
# root should run, and nothing tried (any log would go to the stand-ins).
printf '#!/bin/sh\nexit 1\n' >"$stand_ins/dpkg-query"
chmod +x "$stand_ins/dpkg-query"
refusal=$(cd "$stand_ins" && PATH=$stand_ins:$PATH need_packages "to test" dalemira-stand-in </dev/null 2>&1 && echo "status 0" || echo "status $?")
expected_refusal="This needs root, and sudo cannot ask for a password: input is not a terminal. As root, run:
    apt-get update && apt-get install -y --no-install-recommends \\
        dalemira-stand-in
status 1"
[ "$refusal" = "$expected_refusal" ] || { echo "need_packages without root, at no terminal, said:"; echo "$refusal"; status=1; }

installed=$(dpkg-query -W -f='${db:Status-Status} ${Version}' dalemira 2>/dev/null || true)
if [ -n "$installed" ] && [ "${installed%% *}" != not-installed ]; then
    echo "Skipped installing: dalemira ${installed#* } is on this machine (${installed%% *})."
    exit $status
fi
if ! root_without_asking; then
    how="run sudo -v just before, or run it as root"
    command -v sudo >/dev/null || how="there is no sudo; run as root"
    echo "Skipped installing: it needs root; $how."
    exit $status
fi

files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\.||' | grep -v '/$')
installed_here=true
quietly build/logs/install.log as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb"

actual=$(printf 'a\n100\nn\n' | dalemira; echo "status $?")
if [ "$actual" != "$(cat "$expected"; echo "status 0")" ]; then
    echo "dalemira from PATH ($(command -v dalemira)) wrote other bytes than $expected, or ended otherwise:"
    diff <(cat "$expected"; echo "status 0") <(echo "$actual") || true
    status=1
fi
for language in C id; do
    page=$(man -L "$language" -w dalemira)
    case $language:$page in
    C:/usr/share/man/man1/dalemira.1.gz | id:/usr/share/man/id/man1/dalemira.1.gz) ;;
    *) echo "man -L $language -w dalemira found '$page'"; status=1 ;;
    esac
done

installed_here=false
purge
for file in $files /usr/share/doc/dalemira; do
    [ ! -e "$file" ] || { echo "left after purging: $file"; status=1; }
done
exit $status
