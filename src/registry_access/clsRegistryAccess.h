#pragma once
// clsRegistryAccess: the registry access class as it is published, a thin face over the
// registry core. Every member names a key by one key path text ("HKCU\Software\T",
// "HKEY_LOCAL_MACHINE\SOFTWARE", ...), opens what it needs through a RegKey, does its
// work and closes the key again before it returns.
//
// The class's published results, and the rules that come with them, are made here and
// nowhere else: create, delete and write members return the value of the handle they
// used, already closed, and 0 on failure (KillKey and KillValue report only that the key
// opened); tests return True or False; enumerations -1 for a key that cannot be opened;
// reads the caller's default, ReadString also for a text of 255 bytes or more with its
// NUL; WriteString takes the name "@" for the default value; ExportToReg and
// ImportFromReg give 1 or 0. Key paths, in the members and in the key lines of an
// imported file, are read as class_key_path.h says.
//
// Registry failures come back as the member's failure value, never as an exception.
// Only the hex text conversions raise, with std::overflow_error("Overflow") for a text
// or byte value longer than 32,767 characters: StrToBin and BinToStr themselves, and
// the members that use them on the caller's data or on a stored value: WriteBinary,
// ReadBinary and EnumValues (for a binary value of that size).
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/registry_api.h"
#include "registry_access/class_key_path.h"

namespace tarnwell {

class RegKey;

// A status text that a long operation sets as it goes (the export shows each key): a
// text box of the calling window.
class StatusText {
public:
    virtual ~StatusText() = default;
    virtual Status set_text(const std::string& text) = 0;
};

// One value listed by EnumValues: empty for a type the class does not handle, the
// text of a text or binary value, the number of a number value.
using RegValue = std::variant<std::monostate, std::string, std::int32_t>;

class clsRegistryAccess {
public:
    // Class_Initialize: a new object creates missing keys when writing.
    clsRegistryAccess(RegistryApi& registry, FileSystem& files, Desktop& desktop);

    // Let/Get. Should key will be created if no exists (when writting data to registry)
    void set_CreateKeyIfDoesntExists(bool offon);
    bool CreateKeyIfDoesntExists() const;

    // Keys. Create and delete return the (already closed) handle value, or 0.

    // Creates key in registry...
    std::int32_t CreateKey(const std::string& sPath);
    // Deletes key from registry...
    // Only a key without subkeys goes; the result says the key could be opened.
    std::int32_t KillKey(const std::string& sPath);
    // Checks if some key exists...
    // True only for a key the caller may open with full access.
    bool KeyExists(const std::string& sPath);
    // Enumerates subkeys of some key...
    // The number of names; -1 when the key cannot be opened.
    std::int32_t EnumKeys(const std::string& sPath, std::vector<std::string>& Key);
    // Checks for subkeys in some key...
    bool HaveSubkey(const std::string& sPath);

    // Values. Writes return the (already closed) handle value, or 0; reads return the
    // caller's default when they fail.

    // Writes data of string type...
    // The name "@" is the key's default value here.
    std::int32_t WriteString(const std::string& sPath, const std::string& sName,
                             const std::string& sValue);
    // Reads data of string type...
    std::string ReadString(const std::string& sPath, const std::string& sName,
                           const std::string& sDefault);
    // Writes data of dword type...
    std::int32_t WriteDWORD(const std::string& sPath, const std::string& sName,
                            std::int32_t lValue);
    // Reads data of dword type...
    std::int32_t ReadDWORD(const std::string& sPath, const std::string& sName,
                           std::int32_t lDefault);
    // Writes data of binary type...
    // sValue is hex text ("01 0A FF").
    std::int32_t WriteBinary(const std::string& sPath, const std::string& sName,
                             const std::string& sValue);
    // Reads data of binary type...
    // The bytes come back as hex text ("01 0A FF").
    std::string ReadBinary(const std::string& sPath, const std::string& sName,
                           const std::string& sDefault);
    // Deletes value from registry...
    std::int32_t KillValue(const std::string& sPath, const std::string& sName);
    // Checks if some value exists in registry
    bool ValueExists(const std::string& sPath, const std::string& sName);
    // Enumerates all values from specified key...
    // Of every type (OnlyType -1) or of one type; -1 when the key cannot be opened.
    std::int32_t EnumValues(const std::string& sPath, std::vector<std::string>& sName,
                            std::vector<RegValue>& sValue, std::int32_t OnlyType);

    // REGEDIT4 files. Both return 1 on success and 0 otherwise.

    // Exports contents of some key (and it's subkeys) to .reg file...
    // Never overwrites an existing file; 0 and no file when the key cannot be opened.
    std::int32_t ExportToReg(const std::string& sPath, const std::string& sRegFile,
                             bool IncludeSubkeys, StatusText* Output = nullptr);
    // Imports .reg file into registry...
    // Leaves CreateKeyIfDoesntExists set. REGEDIT4 files only.
    std::int32_t ImportFromReg(const std::string& sRegFile);

    // Hex text of byte values. Byte text holds one character per byte; more than
    // 32,767 characters raise an overflow.

    // Converts hex (string) into it's binary value...
    // Also takes the spaces out of the caller's sBin.
    std::string StrToBin(std::string& sBin);
    // Converts binary data into string...
    // Every pair has a space in front: " 01 0A FF".
    std::string BinToStr(const std::string& sStr);
    // Checks if given binary data is in valid hex format (used for writting binary)
    bool isBinValid(const std::string& sBin);

private:
    // The result of a create, delete or write: the value of the key's handle, which is
    // closed before it is returned.
    static std::int32_t closed_handle_value(RegKey& key);

    RegistryApi& api_;
    FileSystem& files_;
    Desktop& desktop_;
    bool CreateKeyIfDoesntExists_ = true;
};

}  // namespace tarnwell
