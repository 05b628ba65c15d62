' Exports a registry key and all its subkeys to a REGEDIT4 file with the registry component.
' Usage: cscript //nologo export_key.vbs "HKCU\Software\Tarnwell" "C:\Temp\Tarnwell.reg"
Option Explicit
Dim registry
Set registry = CreateObject("TarnwellRegistry.clsRegistryAccess")
If registry.ExportToReg(WScript.Arguments(0), WScript.Arguments(1), True) = 1 Then
    WScript.Echo "Exported " & WScript.Arguments(0) & " to " & WScript.Arguments(1)
Else
    WScript.Echo "Not exported: the file exists already or cannot be written"
End If
