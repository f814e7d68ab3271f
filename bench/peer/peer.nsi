; The peer of the first-window benchmark (bench/first_window_wine.py): an NSIS
; installer carrying two files of exactly the sizes of our two images. The
; benchmark writes the files and builds it with
;
;   makensis -DPAYLOAD=<folder of the two files> -DOUTFILE=<installer> peer.nsi
;
; What is chosen here, and why; everything else is NSIS's default (zlib
; compression file by file, the classic interface, the check of the whole
; installer file at start-up, the switches /S and /D=):
; - Target amd64-unicode: our installer is a 64-bit program, and Wine here runs
;   64-bit programs only; the default target is a 32-bit one.
; - Page directory and Page instfiles: without pages NSIS shows only the
;   installation page, which starts installing at once. The directory page is
;   a first page that waits for the user, as our welcome page does.
; - The files hold pseudo-random bytes, which do not compress: the installer
;   file is as large as ours, so its start-up check reads as many bytes as our
;   check of the images does, and the silent installation writes as many.

!ifndef PAYLOAD | OUTFILE
  !error "give -DPAYLOAD=<folder> and -DOUTFILE=<installer>"
!endif

Target amd64-unicode
Name "Peer"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Peer"

Page directory
Page instfiles

; The installation does what ours does, so that the silent installations
; compare: the two files, a data file of the size ours writes, the start-menu group with its two
; shortcuts and the desktop shortcut, and an entry in the installed programs.
Section
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}/Client.bin"
  File "${PAYLOAD}/Uninstaller.bin"
  File "${PAYLOAD}/Data.bin"
  CreateDirectory "$SMPROGRAMS\Peer"
  CreateShortCut "$SMPROGRAMS\Peer\Uninstall Peer.lnk" "$INSTDIR\Uninstaller.bin"
  CreateShortCut "$SMPROGRAMS\Peer\Peer.lnk" "$INSTDIR\Client.bin"
  CreateShortCut "$DESKTOP\Peer.lnk" "$INSTDIR\Client.bin"
  !define ENTRY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Peer"
  WriteRegStr HKLM "${ENTRY}" "DisplayName" "Peer"
  WriteRegStr HKLM "${ENTRY}" "DisplayVersion" "3.31"
  WriteRegStr HKLM "${ENTRY}" "Publisher" "Peer"
  WriteRegStr HKLM "${ENTRY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${ENTRY}" "UninstallString" '"$INSTDIR\Uninstaller.bin"'
  WriteRegStr HKLM "${ENTRY}" "DisplayIcon" "$INSTDIR\Client.bin"
  WriteRegDWORD HKLM "${ENTRY}" "EstimatedSize" 2900
  WriteRegDWORD HKLM "${ENTRY}" "NoModify" 1
  WriteRegDWORD HKLM "${ENTRY}" "NoRepair" 1
SectionEnd
