#!/usr/bin/env bash
# Every program and DLL in a package folder imports only DLLs that Windows 10 brings along or that
# the package ships where Windows looks for them: beside the program (a DLL the board loads from
# plugins\ by its path gets its own imports from the program's folder too). Prints each module's imports.
#   check_imports.sh FOLDER
set -uo pipefail
folder=$1
# Windows' own DLLs, as far as our modules may use them.
system_dlls="advapi32.dll avrt.dll comctl32.dll comdlg32.dll gdi32.dll gdiplus.dll imm32.dll kernel32.dll
  ksuser.dll msimg32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll
  version.dll winmm.dll ws2_32.dll"
system=" $(echo $system_dlls) "
shipped=" $(find "$folder" -maxdepth 1 -iname '*.dll' -printf '%f\n' | tr 'A-Z' 'a-z' | tr '\n' ' ') "
status=0 modules=0
while IFS= read -r module; do
  modules=$((modules + 1))
  imports=$(x86_64-w64-mingw32-objdump -p "$module" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  echo "${module#$folder/}: $(echo $imports)"
  for dll in $imports; do
    case "$system$shipped" in
      *" $dll "*) ;;
      *) echo "  $dll is neither Windows' own nor shipped beside the program"; status=1 ;;
    esac
  done
done < <(find "$folder" -iname '*.exe' -o -iname '*.dll')
[ "$modules" -gt 0 ] || { echo "no modules in $folder"; status=1; }
exit $status
