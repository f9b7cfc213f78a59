; Minimal peer installer: shows its window (instfiles page), writes one
; 1,306,624-byte file, and closes itself when done.
; Build: makensis -DPAYLOAD=<file> -DOUT=<exe> [-DCOMP=off|zlib|lzma] [-DTARGET=x86-unicode] nsis-peer.nsi
Unicode true
!ifndef TARGET
  !define TARGET amd64-unicode
!endif
Target ${TARGET}
!ifndef COMP
  !define COMP off
!endif
!if "${COMP}" == "off"
  SetCompress off
!else
  SetCompressor /SOLID ${COMP}
!endif
Name "PerfNSIS"
Caption "PerfNSISProbe"
OutFile "${OUT}"
InstallDir "C:\perfprobe_nsis"
RequestExecutionLevel user
AutoCloseWindow true
ShowInstDetails nevershow
XPStyle off
Page instfiles
Section
  SetOutPath $INSTDIR
!ifdef PAYLOAD
  File /oname=payload1.bin "${PAYLOAD}"
!endif
SectionEnd
