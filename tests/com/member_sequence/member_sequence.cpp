#include "member_sequence.h"

#include <type_traits>

#include "platform/code_page.h"

namespace tarnwell::test {

namespace {

// Handles differ from run to run; what a caller may rely on is zero or not.
std::string nonzero(std::int32_t handle) { return handle != 0 ? "nonzero" : "0"; }

std::string joined(const std::vector<std::string>& texts) {
    std::string text;
    for (const std::string& t : texts)
        text += (text.empty() ? "" : "|") + t;
    return text;
}

std::string codes(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes)
        text += (text.empty() ? "" : ",") + std::to_string(c);
    return text;
}

std::string typed(const RegValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return "String:" + *text;
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return "Long:" + std::to_string(*number);
    return "Empty";
}

class Lines {
public:
    explicit Lines(std::ostream& out) : out_(out) {}
    template <class Result>
    void operator()(const std::string& label, const Result& result) {
        // Texts in the ANSI code page, as the script's text file holds them.
        if constexpr (std::is_convertible_v<Result, std::string>)
            out_ << label << ": " << ansi_from_utf8(std::string(result)).value_or("<not ANSI>")
                 << "\r\n";
        else
            out_ << label << ": " << std::to_string(result) << "\r\n";
    }

private:
    std::ostream& out_;
};

}  // namespace

