#!/usr/bin/env bash
# vexal.exe (under Wine) with what a Windows user writes: drive letters and
# backslashes in the project file, a folder with a blank and non-ASCII
# letters; the executable is the one the Linux generator makes from the same
# project written with slashes. Then signing through signtool and
# osslsigncode, both stand-ins that append the arguments they received to the
# file they sign: the command lines arrive whole (a password with a blank and
# quotes, a description with non-ASCII letters), the scratch files go, and a
# refusal fails the build with the tool's own message and writes nothing.
#
#   windows-generator-paths.sh SOURCE-DIR BUILD-DIR WINE-SESSION-DIR VEXAL VEXAL.EXE SIGNING-STANDIN.EXE
set -euo pipefail
src=$1 build=$2 session=$3 linux_vexal=$4 windows_vexal=$5 standin=$6
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vexal-winpaths-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
unset VEXAL_STUB_DIR
export LC_ALL=C.UTF-8
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }
on_windows() { (cd "$dir" && "$src/tools/wine-run" "$session" "$windows_vexal" "$@"); }

dir="$scratch/Prøject dir"
mkdir -p "$dir/data" "$dir/images" "$dir/tools"
echo "more" >"$dir/data/more.txt"
echo "extra" >"$scratch/extra.txt"
cp "$src/tests/wine/splash-quadrants.bmp" "$dir/images/splash.bmp"
extra=$(windows_path "$scratch/extra.txt")

# The project as written on Windows (TOML literal strings keep the
# backslashes) and the same on Linux.
body() {
  printf '[application]\nmain-class = "com.example.Main"\nname = "Grüße App"\ntype = "console"\n'
  printf '[splash]\nbitmap = %s\n' "$1"
}
{
  printf "output = 'out\\\\app.exe'\ninclude = ['data\\\\more.txt', '%s']\n" "$extra"
  body "'images\\splash.bmp'"
} >"$dir/app.toml"
{
  printf "output = 'out-linux/app.exe'\ninclude = ['data/more.txt', '%s']\n" "$scratch/extra.txt"
  body "'images/splash.bmp'"
} >"$dir/app-linux.toml"
grep -q "^output = 'out\\\\app.exe'" "$dir/app.toml" || fail "the Windows project file is not as meant: $(cat "$dir/app.toml")"

on_windows build app.toml --stubs "$build" --quiet || fail "vexal.exe build app.toml failed"
(cd "$dir" && "$linux_vexal" build app-linux.toml --stubs "$build" --quiet)
cmp "$dir/out/app.exe" "$dir/out-linux/app.exe" || fail "the Windows project gave other bytes"
# A second build replaces the first.
on_windows build app.toml --stubs "$build" --quiet || fail "vexal.exe could not replace out\\app.exe"
cmp "$dir/out/app.exe" "$dir/out-linux/app.exe" || fail "the replaced executable has other bytes"
# The project and the output named by absolute Windows paths.
on_windows build "$(windows_path "$dir/app.toml")" -o "$(windows_path "$scratch/other/app.exe")" --stubs "$build" --quiet ||
  fail "vexal.exe build with absolute Windows paths failed"
cmp "$dir/out/app.exe" "$scratch/other/app.exe" || fail "absolute Windows paths gave other bytes"
# A file name with non-ASCII letters reads and lists the same.
cp "$dir/out/app.exe" "$dir/Grüße.exe"
on_windows inspect Grüße.exe | tr -d '\r' >"$scratch/inspect.windows"
(cd "$dir" && "$linux_vexal" inspect Grüße.exe) >"$scratch/inspect.linux"
diff "$scratch/inspect.linux" "$scratch/inspect.windows" || fail "inspect of Grüße.exe differs"
grep -q '^  *more.txt  *5 bytes$' "$scratch/inspect.linux" || fail "data\\more.txt is not included as more.txt"
grep -q '^  *extra.txt  *6 bytes$' "$scratch/inspect.linux" || fail "the drive-letter include is missing"

