#pragma once
// The 21 members of the registry access class as one client sees them, in plain C++
// types, so that one sequence of calls can run through the C++ class itself and
// through the COM component's vtable and compare with a script's results. Booleans
// come back as the numbers the client gets (-1 for True); texts are UTF-8,
// byte texts ANSI bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "registry_access/clsRegistryAccess.h"

namespace tarnwell::test {

// A member raised an error; the description says which.
struct raised {
    std::string description;
};

class RegistryClient {
public:
    virtual ~RegistryClient() = default;
    virtual void set_CreateKeyIfDoesntExists(bool offon) = 0;
    virtual int CreateKeyIfDoesntExists() = 0;
    virtual std::int32_t CreateKey(const std::string& sPath) = 0;
    virtual std::int32_t KillKey(const std::string& sPath) = 0;
    virtual int KeyExists(const std::string& sPath) = 0;
    virtual std::int32_t EnumKeys(const std::string& sPath, std::vector<std::string>& Key) = 0;
    virtual int HaveSubkey(const std::string& sPath) = 0;
    virtual std::int32_t WriteString(const std::string& sPath, const std::string& sName,
                                     const std::string& sValue) = 0;
    virtual std::string ReadString(const std::string& sPath, const std::string& sName,
                                   const std::string& sDefault) = 0;
    virtual std::int32_t WriteDWORD(const std::string& sPath, const std::string& sName,
                                    std::int32_t lValue) = 0;
    virtual std::int32_t ReadDWORD(const std::string& sPath, const std::string& sName,
                                   std::int32_t lDefault) = 0;
    virtual std::int32_t WriteBinary(const std::string& sPath, const std::string& sName,
                                     const std::string& sValue) = 0;
    virtual std::string ReadBinary(const std::string& sPath, const std::string& sName,
                                   const std::string& sDefault) = 0;
    virtual std::int32_t KillValue(const std::string& sPath, const std::string& sName) = 0;
    virtual int ValueExists(const std::string& sPath, const std::string& sName) = 0;
    virtual std::int32_t EnumValues(const std::string& sPath, std::vector<std::string>& sName,
                                    std::vector<RegValue>& sValue, std::int32_t OnlyType) = 0;
    // `shown` null: no Output object; else it receives every text the export showed.
    virtual std::int32_t ExportToReg(const std::string& sPath, const std::string& sRegFile,
                                     bool IncludeSubkeys, std::vector<std::string>* shown) = 0;
    virtual std::int32_t ImportFromReg(const std::string& sRegFile) = 0;
    virtual std::string StrToBin(std::string& sBin) = 0;
    virtual std::string BinToStr(const std::string& sStr) = 0;
    virtual int isBinValid(const std::string& sBin) = 0;
};

}  // namespace tarnwell::test
