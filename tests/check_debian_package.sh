#!/usr/bin/env bash
# Checks the Debian package as a user meets it: lintian, then installed, run
# from PATH, its manual pages found and rendered, and purged without a trace.
# The purge runs whatever failed before it.
# Usage: check_debian_package.sh DEB EXPECTED_OUTPUT_OF_a_100_n
set -euo pipefail
deb=$(realpath "$1")
expected=$2
. "$(dirname "$0")/../scripts/packages.sh"

root_flag=()
[ "$(id -u)" -eq 0 ] && root_flag=(--allow-root)
lintian "${root_flag[@]}" --fail-on error,warning "$deb"

files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\.||' | grep -v '/$')
purge() { quietly build/logs/purge.log as_root apt-get purge -y dalemira; }
trap purge EXIT
quietly build/logs/install.log as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb"

status=0
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
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings"; status=1; }
    lexgrog "$page" >/dev/null || { echo "$page: lexgrog finds no whatis line"; status=1; }
done

trap - EXIT
purge
for file in $files /usr/share/doc/dalemira; do
    [ ! -e "$file" ] || { echo "left after purging: $file"; status=1; }
done
exit $status
