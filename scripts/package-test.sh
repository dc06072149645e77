#!/usr/bin/env bash
# Builds the Debian package and proves it on this machine, as root (CI runs it after the suite):
#  1. builds the package, and a package of a higher version with one table more;
#  2. lintian reports no error, the desktop entries pass desktop-file-validate;
#  3. installs it: the group talvorin owns the program folder /opt/talvorin, NC program files open in
#     talvorin-ncview;
#  4. two programmers of the group (users made for the test, with a umask that shares nothing) run the
#     main job through /usr/bin and change a key of TALVORIN.ini and the tool magazine, each working on
#     what the other wrote;
#  5. upgrades: both changes kept, the new table present;
#  6. removes and purges: the projects, NC programs and settings stay.
# Then it undoes what it made: package, users, the group if it made it, the program folder. It refuses
# to run where talvorin is installed or /opt/talvorin exists; a run that was killed is undone by the
# next one (the record in /var/lib/talvorin-package-test).
#
# usage: bash scripts/package-test.sh [BUILD_DIR]   (default build-package, configured Release)
set -euo pipefail
cd "$(dirname "$0")/.."
SOURCE=$(pwd)
BUILD=${1:-build-package}
STATE=/var/lib/talvorin-package-test
PROGRAM_FOLDER=/opt/talvorin
GROUP=talvorin
USERS=(talvorin-test-a talvorin-test-b)
MIME_TYPE=text/x-talvorin-nc

if [ "$(id -u)" -ne 0 ]; then
  echo "package-test.sh installs a package and makes users: run it as root" >&2
  exit 2
fi

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}
# Runs a command as one of the test users, from /, with a umask that gives the group nothing: the
# programs must make their files group-writable themselves.
as_user() {
  local user=$1
  shift
  runuser -u "$user" -- env -C / sh -c 'umask 077 && exec "$@"' sh "$@"
}
mode_of() { stat -c %a "$1"; }
group_of() { stat -c %G "$1"; }

# Undoes what the record says this script made, then the record itself.
undo() {
  set +e
  if dpkg-query -W -f '${Status}' talvorin 2>/dev/null | grep -qv 'not-installed'; then
    dpkg --purge talvorin >/dev/null
  fi
  for user in "${USERS[@]}"; do
    if id -u "$user" >/dev/null 2>&1; then userdel "$user"; fi
  done
  if [ -f "$STATE/made-group" ] && getent group "$GROUP" >/dev/null; then groupdel "$GROUP"; fi
  if [ -f "$STATE/made-program-folder" ]; then rm -rf "$PROGRAM_FOLDER"; fi
  if [ -f "$STATE/work" ]; then
    work=$(cat "$STATE/work")
    case "$work" in /tmp/talvorin-package-test.*) rm -rf "$work" ;; esac
  fi
  rm -rf "$STATE"
  set -e
}

if [ -d "$STATE" ]; then
  echo "=== undoing an earlier run that did not finish"
  undo
fi
if dpkg-query -W -f '${Status}' talvorin 2>/dev/null | grep -qv 'not-installed'; then
  echo "talvorin is installed on this machine: package-test.sh would purge it; not run" >&2
  exit 2
fi
if [ -e "$PROGRAM_FOLDER" ]; then
  echo "$PROGRAM_FOLDER exists (a shop's data?): package-test.sh would delete it; not run" >&2
  exit 2
fi
for user in "${USERS[@]}"; do
  if id -u "$user" >/dev/null 2>&1; then
    echo "user $user exists: package-test.sh makes and deletes it; not run" >&2
    exit 2
  fi
done

# The record of what this run makes, written before it makes it.
mkdir -p "$STATE"
WORK=$(mktemp -d /tmp/talvorin-package-test.XXXXXX)
echo "$WORK" >"$STATE/work"
touch "$STATE/made-program-folder"
getent group "$GROUP" >/dev/null || touch "$STATE/made-group"
trap undo EXIT

echo "=== build the package"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$SOURCE" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTALVORIN_BUILD_TESTS=OFF -DTALVORIN_BUILD_BENCH=OFF
fi
cmake -S "$SOURCE" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j2
VERSION=$(sed -n 's/^TALVORIN_PACKAGE_VERSION:STRING=//p' "$BUILD/CMakeCache.txt")
ARCH=$(dpkg --print-architecture)
(cd "$BUILD" && cpack -G DEB -B "$WORK/first")
FIRST=$WORK/first/talvorin_${VERSION}_${ARCH}.deb
check "package $(basename "$FIRST") built" test -f "$FIRST"

