// JScript calls the enumerations too. It passes arguments by value, so it gets the
// counts but not the arrays. A name and a text outside the ANSI code page come back
// exactly as written.
//   cscript //nologo enumerations.js KEY RESULTS_FILE
var registry = new ActiveXObject("TarnwellRegistry.clsRegistryAccess");
var out = new ActiveXObject("Scripting.FileSystemObject").CreateTextFile(WScript.Arguments(1), true);
var key = WScript.Arguments(0);
var unused = null;
out.WriteLine("EnumKeys " + registry.EnumKeys(key, unused));
out.WriteLine("EnumValues " + registry.EnumValues(key, unused, unused, -1));
out.WriteLine("KeyExists " + registry.KeyExists(key));
var name = "Dvo\u0159\u00E1k", text = "\u6570\u636E \uD83D\uDE00 " + name;
registry.WriteString(key, name, text);
out.WriteLine("Dvorak " + (registry.ReadString(key, name, "none") == text));
registry.KillValue(key, name);
out.Close();
