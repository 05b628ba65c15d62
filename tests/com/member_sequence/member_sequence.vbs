' The member sequence of member_sequence.cpp, called late-bound from VBScript through
' CreateObject and the component's IDispatch. Writes the same "label: result" lines;
' a line "UNEXPECTED: ..." reports a type or error number a script should not see.
'   cscript //nologo member_sequence.vbs SCRATCH_KEY IMPORT_FILE EXPORT_PREFIX RESULTS_FILE
Option Explicit

Class StatusBox
    Public Shown
    Public Property Let Text(value)
        If Shown <> "" Then Shown = Shown & "|"
        Shown = Shown & value
    End Property
End Class

Dim out
Sub Say(label, result)
    out.Write label & ": " & result & vbCrLf
End Sub
Sub Check(condition, what)
    If Not condition Then out.Write "UNEXPECTED: " & what & vbCrLf
End Sub

Function Nonzero(handle)
    If handle <> 0 Then Nonzero = "nonzero" Else Nonzero = "0"
End Function
Function Listed(texts)
    Dim i
    If Not IsArray(texts) Then
        Listed = CStr(texts)
        Exit Function
    End If
    Listed = ""
    For i = 0 To UBound(texts)
        If i > 0 Then Listed = Listed & "|"
        Listed = Listed & texts(i)
    Next
End Function
Function Codes(bytes)
    Dim i
    Codes = ""
    For i = 1 To Len(bytes)
        If i > 1 Then Codes = Codes & ","
        Codes = Codes & Asc(Mid(bytes, i, 1))
    Next
End Function
Function Typed(value)
    Select Case TypeName(value)
        Case "String": Typed = "String:" & value
        Case "Long": Typed = "Long:" & value
        Case "Empty": Typed = "Empty"
        Case Else: Typed = "UNEXPECTED " & TypeName(value)
    End Select
End Function

Dim S, V, importFile, prefix, fso, c
S = WScript.Arguments(0)
importFile = WScript.Arguments(1)
prefix = WScript.Arguments(2)
V = S & "\values"
Set fso = CreateObject("Scripting.FileSystemObject")
Set out = fso.CreateTextFile(WScript.Arguments(3), True)
Set c = CreateObject("TarnwellRegistry.clsRegistryAccess")

Say "new object CreateKeyIfDoesntExists", CInt(c.CreateKeyIfDoesntExists)
Check TypeName(c.CreateKeyIfDoesntExists) = "Boolean", "CreateKeyIfDoesntExists is a Boolean"
c.CreateKeyIfDoesntExists = False
Say "CreateKeyIfDoesntExists after False", CInt(c.CreateKeyIfDoesntExists)
Say "WriteString to a missing key", Nonzero(c.WriteString(S & "\missing", "v", "x"))
Say "KeyExists missing", CInt(c.KeyExists(S & "\missing"))
c.CreateKeyIfDoesntExists = True

Check TypeName(c.CreateKey(S & "\a\b")) = "Long", "CreateKey gives a Long"
Say "CreateKey a\b", Nonzero(c.CreateKey(S & "\a\b"))
Say "KeyExists a\b", CInt(c.KeyExists(S & "\a\b"))
Say "KeyExists a, long root", CInt(c.KeyExists("\HKEY_CURRENT_USER" & Mid(S, 5) & "\a"))
Say "HaveSubkey a", CInt(c.HaveSubkey(S & "\a"))
Say "HaveSubkey a\b", CInt(c.HaveSubkey(S & "\a\b"))
Say "KillKey a, with a subkey", Nonzero(c.KillKey(S & "\a"))
Say "KeyExists a", CInt(c.KeyExists(S & "\a"))
Say "KillKey a\b", Nonzero(c.KillKey(S & "\a\b"))
Say "KeyExists a\b", CInt(c.KeyExists(S & "\a\b"))
Say "KillKey missing", Nonzero(c.KillKey(S & "\missing"))

Say "WriteString @", Nonzero(c.WriteString(V, "@", "default text"))
Say "WriteString Path", Nonzero(c.WriteString(V, "Path", "C:\Bin ""quoted"""))
Say "WriteString accented", Nonzero(c.WriteString(V, "accented", "caf" & Chr(233)))
Say "WriteString 254", Nonzero(c.WriteString(V, "long254", String(254, "x")))
Say "WriteString 255", Nonzero(c.WriteString(V, "long255", String(255, "y")))
Say "ReadString default value", c.ReadString(V, "", "none")
Say "ReadString Path", c.ReadString(V, "Path", "none")
Say "ReadString accented", c.ReadString(V, "accented", "none")
Say "ReadString 254, length", Len(c.ReadString(V, "long254", "none"))
Say "ReadString 255", c.ReadString(V, "long255", "none")
Say "ReadString missing value", c.ReadString(V, "missing", "none")
Say "ReadString unknown root", c.ReadString("HKXX\Software", "x", "none")

