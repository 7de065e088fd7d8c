#!/usr/bin/env bash
# Unpacks the Debian package into a temporary folder (dpkg-deb -x, as a user without root
# would look into it) and runs the unpacked programs from there: what the package holds must
# work from wherever it is installed, without the build tree.
#   packaging/test-package.sh build-package/rur_17.00-1_amd64.deb
set -uo pipefail
deb=$(realpath "$1")
source_dir=$(realpath "$(dirname "$0")/..")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/pkg" || { echo "dpkg-deb -x selhal"; exit 1; }
bin="$work/pkg/usr/bin"
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
cd "$work"
passed=0 failed=0
check() {
    local name=$1
    shift
    if "$@"; then
        echo "ok      $name"
        passed=$((passed + 1))
    else
        echo "FAILED  $name"
        failed=$((failed + 1))
    fi
}
root="$work/data root"
check "rur-cli init" "$bin/rur-cli" init "$root"
check "rur-cli create" test "$("$bin/rur-cli" --root "$root" create "Novák s.r.o.")" = D1
check "rur-cli sets" test "$("$bin/rur-cli" --root "$root" sets)" = "$(printf '1\tNovák s.r.o.\tD1')"
check "rur-cli --help" grep -q "příklad: rur-cli init" <("$bin/rur-cli" --help)
check "rur --install-data" test "$("$bin/rur" --install-data)" = "$XDG_DATA_HOME/Tervik/RUR 2018"
check "installed help" test -f "$work/pkg/usr/share/rur/help/topics.ini" -a -f "$work/pkg/usr/share/rur/help/topics/30.html"
# The first start of the window program creates the data root, then waits in the selection.
rm -rf "$XDG_DATA_HOME/Tervik"
timeout 10 "$bin/rur" >/dev/null 2>&1
check "rur first start creates the data root" test -f "$XDG_DATA_HOME/Tervik/RUR 2018/Data.DB"
# A clean machine gets the shared libraries the programs link (pxlib among them) from the
# package's dependencies, which dpkg-shlibdeps fills in.
depends_on_pxlib() { dpkg-deb -f "$deb" Depends | grep -Eq '(^|, )pxlib1( |,|$)'; }
check "package depends on pxlib1" depends_on_pxlib
no_build_paths() { ! grep -aq -e "$source_dir" "$bin/rur" "$bin/rur-cli"; }
check "no path of the build tree in the programs" no_build_paths
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