# The next version: the same programs and one condition table more.
NEXT_VERSION=$VERSION.1
NEW_TABLE=table/ContourMillS50C.tbl
mkdir -p "$WORK/extra/usr/share/talvorin/table"
printf '[6]\r\nS=6400\r\nF=900\r\n' >"$WORK/extra/usr/share/talvorin/$NEW_TABLE"
(cd "$BUILD" && cpack -G DEB -B "$WORK/next" -D "CPACK_PACKAGE_VERSION=$NEXT_VERSION" \
  -D "CPACK_INSTALLED_DIRECTORIES=$WORK/extra;/")
NEXT=$WORK/next/talvorin_${NEXT_VERSION}_${ARCH}.deb
check "package $(basename "$NEXT") built" test -f "$NEXT"
check "version $NEXT_VERSION is higher than $VERSION" dpkg --compare-versions "$NEXT_VERSION" gt "$VERSION"
echo "package size: $(stat -c %s "$FIRST") bytes, installed $(dpkg-deb -f "$FIRST" Installed-Size) KiB"

echo "=== lintian and the desktop entries"
lintian --fail-on error "$FIRST"
echo "ok: lintian reports no error"
mkdir "$WORK/tree"
dpkg-deb -x "$FIRST" "$WORK/tree"
for entry in talvorin quorvex talvorin-ncview; do
  check "$entry.desktop valid" desktop-file-validate "$WORK/tree/usr/share/applications/$entry.desktop"
  check "$entry.svg shipped" test -s "$WORK/tree/usr/share/icons/hicolor/scalable/apps/$entry.svg"
done

echo "=== install"
dpkg -i "$FIRST" || apt-get install -f -y --no-install-recommends </dev/null
check "group $GROUP made" getent group "$GROUP"
check "program folder setgid, group-writable" test "$(mode_of $PROGRAM_FOLDER)" = 2775
check "program folder owned by $GROUP" test "$(group_of $PROGRAM_FOLDER)" = "$GROUP"
for program in talvorin talvorin-cli talvorin-ncview quorvex lindrel; do
  check "/usr/bin/$program links to the program folder" test "$(readlink /usr/bin/$program)" = "$PROGRAM_FOLDER/$program"
  check "$program is executable" test -x "$PROGRAM_FOLDER/$program"
done
for folder in db ncdata trycut dxf Log table help; do
  check "folder $folder setgid, group $GROUP" test "$(mode_of $PROGRAM_FOLDER/$folder)-$(group_of $PROGRAM_FOLDER/$folder)" = "2775-$GROUP"
done
check "TALVORIN.ini group-writable" test "$(mode_of $PROGRAM_FOLDER/TALVORIN.ini)-$(group_of $PROGRAM_FOLDER/TALVORIN.ini)" = "664-$GROUP"
check "installed TALVORIN.ini equals the shipped one" cmp -s /usr/share/talvorin/TALVORIN.ini $PROGRAM_FOLDER/TALVORIN.ini

# The NC program type: its globs in the MIME database, its default application the NC viewer. A clean
# environment, so that no desktop session or user setting of this machine answers instead.
for glob in '*.nc' '*.NC' '*.min' '*.MIN'; do
  check "glob $glob is $MIME_TYPE" grep -qxF "60:$MIME_TYPE:$glob:cs" /usr/share/mime/globs2
done
mkdir "$WORK/home"
default=$(env -i HOME="$WORK/home" PATH=/usr/bin:/bin XDG_DATA_DIRS=/usr/local/share:/usr/share \
  xdg-mime query default "$MIME_TYPE")
check "xdg-mime opens $MIME_TYPE with talvorin-ncview.desktop (got '$default')" test "$default" = talvorin-ncview.desktop

echo "=== two programmers of the group"
for user in "${USERS[@]}"; do
  useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
  usermod -aG "$GROUP" "$user" # as README.md tells the shop
done
A=${USERS[0]}
B=${USERS[1]}
as_user "$A" /usr/bin/talvorin-cli run EXAMPLE-FANUC
NC=$PROGRAM_FOLDER/ncdata/O1001.NC
check "the main job wrote $NC" test -s "$NC"
check "$NC belongs to $A, group $GROUP, group-writable" test "$(stat -c %U:%G:%a "$NC")" = "$A:$GROUP:664"
check "$NC is a FANUC program" grep -q '^O1001' "$NC"
check "the log folder's files are group-writable" test -z "$(find $PROGRAM_FOLDER/Log -type f ! -perm -g+w)"

