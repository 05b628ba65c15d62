// JScript calls the enumerations too. It passes arguments by value, so it gets the
// counts but not the arrays.
//   cscript //nologo enumerations.js KEY RESULTS_FILE
var registry = new ActiveXObject("TarnwellRegistry.clsRegistryAccess");
var out = new ActiveXObject("Scripting.FileSystemObject").CreateTextFile(WScript.Arguments(1), true);
var key = WScript.Arguments(0);
var unused = null;
out.WriteLine("EnumKeys " + registry.EnumKeys(key, unused));
out.WriteLine("EnumValues " + registry.EnumValues(key, unused, unused, -1));
out.WriteLine("KeyExists " + registry.KeyExists(key));
out.Close();
