#!/usr/bin/env bash
# The manual in a package folder: every picture it shows is there and is a window cut out of the
# screenshot (neither the bare screen nor nothing), and it names every folder of licence notices.
#   check_manual.sh FOLDER
set -uo pipefail
folder=$1 manual="$1/manual.html" status=0
pictures=$(grep -o 'src="[^"]*"' "$manual" | sed 's/^src="//; s/"$//')
[ -n "$pictures" ] || { echo "the manual shows no pictures"; status=1; }
for picture in $pictures; do
  if ! size=$(identify -format '%wx%h' "$folder/$picture" 2>/dev/null); then
    echo "$picture: missing"; status=1; continue
  fi
  echo "$picture: $size"
  width=${size%x*} height=${size#*x}
  if [ "$width" -lt 200 ] || [ "$height" -lt 100 ] || [ "$width" -ge 1280 ]; then
    echo "$picture: not the size of a window"; status=1
  fi
done
for notices in "$folder"/licenses/*/; do
  part=$(basename "$notices")
  grep -qF "licenses\\$part<" "$manual" || { echo "the manual does not name licenses\\$part"; status=1; }
done
exit $status
