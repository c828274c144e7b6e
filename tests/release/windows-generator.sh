#!/usr/bin/env bash
# The Windows generator (vexal.exe, under Wine) against the Linux one: the
# same commands give the same bytes and texts. Both build the examples
# (hello as console, GUI, x86 and Linux executable; full) from the build
# tree's stubs and runtime; both inspect them (text and JSON); init, keys,
# --version, help and an error read alike. Windows line ends are CR LF; the
# texts are compared without them.
#
#   windows-generator.sh SOURCE-DIR BUILD-DIR WINE-SESSION-DIR VEXAL VEXAL.EXE
set -euo pipefail
src=$1 build=$2 session=$3 linux_vexal=$4 windows_vexal=$5
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vexal-wingen-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
unset VEXAL_STUB_DIR
mkdir "$scratch/linux" "$scratch/windows"
on_linux() { (cd "$scratch/linux" && "$linux_vexal" "$@"); }
# Wine takes the arguments' bytes in the locale's character set: UTF-8.
on_windows() { (cd "$scratch/windows" && LC_ALL=C.UTF-8 "$src/tools/wine-run" "$session" "$windows_vexal" "$@"); }
# both NAME ARGS...: runs the command with both generators; what they print
# (standard output and error, without CR) and their exit codes must agree.
both() {
  local name=$1
  shift
  set +e
  on_linux "$@" >"$scratch/$name.linux" 2>&1
  echo "exit code $?" >>"$scratch/$name.linux"
  on_windows "$@" >"$scratch/$name.raw" 2>&1
  local code=$?
  set -e
  tr -d '\r' <"$scratch/$name.raw" >"$scratch/$name.windows"
  echo "exit code $code" >>"$scratch/$name.windows"
  diff "$scratch/$name.linux" "$scratch/$name.windows" || fail "$name: the two generators disagree"
}

hello=$src/examples/hello/vexal.toml
full=$src/examples/full/vexal.toml
builds=(
  "hello.exe|$hello"
  "hello-gui.exe|$hello --set application.type=gui"
  "hello-x86.exe|$hello --set arch=x86"
  "hello|$hello --set arch=linux-x64"
  "full.exe|$full"
)
for item in "${builds[@]}"; do
  output=${item%%|*}
  read -r -a arguments <<<"${item#*|}"
  on_linux build "${arguments[@]}" -o "$output" --stubs "$build" --quiet
  on_windows build "${arguments[@]}" -o "$output" --stubs "$build" --quiet
  cmp "$scratch/linux/$output" "$scratch/windows/$output" || fail "$output: the Windows generator wrote other bytes"
  cp "$scratch/linux/$output" "$scratch/windows/$output.copy"
  cp "$scratch/linux/$output" "$scratch/linux/$output.copy"
  both "inspect-$output" inspect "$output.copy"
  both "inspect-json-$output" inspect --json "$output.copy"
done

both init init --main-class com.example.Main --jar "lib/app one.jar" --name "Grüße" -o start.toml
cmp "$scratch/linux/start.toml" "$scratch/windows/start.toml" || fail "init wrote other files"
both keys keys
both keys-markdown keys --markdown
both version --version
both help
printf '[application]\nmain-class = "A"\n[java]\nmin-version = "abc"\n' >"$scratch/linux/bad.toml"
cp "$scratch/linux/bad.toml" "$scratch/windows/bad.toml"
both error build bad.toml --stubs "$build"
grep -q '^vexal: bad.toml:4: java.min-version: "abc" is not a Java version' "$scratch/error.linux" ||
  fail "the error names no file, line and key"
echo "vexal.exe agrees with vexal"