void run_member_sequence(RegistryClient& c, const SequencePlaces& places, std::ostream& out) {
    Lines say(out);
    const std::string S = places.scratch_key;
    const std::string V = S + "\\values";

    say("new object CreateKeyIfDoesntExists", c.CreateKeyIfDoesntExists());
    c.set_CreateKeyIfDoesntExists(false);
    say("CreateKeyIfDoesntExists after False", c.CreateKeyIfDoesntExists());
    say("WriteString to a missing key", nonzero(c.WriteString(S + "\\missing", "v", "x")));
    say("KeyExists missing", c.KeyExists(S + "\\missing"));
    c.set_CreateKeyIfDoesntExists(true);

    say("CreateKey a\\b", nonzero(c.CreateKey(S + "\\a\\b")));
    say("KeyExists a\\b", c.KeyExists(S + "\\a\\b"));
    say("KeyExists a, long root", c.KeyExists("\\HKEY_CURRENT_USER" + S.substr(4) + "\\a"));
    say("HaveSubkey a", c.HaveSubkey(S + "\\a"));
    say("HaveSubkey a\\b", c.HaveSubkey(S + "\\a\\b"));
    say("KillKey a, with a subkey", nonzero(c.KillKey(S + "\\a")));
    say("KeyExists a", c.KeyExists(S + "\\a"));
    say("KillKey a\\b", nonzero(c.KillKey(S + "\\a\\b")));
    say("KeyExists a\\b", c.KeyExists(S + "\\a\\b"));
    say("KillKey missing", nonzero(c.KillKey(S + "\\missing")));

    say("WriteString @", nonzero(c.WriteString(V, "@", "default text")));
    say("WriteString Path", nonzero(c.WriteString(V, "Path", "C:\\Bin \"quoted\"")));
    say("WriteString accented", nonzero(c.WriteString(V, "accented", "caf\xC3\xA9")));
    say("WriteString 254", nonzero(c.WriteString(V, "long254", std::string(254, 'x'))));
    say("WriteString 255", nonzero(c.WriteString(V, "long255", std::string(255, 'y'))));
    say("ReadString default value", c.ReadString(V, "", "none"));
    say("ReadString Path", c.ReadString(V, "Path", "none"));
    say("ReadString accented", c.ReadString(V, "accented", "none"));
    say("ReadString 254, length", static_cast<int>(c.ReadString(V, "long254", "none").size()));
    say("ReadString 255", c.ReadString(V, "long255", "none"));
    say("ReadString missing value", c.ReadString(V, "missing", "none"));
    say("ReadString unknown root", c.ReadString("HKXX\\Software", "x", "none"));

    say("WriteDWORD N 255", nonzero(c.WriteDWORD(V, "N", 255)));
    say("WriteDWORD M -1", nonzero(c.WriteDWORD(V, "M", -1)));
    say("WriteDWORD @ 7", nonzero(c.WriteDWORD(V, "@", 7)));
    say("ReadDWORD N", c.ReadDWORD(V, "N", 0));
    say("ReadDWORD M", c.ReadDWORD(V, "M", 0));
    say("ReadDWORD @", c.ReadDWORD(V, "@", 0));
    say("ReadDWORD missing", c.ReadDWORD(V, "missing", 42));
    say("ReadDWORD of a long text", c.ReadDWORD(V, "Path", 42));

    say("WriteBinary B", nonzero(c.WriteBinary(V, "B", "01 0A ff")));
    say("WriteBinary E, empty", nonzero(c.WriteBinary(V, "E", "")));
    say("ReadBinary B", c.ReadBinary(V, "B", "none"));
    say("ReadBinary E", "[" + c.ReadBinary(V, "E", "none") + "]");
    say("ReadBinary missing", c.ReadBinary(V, "missing", "none"));
    say("ValueExists B", c.ValueExists(V, "B"));
    say("ValueExists missing", c.ValueExists(V, "missing"));
    say("KillValue B", nonzero(c.KillValue(V, "B")));
    say("ValueExists B after KillValue", c.ValueExists(V, "B"));
    say("KillValue in a missing key", nonzero(c.KillValue(S + "\\missing", "B")));

    say("CreateKey z", nonzero(c.CreateKey(S + "\\z")));
    std::vector<std::string> names = {"untouched"};
    std::int32_t count = c.EnumKeys(S, names);
    say("EnumKeys", std::to_string(count) + " " + joined(names));
    names = {"untouched"};
    count = c.EnumKeys(S + "\\missing", names);
    say("EnumKeys missing", std::to_string(count) + " [" + joined(names) + "]");
    for (int type : {-1, 1, 3, 4}) {
        names = {"untouched"};
        std::vector<RegValue> values = {std::string("untouched")};
        count = c.EnumValues(V, names, values, type);
        std::string listed;
        for (std::size_t i = 0; i < names.size() && i < values.size(); ++i)
            listed += " " + names[i] + "=" + typed(values[i]);
        say("EnumValues " + std::to_string(type), std::to_string(count) + listed);
    }
    names = {"untouched"};
    std::vector<RegValue> values = {std::string("untouched")};
    count = c.EnumValues(S + "\\missing", names, values, -1);
    say("EnumValues missing",
        std::to_string(count) + " " + joined(names) + " " + typed(values.at(0)));

    std::string hex = "01 0A ff";
    std::string bytes = c.StrToBin(hex);
    say("StrToBin", codes(bytes) + " argument " + hex);
    hex = " 1G ";
    bytes = c.StrToBin(hex);
    say("StrToBin 1G", codes(bytes) + " argument [" + hex + "]");
    hex = "";
    say("StrToBin empty", "[" + codes(c.StrToBin(hex)) + "]");
    say("BinToStr", c.BinToStr(std::string("\x00\x0A\xFF", 3)));
    say("BinToStr empty", "[" + c.BinToStr("") + "]");
    try {
        say("BinToStr 32768", c.BinToStr(std::string(32768, 'A')));
    } catch (const raised& error) {
        say("BinToStr 32768", "raises " + error.description);
    }
    hex = " " + std::string(32768, '0');
    try {
        say("StrToBin 32768", c.StrToBin(hex).size());
    } catch (const raised& error) {
        say("StrToBin 32768",
            "raises " + error.description + ", argument length " + std::to_string(hex.size()));
    }
    say("isBinValid 01 0a", c.isBinValid("01 0a"));
    say("isBinValid 0G", c.isBinValid("0G"));
    say("isBinValid spaces", c.isBinValid("   "));

    c.set_CreateKeyIfDoesntExists(false);
    say("ImportFromReg", c.ImportFromReg(places.import_file));
    say("CreateKeyIfDoesntExists after import", c.CreateKeyIfDoesntExists());
    say("ImportFromReg missing file", c.ImportFromReg(places.import_file + ".missing"));
    std::vector<std::string> shown;
    const std::int32_t tree = c.ExportToReg(S, places.export_prefix + "tree.reg", true, &shown);
    say("ExportToReg tree", std::to_string(tree) + " shown " + joined(shown));
    say("ExportToReg to an existing file",
        c.ExportToReg(S, places.export_prefix + "tree.reg", true, nullptr));
    say("ExportToReg imported",
        c.ExportToReg(S + "\\imported", places.export_prefix + "imported.reg", true, nullptr));
    say("ExportToReg values only",
        c.ExportToReg(V, places.export_prefix + "values.reg", false, nullptr));
    say("ExportToReg missing key",
        c.ExportToReg(S + "\\missing", places.export_prefix + "missing.reg", true, nullptr));
}

}  // namespace tarnwell::test
