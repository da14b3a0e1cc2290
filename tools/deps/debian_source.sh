#!/bin/sh
# Unpacks one Debian source package pinned in pinned.txt into <dest>/<package>, once: the Windows
# and web builds compile libogg, libvorbis and freeglut from the sources Debian ships.
#
#   tools/deps/debian_source.sh <package> <dest>
#
# apt authenticates the .dsc through the archive's signed index and dpkg-source checks the
# tarballs against it; the pinned hash makes a changed upstream tarball fail loudly too.
set -eu
[ $# -eq 2 ] || { echo "usage: $0 <package> <dest>" >&2; exit 2; }
package=$1 dest=$2
pin=$(awk -v p="$package" '$1 == p { print $2, $3 }' "$(dirname "$0")/pinned.txt")
[ -n "$pin" ] || { echo "$package is not pinned in pinned.txt" >&2; exit 2; }
version=${pin% *} sha=${pin#* }
[ -f "$dest/$package/.unpacked" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
list=/etc/apt/sources.list.d/kelvaster-src.sources
if ! grep -qs '^Types: deb-src' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list; then
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
        $SUDO tee "$list" >/dev/null
    $SUDO apt-get update -qq >/dev/null
fi
command -v dpkg-source >/dev/null 2>&1 || $SUDO apt-get install -y -qq --no-install-recommends dpkg-dev >/dev/null

work="$dest/$package.download"
rm -rf "$work" "$dest/$package"
mkdir -p "$work"
(cd "$work" && apt-get source -qq -o APT::Sandbox::User=root --download-only "$package=$version" >/dev/null)
tarball=$(ls "$work"/*.orig.tar.* | head -n 1)
echo "$sha  $tarball" | sha256sum -c --quiet - || {
    echo "$package $version: upstream tarball does not match the pinned checksum" >&2
    exit 1
}
# Upstream's tarball signatures are checked against keys this machine lacks: only a failure speaks.
dpkg-source -q -x "$work"/*.dsc "$dest/$package" >"$work/unpack.log" 2>&1 || {
    cat "$work/unpack.log" >&2
    exit 1
}
touch "$dest/$package/.unpacked"
