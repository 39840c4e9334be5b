#!/usr/bin/env bash
# Makes the Debian package from a configured native build, as debhelper
# would: install into debian/dalemira/, let Debian's own tools compute the
# dependencies and the control file, and pack the tree with dpkg-deb.
# Usage: build-deb.sh BUILD_DIR PROJECT_VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$build/package
rm -rf "$work" "$build"/*.deb
mkdir -p "$work/debian"
cp "$here/debian/control" "$here/debian/changelog" "$work/debian/"
cd "$work"

changelog_version=$(dpkg-parsechangelog -S Version)
if [ "$changelog_version" != "$version-1" ]; then
    echo "packaging/debian/changelog is at $changelog_version, the project at $version-1:" \
        "add a changelog entry" >&2
    exit 1
fi
# Debian's own rule: without SOURCE_DATE_EPOCH, the changelog's date is the
# time of every file, so the same tree packs into the same bytes.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -S Timestamp)}

root=debian/dalemira
DESTDIR=$work/$root cmake --install "$build" --prefix /usr >/dev/null
# As dh_strip does: no symbols, and no compiler notes a user has no use for.
strip --remove-section=.comment --remove-section=.note "$root/usr/bin/dalemira"
doc=$root/usr/share/doc/dalemira
mkdir -p "$doc" "$root/usr/share/lintian/overrides"
cp "$here/debian/copyright" "$doc/"
cp "$here/debian/lintian-overrides" "$root/usr/share/lintian/overrides/dalemira"
gzip -9n -c debian/changelog >"$doc/changelog.Debian.gz"

# Modes and times from nothing but the tree itself, whatever the umask and
# the clock of this build.
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root/usr/bin/dalemira"
find "$root" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +

# DEBIAN/ marks the package's root for dpkg-shlibdeps.
mkdir "$root/DEBIAN"
dpkg-shlibdeps -T"debian/dalemira.substvars" "$root/usr/bin/dalemira"
echo "misc:Depends=" >>debian/dalemira.substvars
dpkg-gencontrol -pdalemira -T"debian/dalemira.substvars" -P"$root"
(cd "$root" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root"/DEBIAN/*
dpkg-deb --root-owner-group --build "$root" "$build"