# B works on what A wrote: the project database, the NC program, the day's log.
as_user "$B" talvorin-cli run EXAMPLE-FANUC
check "$B rewrote $NC" test "$(stat -c %U:%G:%a "$NC")" = "$B:$GROUP:664"
as_user "$B" talvorin-cli --quiet ini set TALVORIN.ini window X 0.25
as_user "$A" talvorin-cli --quiet ini set ToolMagazine.tbl T30 diameter 20
check "TALVORIN.ini changed" test "$(as_user "$A" talvorin-cli --quiet ini get TALVORIN.ini window X)" = 0.25
check "magazine changed" test "$(as_user "$B" talvorin-cli --quiet ini get ToolMagazine.tbl T30 diameter)" = 20
check "a file changed by $B stays group-writable" test "$(mode_of $PROGRAM_FOLDER/TALVORIN.ini)" = 664
cp -p "$PROGRAM_FOLDER/db/EXAMPLE-FANUC.dat" "$WORK/project-before-upgrade.dat"
# A file renamed in another letter case is still the shop's file: the upgrade must not add the shipped
# one beside it. A folder of the program folder replaced by a link must not lead the upgrade, run as
# root, to write elsewhere.
as_user "$A" mv "$PROGRAM_FOLDER/defineTool.tbl" "$PROGRAM_FOLDER/definetool.tbl"
mkdir "$WORK/elsewhere"
as_user "$B" mv "$PROGRAM_FOLDER/euklid" "$PROGRAM_FOLDER/euklid.old"
as_user "$B" ln -s "$WORK/elsewhere" "$PROGRAM_FOLDER/euklid"

echo "=== upgrade to $NEXT_VERSION"
dpkg -i "$NEXT"
check "upgraded" test "$(dpkg-query -W -f '${Version}' talvorin)" = "$NEXT_VERSION"
check "TALVORIN.ini key kept" test "$(as_user "$A" talvorin-cli --quiet ini get TALVORIN.ini window X)" = 0.25
check "magazine kept" test "$(as_user "$A" talvorin-cli --quiet ini get ToolMagazine.tbl T30 diameter)" = 20
check "project kept" cmp -s "$WORK/project-before-upgrade.dat" "$PROGRAM_FOLDER/db/EXAMPLE-FANUC.dat"
check "new table $NEW_TABLE present" cmp -s "$WORK/extra/usr/share/talvorin/$NEW_TABLE" "$PROGRAM_FOLDER/$NEW_TABLE"
check "new table group-writable" test "$(stat -c %G:%a "$PROGRAM_FOLDER/$NEW_TABLE")" = "$GROUP:664"
check "the shop's definetool.tbl alone, no defineTool.tbl beside it" test -s "$PROGRAM_FOLDER/definetool.tbl" -a ! -e "$PROGRAM_FOLDER/defineTool.tbl"
check "nothing written through the linked folder" test -z "$(ls -A "$WORK/elsewhere")"
check "program folder still setgid, group $GROUP" test "$(mode_of $PROGRAM_FOLDER)-$(group_of $PROGRAM_FOLDER)" = "2775-$GROUP"
as_user "$A" talvorin-cli run EXAMPLE-FANUC >/dev/null
echo "ok: the main job runs after the upgrade"

echo "=== remove and purge"
dpkg -r talvorin
check "commands removed" test ! -e /usr/bin/talvorin-cli
check "programs removed" test ! -e "$PROGRAM_FOLDER/talvorin-cli"
for kept in db/EXAMPLE-FANUC.dat db/EXAMPLE-OSP.dat ncdata/O1001.NC TALVORIN.ini ToolMagazine.tbl "$NEW_TABLE"; do
  check "$kept kept after remove" test -s "$PROGRAM_FOLDER/$kept"
done
dpkg --purge talvorin
check "purged" test -z "$(dpkg-query -W -f '${Status}' talvorin 2>/dev/null | grep -v not-installed)"
check "projects kept after purge" test -s "$PROGRAM_FOLDER/db/EXAMPLE-FANUC.dat" -a -s "$PROGRAM_FOLDER/ncdata/O1001.NC"
check "$MIME_TYPE gone from the MIME database" test -z "$(grep -F "$MIME_TYPE" /usr/share/mime/globs2)"

echo "=== package test passed; undoing what it made"
