' Exports a registry key and all its subkeys to a REGEDIT4 file with the registry component.
' Usage: cscript //nologo export_key.vbs "HKCU\Software\Tarnwell" "C:\Temp\Tarnwell.reg"
' Any script host runs it, 32-bit or 64-bit, cscript or wscript (double-clicked, it shows
' its messages in a box), once the component of the host's architecture is registered.
' Exit code: 0 exported, 1 not exported, 2 arguments missing.
Option Explicit
Dim registry, architecture
If WScript.Arguments.Count <> 2 Then
    WScript.Echo "Usage: export_key.vbs KEY FILE, for example" & vbCrLf & _
        "cscript //nologo export_key.vbs ""HKCU\Software\Tarnwell"" ""C:\Temp\Tarnwell.reg"""
    WScript.Quit 2
End If
On Error Resume Next
Set registry = CreateObject("TarnwellRegistry.clsRegistryAccess")
If Err.Number <> 0 Then
    architecture = CreateObject("WScript.Shell").Environment("Process")("PROCESSOR_ARCHITECTURE")
    If architecture = "x86" Then
        WScript.Echo "The registry component is not registered for this 32-bit script host: " & _
            "register TarnwellRegistry.dll (with C:\Windows\SysWOW64\regsvr32.exe on 64-bit Windows)."
    Else
        WScript.Echo "The registry component is not registered for this 64-bit script host: " & _
            "register x64\TarnwellRegistry.dll with C:\Windows\System32\regsvr32.exe."
    End If
    WScript.Quit 1
End If
On Error GoTo 0
If registry.ExportToReg(WScript.Arguments(0), WScript.Arguments(1), True) = 1 Then
    WScript.Echo "Exported " & WScript.Arguments(0) & " to " & WScript.Arguments(1)
Else
    WScript.Echo "Not exported: the file exists already or cannot be written"
    WScript.Quit 1
End If