# Signing with the stand-ins.
cp "$standin" "$dir/tools/signtool.exe"
cp "$standin" "$dir/tools/osslsigncode.exe"
echo "not really a certificate" >"$dir/id.p12"
export VEXAL_TEST_SIGNING_PASSWORD='secret "word" \'
signed_project() {  # OUTPUT TOOL
  printf "output = '%s'\n" "$1"
  grep -v '^output = ' "$dir/app.toml"
  printf "[signing]\npkcs12 = 'id.p12'\npassword-env = 'VEXAL_TEST_SIGNING_PASSWORD'\ntool = '%s'\n" "$2"
}
trailer() {  # FILE: what follows the stand-in's marker line; the private scratch directory reads <scratch>
  python3 - "$1" <<'PY'
import re, sys
data = open(sys.argv[1], "rb").read()
at = data.rfind(b"--signed by ")
text = data[at:].decode("utf-8") if at >= 0 else "no trailer\n"
sys.stdout.write(re.sub(r"(?m)^[A-Za-z]:\\users\\[^\\\n]+\\Temp\\vexal-sign-[0-9a-f]{16}\\", lambda m: "<scratch>\\", text))
PY
}
no_scratch_files() {
  local left
  left=$(find "$dir/signed" -name '*.unsigned' -o -name '*.signed' -o -name '*.pass' -o -name '*.part')
  [ -z "$left" ] || fail "scratch files left: $left"
  # shellcheck disable=SC1091
  left=$(source "$session/env" && find "$WINEPREFIX/drive_c/users" -maxdepth 3 -name 'vexal-sign-*')
  [ -z "$left" ] || fail "scratch directory left: $left"
}

signed_project 'signed\st.exe' 'tools\signtool.exe' >"$dir/st.toml"
on_windows build st.toml --stubs "$build" --quiet || fail "signing with signtool failed"
expected="--signed by signtool.exe--
sign
/fd
sha256
/f
id.p12
/p
$VEXAL_TEST_SIGNING_PASSWORD
/d
Grüße App
<scratch>\\signed.exe"
[ "$(trailer "$dir/signed/st.exe")" = "$expected" ] || fail "signtool got: $(trailer "$dir/signed/st.exe")"
no_scratch_files

signed_project 'signed\os.exe' 'tools\osslsigncode.exe' >"$dir/os.toml"
on_windows build os.toml --stubs "$build" --quiet || fail "signing with osslsigncode failed"
expected="--signed by osslsigncode.exe--
sign
-pkcs12
id.p12
-readpass
<scratch>\\password
-h
sha256
-n
Grüße App
-in
<scratch>\\unsigned.exe
-out
<scratch>\\signed.exe
password: $VEXAL_TEST_SIGNING_PASSWORD"
[ "$(trailer "$dir/signed/os.exe")" = "$expected" ] || fail "osslsigncode got: $(trailer "$dir/signed/os.exe")"
no_scratch_files

# A tool named without a path is looked up on the Windows PATH.
signed_project 'signed\path.exe' 'signtool' >"$dir/path.toml"
WINEPATH=$(windows_path "$dir/tools") on_windows build path.toml --stubs "$build" --quiet ||
  fail "signtool on PATH was not used"
trailer "$dir/signed/path.exe" | head -n 1 | grep -q '^--signed by signtool.exe--$' || fail "signtool on PATH did not sign"

# A refusal: the tool's message, exit code 1, nothing written.
set +e
VEXAL_STANDIN_REFUSE="no certificate today" on_windows build st.toml -o 'signed\refused.exe' --stubs "$build" \
  >"$scratch/refused.txt" 2>&1
code=$?
set -e
[ "$code" = 1 ] || fail "a refused signing ended with $code"
tr -d '\r' <"$scratch/refused.txt" | grep -q 'signtool could not sign signed\\refused.exe (exit code 3):' ||
  fail "the refusal is not reported: $(cat "$scratch/refused.txt")"
grep -q 'no certificate today' "$scratch/refused.txt" || fail "the tool's own message is missing"
[ ! -e "$dir/signed/refused.exe" ] || fail "a refused signing wrote the executable"
no_scratch_files
echo "vexal.exe reads Windows paths and signs through both tools"
