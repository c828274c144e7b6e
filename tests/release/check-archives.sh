#!/usr/bin/env bash
# The release as a user gets it. tools/release packs the built tree (twice:
# the same tree gives the same bytes); each archive is unpacked into an empty
# directory outside the build tree and, with only its bin/ on PATH (and no
# VEXAL_STUB_DIR), `vexal init` and `vexal build` make the example
# application's Windows (x64, x86) and Linux executables; the Linux one runs
# on the real JDK. The Windows generator runs under Wine and writes the same
# bytes as the Linux one; the .deb's generator, unpacked, finds its stubs in
# usr/share/vexal and writes them too.
#
#   check-archives.sh SOURCE-DIR BUILD-DIR WINE-SESSION-DIR JDK-HOME
set -euo pipefail
src=$1 build=$2 session=$3 jdk=$4
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vexal-release-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
unset VEXAL_STUB_DIR

version=$(head -n 1 "$build/release/version.txt")
linux_archive=vexal-$version-linux-x64.tar.gz
windows_archive=vexal-$version-windows-x64.zip
deb=vexal_${version}_amd64.deb

# Packed twice from the same tree: the same bytes.
"$src/tools/release" --build-dir "$build" --out "$scratch/dist" >/dev/null
"$src/tools/release" --build-dir "$build" --out "$scratch/dist-again" >/dev/null
cmp "$scratch/dist/SHA256SUMS" "$scratch/dist-again/SHA256SUMS" || fail "packing twice gave different archives"
(cd "$scratch/dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the archives"
for file in "$linux_archive" "$windows_archive" "$deb"; do
  grep -q "^[0-9a-f]\{64\}  $file\$" "$scratch/dist/SHA256SUMS" || fail "SHA256SUMS does not list $file"
done

mkdir "$scratch/linux" "$scratch/windows"
tar -xzf "$scratch/dist/$linux_archive" -C "$scratch/linux"
python3 -m zipfile -e "$scratch/dist/$windows_archive" "$scratch/windows"
for side in linux windows; do
  [ "$(ls -A "$scratch/$side")" = "vexal-$version" ] || fail "$side archive: not one top folder vexal-$version/"
  home=$scratch/$side/vexal-$version
  for file in stubs/x64/vexal-stub-gui.exe stubs/x64/vexal-stub-console.exe stubs/x86/vexal-stub-gui.exe \
    stubs/x86/vexal-stub-console.exe stubs/linux-x64/vexal-stub-linux lib/vexal-runtime.jar lib/kvlruntime.jar \
    README.txt docs/project-file.md docs/java-runtime.md examples/hello/vexal.toml examples/hello/hello.jar \
    examples/full/vexal.toml; do
    [ -f "$home/$file" ] || fail "$side archive: no $file"
  done
done
linux_home=$scratch/linux/vexal-$version
windows_home=$scratch/windows/vexal-$version
[ -x "$linux_home/bin/vexal" ] && [ ! -e "$linux_home/bin/vexal.exe" ] || fail "linux archive: bin/ is not just vexal"
[ -f "$windows_home/bin/vexal.exe" ] && [ ! -e "$windows_home/bin/vexal" ] || fail "windows archive: bin/ is not just vexal.exe"
[ "$(stat -c %a "$linux_home/bin/vexal")" = 755 ] || fail "linux archive: bin/vexal is not mode 755"

# The user's steps: a project for the example's jar, then its executables.
steps() {
  "$@" vexal init --main-class com.example.hello.Hello --jar hello.jar --type console
  "$@" vexal build vexal.toml --quiet
  "$@" vexal build vexal.toml --quiet --set arch=x86 -o Hello-x86.exe
  "$@" vexal build vexal.toml --quiet --set application.type=gui -o Hello-gui.exe
  "$@" vexal build vexal.toml --quiet --set arch=linux-x64 -o hello
}
outputs="vexal.toml Hello.exe Hello-x86.exe Hello-gui.exe hello"

linux_work=$scratch/work-linux
mkdir -p "$linux_work/home"
cp "$linux_home/examples/hello/hello.jar" "$linux_work/"
on_linux() { (cd "$linux_work" && env -i HOME="$linux_work/home" PATH="$linux_home/bin" "$@"); }
steps on_linux >"$scratch/linux.log" 2>&1 || { cat "$scratch/linux.log" >&2; fail "the Linux generator's steps failed"; }
on_linux vexal inspect Hello.exe >"$scratch/inspect-linux.txt"
grep -q "^Launcher: *vexal $version (commit " "$scratch/inspect-linux.txt" || fail "inspect names no launcher version"
grep -q "^Included files:  1\$" "$scratch/inspect-linux.txt" || fail "the runtime jar is not included"

# The Linux executable on the real JDK, in an environment of its own.
mkdir -p "$linux_work/tmp"
set +e
ran=$(cd "$linux_work" && env -i HOME="$linux_work/home" TMPDIR="$linux_work/tmp" PATH=/usr/bin:/bin \
  JAVA_HOME="$jdk" ./hello one "two words" 2>&1)
code=$?
set -e
expected=$'Hello from Vexal\nargument 1: one\nargument 2: two words'
[ "$code" = 0 ] && [ "$ran" = "$expected" ] || fail "the Linux executable ended with $code and printed: $ran"

# The Windows generator under Wine, found on the Windows PATH.
windows_work=$scratch/work-windows
mkdir -p "$windows_work"
cp "$windows_home/examples/hello/hello.jar" "$windows_work/"
windows_bin="Z:${windows_home//\//\\}\\bin"
on_windows() { (cd "$windows_work" && WINEPATH="$windows_bin" "$src/tools/wine-run" "$session" cmd /c "$@"); }
steps on_windows >"$scratch/windows.log" 2>&1 || { cat "$scratch/windows.log" >&2; fail "the Windows generator's steps failed"; }
for file in $outputs; do
  cmp "$linux_work/$file" "$windows_work/$file" || fail "$file: the Windows generator wrote other bytes"
done
on_windows vexal inspect Hello.exe | tr -d '\r' >"$scratch/inspect-windows.txt"
diff "$scratch/inspect-linux.txt" "$scratch/inspect-windows.txt" || fail "vexal.exe inspect gives another text"

# The .deb: the Linux content in a system's places.
dpkg-deb -x "$scratch/dist/$deb" "$scratch/deb"
deb_work=$scratch/work-deb
mkdir -p "$deb_work"
cp "$linux_work/vexal.toml" "$linux_work/hello.jar" "$deb_work/"
(cd "$deb_work" && env -i HOME="$deb_work" PATH="$scratch/deb/usr/bin" vexal build vexal.toml --quiet &&
  env -i HOME="$deb_work" PATH="$scratch/deb/usr/bin" vexal build vexal.toml --quiet --set arch=linux-x64 -o hello) ||
  fail "the .deb's generator failed"
for file in Hello.exe hello; do
  cmp "$linux_work/$file" "$deb_work/$file" || fail "$file: the .deb's generator wrote other bytes"
done
for file in usr/share/vexal/lib/vexal-runtime.jar usr/share/doc/vexal/README.txt usr/share/doc/vexal/examples/hello/hello.jar; do
  [ -f "$scratch/deb/$file" ] || fail ".deb: no $file"
done
echo "release archives: $linux_archive, $windows_archive, $deb checked"
