#pragma once
// clsRegistryAccess: the registry access class. Every member names a key by one key
// path text ("HKCU\Software\T", "HKEY_LOCAL_MACHINE\SOFTWARE", ...), opens what it
// needs, does its work and closes the key again before it returns. Registry failures
// come back as the member's failure value, never as an exception.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/registry_api.h"
#include "platform/report_view.h"

namespace tarnwell {

// One value listed by EnumValues: empty for a type the class does not handle, the
// text of a text or binary value, the number of a number value.
using RegValue = std::variant<std::monostate, std::string, std::int32_t>;

class clsRegistryAccess {
public:
    // Class_Initialize: a new object creates missing keys when writing.
    clsRegistryAccess(RegistryApi& registry, FileSystem& files, Desktop& desktop);

    void set_CreateKeyIfDoesntExists(bool offon);
    bool CreateKeyIfDoesntExists() const;

    // Keys. Create and delete return the (already closed) handle value, or 0.
    std::int32_t CreateKey(const std::string& sPath);
    std::int32_t KillKey(const std::string& sPath);
    bool KeyExists(const std::string& sPath);
    // The subkey names; -1 when the key cannot be opened.
    std::int32_t EnumKeys(const std::string& sPath, std::vector<std::string>& Key);
    bool HaveSubkey(const std::string& sPath);

    // Values.
    std::int32_t WriteString(const std::string& sPath, const std::string& sName,
                             const std::string& sValue);
    std::string ReadString(const std::string& sPath, const std::string& sName,
                           const std::string& sDefault);
    std::int32_t WriteDWORD(const std::string& sPath, const std::string& sName,
                            std::int32_t lValue);
    std::int32_t ReadDWORD(const std::string& sPath, const std::string& sName,
                           std::int32_t lDefault);
    // sValue is hex text ("01 0A FF").
    std::int32_t WriteBinary(const std::string& sPath, const std::string& sName,
                             const std::string& sValue);
    std::string ReadBinary(const std::string& sPath, const std::string& sName,
                           const std::string& sDefault);
    std::int32_t KillValue(const std::string& sPath, const std::string& sName);
    bool ValueExists(const std::string& sPath, const std::string& sName);
    // Lists the values of every type (OnlyType -1) or of one type; -1 when the key
    // cannot be opened.
    std::int32_t EnumValues(const std::string& sPath, std::vector<std::string>& sName,
                            std::vector<RegValue>& sValue, std::int32_t OnlyType);

    // REGEDIT4 files. Both return 1 on success and 0 otherwise.
    std::int32_t ExportToReg(const std::string& sPath, const std::string& sRegFile,
                             bool IncludeSubkeys, StatusText* Output = nullptr);
    std::int32_t ImportFromReg(const std::string& sRegFile);

    // Hex text of byte values. Byte text holds one character per byte.
    std::string StrToBin(std::string& sBin);
    std::string BinToStr(const std::string& sStr);
    bool isBinValid(const std::string& sBin);

private:
    reg_key ParseKeyPath(std::string& sPath, std::string& sSubKeyOut);
    bool ExportKey(const std::string& sPath, const std::string& sRegFile, bool IncludeSubkeys,
                   StatusText* Output);

    RegistryApi& api_;
    FileSystem& files_;
    Desktop& desktop_;

    // Scratch state of the most recent operation.
    reg_key hRootKey = 0;
    reg_key hKey = 0;
    std::string sSubKey;
    bool CreateKeyIfDoesntExists_ = true;
};

}  // namespace tarnwell
