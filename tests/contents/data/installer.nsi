; A small portable-app installer as makensis builds them, for the tests of
; the NSIS CRC and of the version resource. The test data script builds it
; with -DOUTFILE=..., -DPAYLOAD=... and, for an installer without a CRC,
; -DNO_CRC.
!ifdef NO_CRC
CRCCheck off
!endif
Name "Quillet Test Portable"
OutFile "${OUTFILE}"
RequestExecutionLevel user
SilentInstall silent
VIProductVersion "4.5.6.7"
VIAddVersionKey "ProductName" "Quillet Test Portable"
VIAddVersionKey "FileDescription" "Quillet Test Portable (PortableApps.com Installer)"
VIAddVersionKey "OriginalFilename" "QuilletTestPortable_4.5.6.paf.exe"
VIAddVersionKey "InternalName" "QuilletTestPortable"
VIAddVersionKey "ProductVersion" "4.5.6.7"
VIAddVersionKey "FileVersion" "4.5.6.7"
VIAddVersionKey "CompanyName" "Quillet tests"
VIAddVersionKey "LegalCopyright" "none"
Section
SetOutPath "$TEMP\QuilletTest"
File "${PAYLOAD}"
SectionEnd
