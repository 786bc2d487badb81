; The demo payload's installer and upgrader: installs a small payload and records the installed
; version where the launcher looks for it, in the registry view a 32-bit program reads. Built by
; scripts/make_demo_payload.sh:  makensis -DVERSION=1.0 -DOUTFILE=... vantrel.nsi
; x86-64 (amd64-unicode): NSIS's x86 stubs cannot run here; a real payload replaces these.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
SetDateSave off          ; no file times in the installer: rebuilding gives the same bytes
RequestExecutionLevel admin
Name "Vantrel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Orun\Vantrel"
ShowInstDetails nevershow
AutoCloseWindow true     ; clicked from the launcher, it closes once done
SilentInstall normal     ; /S runs it silently

Page instfiles

Section "Vantrel"
  SetOutPath "$INSTDIR"
  File "/oname=readme.txt" "${PAYLOAD}"
  FileOpen $0 "$INSTDIR\version.txt" w
  FileWrite $0 "${VERSION}"
  FileClose $0
  SetRegView 32
  WriteRegStr HKLM "SOFTWARE\Orun\Vantrel\AppInfo" "CurrentVersion" "${VERSION}"
SectionEnd