Say "WriteDWORD N 255", Nonzero(c.WriteDWORD(V, "N", 255))
Say "WriteDWORD M -1", Nonzero(c.WriteDWORD(V, "M", -1))
Say "WriteDWORD @ 7", Nonzero(c.WriteDWORD(V, "@", 7))
Say "ReadDWORD N", c.ReadDWORD(V, "N", 0)
Say "ReadDWORD M", c.ReadDWORD(V, "M", 0)
Say "ReadDWORD @", c.ReadDWORD(V, "@", 0)
Say "ReadDWORD missing", c.ReadDWORD(V, "missing", 42)
Say "ReadDWORD of a long text", c.ReadDWORD(V, "Path", 42)

Say "WriteBinary B", Nonzero(c.WriteBinary(V, "B", "01 0A ff"))
Say "WriteBinary E, empty", Nonzero(c.WriteBinary(V, "E", ""))
Say "ReadBinary B", c.ReadBinary(V, "B", "none")
Say "ReadBinary E", "[" & c.ReadBinary(V, "E", "none") & "]"
Say "ReadBinary missing", c.ReadBinary(V, "missing", "none")
Say "ValueExists B", CInt(c.ValueExists(V, "B"))
Say "ValueExists missing", CInt(c.ValueExists(V, "missing"))
Say "KillValue B", Nonzero(c.KillValue(V, "B"))
Say "ValueExists B after KillValue", CInt(c.ValueExists(V, "B"))
Say "KillValue in a missing key", Nonzero(c.KillValue(S & "\missing", "B"))

Dim names, values, count, listing, i, kind
Say "CreateKey z", Nonzero(c.CreateKey(S & "\z"))
names = "untouched"
count = c.EnumKeys(S, names)
Check TypeName(names) = "Variant()", "EnumKeys gives an array of Variants"
Say "EnumKeys", count & " " & Listed(names)
names = "untouched"
count = c.EnumKeys(S & "\missing", names)
Check IsArray(names), "EnumKeys empties its array when the key cannot be opened"
Say "EnumKeys missing", count & " [" & Listed(names) & "]"
For Each kind In Array(-1, 1, 3, 4)
    names = "untouched"
    values = "untouched"
    count = c.EnumValues(V, names, values, kind)
    listing = ""
    For i = 0 To UBound(names)
        listing = listing & " " & names(i) & "=" & Typed(values(i))
    Next
    Say "EnumValues " & kind, count & listing
Next
names = "untouched"
values = "untouched"
count = c.EnumValues(S & "\missing", names, values, -1)
Say "EnumValues missing", count & " " & Listed(names) & " " & Typed(values)

Dim hex, bytes
hex = "01 0A ff"
bytes = c.StrToBin(hex)
Say "StrToBin", Codes(bytes) & " argument " & hex
hex = " 1G "
bytes = c.StrToBin(hex)
Say "StrToBin 1G", Codes(bytes) & " argument [" & hex & "]"
hex = ""
Say "StrToBin empty", "[" & Codes(c.StrToBin(hex)) & "]"
Say "BinToStr", c.BinToStr(Chr(0) & Chr(10) & Chr(255))
Say "BinToStr empty", "[" & c.BinToStr("") & "]"
On Error Resume Next
bytes = c.BinToStr(String(32768, "A"))
If Err.Number = 0 Then
    Say "BinToStr 32768", bytes
Else
    Check Err.Number = 6, "BinToStr 32768 raises error 6, not " & Err.Number
    Say "BinToStr 32768", "raises " & Err.Description
End If
Err.Clear
hex = " " & String(32768, "0")
bytes = c.StrToBin(hex)
If Err.Number = 0 Then
    Say "StrToBin 32768", Len(bytes)
Else
    Check Err.Number = 6, "StrToBin 32768 raises error 6, not " & Err.Number
    Say "StrToBin 32768", "raises " & Err.Description & ", argument length " & Len(hex)
End If
Err.Clear
On Error GoTo 0
Say "isBinValid 01 0a", CInt(c.isBinValid("01 0a"))
Say "isBinValid 0G", CInt(c.isBinValid("0G"))
Say "isBinValid spaces", CInt(c.isBinValid("   "))

Dim box
c.CreateKeyIfDoesntExists = False
Say "ImportFromReg", c.ImportFromReg(importFile)
Say "CreateKeyIfDoesntExists after import", CInt(c.CreateKeyIfDoesntExists)
Say "ImportFromReg missing file", c.ImportFromReg(importFile & ".missing")
Set box = New StatusBox
count = c.ExportToReg(S, prefix & "tree.reg", True, box)
Say "ExportToReg tree", count & " shown " & box.Shown
Say "ExportToReg to an existing file", c.ExportToReg(S, prefix & "tree.reg", True)
Say "ExportToReg imported", c.ExportToReg(S & "\imported", prefix & "imported.reg", True)
Say "ExportToReg values only", c.ExportToReg(V, prefix & "values.reg", False)
Say "ExportToReg missing key", c.ExportToReg(S & "\missing", prefix & "missing.reg", True)
Check Not fso.FileExists(prefix & "missing.reg"), "ExportToReg of a missing key left a file"
out.Close
