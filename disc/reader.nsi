; The demo payload's stand-in for the PDF reader's installer: it only says what it stands for.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel user
Name "PDF reader (demo)"
OutFile "${OUTFILE}"
SilentInstall silent

Section
  IfSilent +2
  MessageBox MB_OK "This demo disc carries no PDF reader: a real disc's reader installer goes here."
SectionEnd
