#include "class_client.h"

#include <stdexcept>
#include "platform/win32/win32_platform.h"

namespace tarnwell::test {

namespace {

class RecordingStatus : public StatusText {
public:
    explicit RecordingStatus(std::vector<std::string>& shown) : shown_(shown) {}
    Status set_text(const std::string& text) override {
        shown_.push_back(text);
        return Status();
    }

private:
    std::vector<std::string>& shown_;
};

// What the class raises, as the sequence records it.
template <class Call>
auto reporting_raised(Call&& call) {
    try {
        return call();
    } catch (const std::overflow_error& error) {
        throw raised{error.what()};
    }
}

int vb(bool value) { return value ? -1 : 0; }

class ClassClient : public RegistryClient {
public:
    void set_CreateKeyIfDoesntExists(bool offon) override { c_.set_CreateKeyIfDoesntExists(offon); }
    int CreateKeyIfDoesntExists() override { return vb(c_.CreateKeyIfDoesntExists()); }
    std::int32_t CreateKey(const std::string& p) override { return c_.CreateKey(p); }
    std::int32_t KillKey(const std::string& p) override { return c_.KillKey(p); }
    int KeyExists(const std::string& p) override { return vb(c_.KeyExists(p)); }
    std::int32_t EnumKeys(const std::string& p, std::vector<std::string>& k) override {
        return c_.EnumKeys(p, k);
    }
    int HaveSubkey(const std::string& p) override { return vb(c_.HaveSubkey(p)); }
    std::int32_t WriteString(const std::string& p, const std::string& n,
                             const std::string& v) override {
        return c_.WriteString(p, n, v);
    }
    std::string ReadString(const std::string& p, const std::string& n,
                           const std::string& d) override {
        return c_.ReadString(p, n, d);
    }
    std::int32_t WriteDWORD(const std::string& p, const std::string& n, std::int32_t v) override {
        return c_.WriteDWORD(p, n, v);
    }
    std::int32_t ReadDWORD(const std::string& p, const std::string& n, std::int32_t d) override {
        return c_.ReadDWORD(p, n, d);
    }
    std::int32_t WriteBinary(const std::string& p, const std::string& n,
                             const std::string& v) override {
        return c_.WriteBinary(p, n, v);
    }
    std::string ReadBinary(const std::string& p, const std::string& n,
                           const std::string& d) override {
        return c_.ReadBinary(p, n, d);
    }
    std::int32_t KillValue(const std::string& p, const std::string& n) override {
        return c_.KillValue(p, n);
    }
    int ValueExists(const std::string& p, const std::string& n) override {
        return vb(c_.ValueExists(p, n));
    }
    std::int32_t EnumValues(const std::string& p, std::vector<std::string>& n,
                            std::vector<RegValue>& v, std::int32_t type) override {
        return c_.EnumValues(p, n, v, type);
    }
    std::int32_t ExportToReg(const std::string& p, const std::string& file, bool subkeys,
                             std::vector<std::string>* shown) override {
        if (shown == nullptr) return c_.ExportToReg(p, file, subkeys);
        RecordingStatus status(*shown);
        return c_.ExportToReg(p, file, subkeys, &status);
    }
    std::int32_t ImportFromReg(const std::string& file) override { return c_.ImportFromReg(file); }
    std::string StrToBin(std::string& hex) override {
        return reporting_raised([&] { return c_.StrToBin(hex); });
    }
    std::string BinToStr(const std::string& bytes) override {
        return reporting_raised([&] { return c_.BinToStr(bytes); });
    }
    int isBinValid(const std::string& hex) override { return vb(c_.isBinValid(hex)); }

private:
    Win32Platform platform_;
    clsRegistryAccess c_{platform_.registry, platform_.files, platform_.desktop};
};

}  // namespace

std::unique_ptr<RegistryClient> new_class_client() { return std::make_unique<ClassClient>(); }

}  // namespace tarnwell::test
