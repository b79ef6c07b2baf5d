#!/usr/bin/env bash
# Builds the Debian package as a packager would (Release, no tests, no benchmarks) and checks it
# as Debian checks packages: lintian, the desktop entry, the AppStream metadata, the file list,
# and the programs of the unpacked package run under a scratch HOME. Nothing is installed into
# this machine. Called by scripts/test.sh; TALVIK_SKIP_PACKAGE=1 leaves it out there.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
build="${TALVIK_PACKAGE_BUILD_DIR:-$src/build/package}"
started=$SECONDS

cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALVIK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/talvikcfg_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/talvikcfg_*.deb)
deb=${debs[0]}
echo "package: $deb"

fail() {
  echo "package check FAILED: $*" >&2
  exit 1
}

scratch=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

# Version and dependencies: the version is project()'s, the libraries are dpkg-shlibdeps', and
# what Qt loads at run time (its Russian buttons, its platform plugins) is named by hand.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6core6 libc6 qt6-translations-l10n qt6-qpa-plugins; do
  [[ ", $depends," == *", $d"[\ ,]* ]] || fail "Depends lacks $d: $depends"
done

# Lintian's errors fail the check; its warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

# The file list, against the one kept in the repository.
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|; s|/$||' | grep -v '^/$' | LC_ALL=C sort >"$scratch/files"
diff -u "$src/packaging/package-files.txt" "$scratch/files" || fail "the package's file list changed"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/ru.talvik.talvikcfg.desktop" || fail "desktop entry"
appstreamcli validate --no-net --explain "$root/usr/share/metainfo/ru.talvik.talvikcfg.metainfo.xml" ||
  fail "AppStream metadata"

# The unpacked programs, as an engineer would start them, with a home of their own.
home="$scratch/home"
mkdir -p "$home"
run() { env -u XDG_CONFIG_HOME -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" "$@"; }
[ "$(run "$root/usr/bin/talvikcfg" --version)" = "talvikcfg $version" ] || fail "talvikcfg --version"
run "$root/usr/bin/talvikcfg" --help | grep -q '^Использование: talvikcfg' || fail "talvikcfg --help"

project="$scratch/Проект сети.cfg"
printf 'setting:{adr:250}\r\ndevice:{adr:238}\r\nzone:{adr:238,prt:1,num:101}\r\n' >"$project"
exec {appout}< <(exec env -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
                   QT_LOGGING_RULES="talvik.app.info=true" "$root/usr/bin/talvikcfg" "$project" 2>&1)
app_pid=$!
pids+=("$app_pid")
opened=""
while IFS= read -r -t 60 -u "$appout" line; do
  echo "talvikcfg: $line"
  if [[ "$line" == *"project opened: $project BC: 1 AL: 1"* ]]; then opened=1; break; fi
done
[ -n "$opened" ] || fail "the unpacked talvikcfg did not open the project given on its command line"
kill -TERM "$app_pid"
wait "$app_pid" || fail "talvikcfg did not end cleanly on SIGTERM"
[ -f "$home/.config/talvik/talvikcfg.ini" ] || fail "no settings file under HOME/.config/talvik"
grep -q '^Number=' "$home/.config/talvik/talvikcfg.ini" || fail "settings file without [COM] Number"
# Nothing beside the installed programs, though this folder is writable.
[ "$(ls "$root/usr/bin")" = "$(printf 'talvik-sim\ntalvikcfg')" ] || fail "files written into usr/bin"

# The simulator registers its COM link in the same folder.
exec {simout}< <(exec env -u XDG_CONFIG_HOME HOME="$home" "$root/usr/bin/talvik-sim" 2>/dev/null)
sim_pid=$!
pids+=("$sim_pid")
IFS= read -r -t 30 -u "$simout" line || fail "talvik-sim did not report its port"
echo "talvik-sim: $line"
[[ "$line" =~ ^(COM[0-9]+)\ -\>\  ]] || fail "talvik-sim: unexpected first line"
[ -L "$home/.config/talvik/ports/${BASH_REMATCH[1]}" ] || fail "no COM link under HOME/.config/talvik/ports"
kill -TERM "$sim_pid"
wait "$sim_pid" || true

echo "package check passed in $((SECONDS - started)) s"
