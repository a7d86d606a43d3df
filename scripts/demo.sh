#!/usr/bin/env bash
# Builds a sample workstation under build/demo and runs the native program
# on it: two fixed drives with copies old and new, a CD it must not touch,
# a system folder it must not enter, and the new library on a share.
set -euo pipefail
cd "$(dirname "$0")/.."
fixtures=build/native/tests/fixtures
demo=$PWD/build/demo
rm -rf "$demo"

put() {  # put VERSION PATH
  mkdir -p "$(dirname "$demo/$2")"
  cp "$fixtures/zndev32-$1.dll" "$demo/$2"
}
put 3.2 "C/Program Files/Scanner/zndev32.dll"
put 4.1 "C/Program Files/Film Lab/ZNDEV32.DLL"
put 4.10 "C/WINNT/system32/Zndev32.dll"
put none "C/Apps/Legacy/zndev32.dll"
put 3.2 "C/System Volume Information/zndev32.dll"
setfattr -n user.DOSATTRIB -v '"0x6"' "$demo/C/System Volume Information"
put 4.0 "D/Tools/zndev32.dll"
put 3.2 "E/zndev32.dll"
put 5.0 "share/ZNDEV32.DLL"

echo "The sample machine: C: and D: fixed, E: a CD; the new library on a share."
echo "Before:"
scripts/show-versions.py "$demo"
echo
echo "Running znupdate (Windows XP) from the share:"
echo
status=0
(cd "$demo/share" && env -i ZNUPDATE_WINVER=winxp \
  ZNUPDATE_DRIVE_C="$demo/C" ZNUPDATE_DRIVE_D="$demo/D" \
  ZNUPDATE_DRIVE_E="$demo/E" ZNUPDATE_DRIVE_E_TYPE=cdrom \
  ../../native/znupdate </dev/null) || status=$?
echo
echo "Exit code: $status"
echo "After (backups end in .old):"
scripts/show-versions.py "$demo"
