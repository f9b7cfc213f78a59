#!/bin/sh
# Checks that a built setup.exe is a self-contained GUI program: Windows GUI
# subsystem, stripped, and importing only the system's own DLLs, none of
# those that it loads when first needed (they would slow its start).
#   check-exe.sh <objdump> <setup.exe>
set -eu
objdump=$1
exe=$2
headers=$("$objdump" -p "$exe")
status=0

echo "$headers" | grep -q "^Subsystem.*(Windows GUI)" || {
    echo "not a GUI program: $(echo "$headers" | grep '^Subsystem')"
    status=1
}
for dll in $(echo "$headers" | sed -n 's/^\s*DLL Name: //p'); do
    case $(echo "$dll" | tr '[:lower:]' '[:upper:]') in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | ADVAPI32.DLL | SHELL32.DLL | MSVCRT.DLL) ;;
    COMCTL32.DLL | OLE32.DLL | OLEAUT32.DLL | OLEACC.DLL | WINDOWSCODECS.DLL | BCRYPT.DLL | XMLLITE.DLL)
        echo "imports $dll, which it loads only when first needed"
        status=1
        ;;
    *)
        echo "imports a DLL that is not the system's: $dll"
        status=1
        ;;
    esac
done
if "$objdump" -h "$exe" | grep -q '\.debug'; then
    echo "not stripped"
    status=1
fi
exit $status
