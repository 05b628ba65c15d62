// What the export and import tell besides going to their end: why they stopped, and
// each value, key, line or operation that did not make it into the file or the
// registry. Also keys deeper than a path text the registry takes in one call.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "registry/reg_file_export.h"
#include "registry/reg_file_fixture.h"
#include "registry/reg_file_import.h"
#include "support/file_test_support.h"

namespace tarnwell::test {
namespace {

// "line:key|value|what" per issue, the key below the scratch key as %K; the status only
// as failed or not.
std::vector<std::string> issues(const RegFileResult& result, const std::string& scratch_path) {
    std::vector<std::string> lines;
    for (const RegFileIssue& issue : result.issues()) {
        const std::string key = replaced(issue.key, scratch_path, "%K");
        lines.push_back((issue.line != 0 ? std::to_string(issue.line) + ":" : "") + key + "|" +
                        issue.value + "|" + issue.what + (issue.status != 0 ? " (failed)" : ""));
    }
    return lines;
}

// A disk that fills up after `room` bytes of new files.
class FullDisk : public HookedFileSystem {
public:
    FullDisk(FileSystem& inner, std::size_t room)
        : HookedFileSystem(inner, [](const std::string&, const std::string&) { return Status(); }),
          room_(room) {}
    Result<std::unique_ptr<PendingFile>> create_pending_file(
        const std::string& destination) override {
        class Filling : public PendingFile {
        public:
            Filling(std::unique_ptr<PendingFile> inner, std::size_t& room)
                : inner_(std::move(inner)), room_(room) {}
            Status write(std::string_view bytes) override {
                if (bytes.size() <= room_) {
                    room_ -= bytes.size();
                    return inner_->write(bytes);
                }
                if (const Status written = inner_->write(bytes.substr(0, room_)); !written.ok())
                    return written;
                room_ = 0;
                return Status(112, "There is not enough space on the disk.");
            }
            Status keep(ExistingFile existing) override { return inner_->keep(existing); }

        private:
            std::unique_ptr<PendingFile> inner_;
            std::size_t& room_;
        };
        Result<std::unique_ptr<PendingFile>> made =
            HookedFileSystem::create_pending_file(destination);
        if (!made.ok()) return made;
        return std::unique_ptr<PendingFile>(
            std::make_unique<Filling>(std::move(made).value(), room_));
    }

private:
    std::size_t room_;
};

class Results : public RegFileTest {
protected:
    RegFileResult import_text(const std::string& text) {
        return import_reg_text(platform.registry, replaced(text, "%K", long_path),
                               UnicodeFiles::refused);
    }
    // Exports the scratch key (or `key`) through the platform's registry and files unless
    // others are given.
    RegFileResult export_to(const std::string& file, const std::string& key = "",
                            FileSystem* files = nullptr, ExportProgress* progress = nullptr,
                            RegistryApi* registry_api = nullptr) {
        return export_reg_file(registry_api != nullptr ? *registry_api : platform.registry,
                               files != nullptr ? *files : platform.files,
                               key.empty() ? scratch.path() : key, file, true,
                               RegFileForm::regedit4, progress);
    }
};

TEST_F(Results, ExportNamesOnlyWhatNoLineCanHold) {
    // Every type has a line; none of these is named.
    put("", "expand", reg::type_expand_sz, std::string("%x%\0", 4));
    put("", "multi", reg::type_multi_sz, std::string("a\0b\0\0", 5));
    put("", "wide", 11, std::string(8, '\1'));
    put("", "none", reg::type_none, "");
    put("", "bytes", reg::type_binary, "\x01");
    put("", "short", reg::type_dword, "\x01\x02");
    put_text("", "@", "x");
    put_text("", "quote\"=", "v\r\nw");
    // Names with a line break have none.
    put("breaks", "bin\nary", reg::type_binary, "\x01");
    put("breaks", "no\r\ntype", reg::type_none, "");
    put("breaks", "text\r", reg::type_sz, std::string("t\0", 2));
    make_key("line\r\nbreak");
    const RegFileResult result = export_to(scratch_file("left-out.reg"));
    EXPECT_TRUE(result.whole()) << result.failure().description();
    EXPECT_EQ(issues(result, long_path),
              (std::vector<std::string>{
                  "%K\\breaks|bin\nary|not exported: the name of this binary holds a line break",
                  "%K\\breaks|no\r\ntype|not exported: the name of this value without a type "
                  "holds a line break",
                  "%K\\breaks|text\r|not exported: the name of this text holds a line break",
                  "%K\\line\r\nbreak||left out with its subkeys: its name holds a line break"}));
}

TEST_F(Results, ASubkeyThatCannotBeOpenedIsNamedAndTheExportGoesOn) {
    put_text("a", "v", "1");
    put_text("b", "v", "2");
    HookedRegistry refusing(platform.registry, [&](const HookedRegistry::Call& call) {
        // The walk opens each subkey as itself, so that a registry link is seen as one.
        return call.operation == "open_link" && call.key_path == scratch.sub_key() + "\\a"
                   ? std::optional<long>(reg::access_denied)
                   : std::nullopt;
    });
    const std::string file = scratch_file("refused.reg");
    const RegFileResult result = export_to(file, "", nullptr, nullptr, &refusing);
    EXPECT_TRUE(result.whole());
    EXPECT_EQ(
        issues(result, long_path),
        std::vector<std::string>{"%K\\a||could not be opened: written without values (failed)"});
    EXPECT_NE(file_text(platform.files, file)
                  .find("[" + long_path + "\\a]\r\n\r\n[" + long_path + "\\b]\r\n\"v\"=\"2\"\r\n"),
              std::string::npos);
}

class FailingProgress : public ExportProgress {
public:
    Status key_started(const std::string&) override { return Status::failure("status failed"); }
};

// Every export that stops says why and leaves nothing at its destination, not even the
// file it wrote to on the way.
TEST_F(Results, AFailedExportSaysWhyAndLeavesNoFile) {
    for (int i = 0; i < 300; ++i)
        put_text("k" + std::to_string(i), "v", std::string(200, 'v'));
    FullDisk full(platform.files, 10000);
    FailingProgress failing_progress;
    // The listing of key k7 fails with listing_failure.
    long listing_failure = 0;
    HookedRegistry failing_listing(platform.registry, [&](const HookedRegistry::Call& call) {
        return call.operation == "enum_value" && call.key_path == below("k7")
                   ? std::optional<long>(listing_failure)
                   : std::nullopt;
    });
    const auto listing_fails = [&](long status, const std::string& file) {
        listing_failure = status;
        return export_to(file, "", nullptr, nullptr, &failing_listing);
    };
    const std::string existing = scratch_file("existing.reg");
    must(write_file(platform.files, existing, "precious"));
    const std::string in_no_folder = scratch_file("x") + "\\no\\such\\folder.reg";
    const struct {
        const char* what;
        std::function<RegFileResult(const std::string& file)> run;
        std::string failure;  // how the reason starts ("%F" for the file)
    } cases[] = {
        {"a file that is there", [&](const std::string&) { return export_to(existing); },
         existing + " already exists"},
        {"a key that is not there",
         [&](const std::string& file) { return export_to(file, scratch.path() + "\\missing"); },
         "the key " + long_path + "\\missing cannot be opened: Windows error 2 (not found)"},
        {"a root that is not known",
         [&](const std::string& file) {
             return export_to(file, "HKEY_CURRENT_USERX\\" + scratch.sub_key());
         },
         "unknown root \"HKEY_CURRENT_USERX\" in the key path HKEY_CURRENT_USERX\\" +
             scratch.sub_key()},
        {"a folder that is not there", [&](const std::string&) { return export_to(in_no_folder); },
         in_no_folder + ": "},
        {"a full disk", [&](const std::string& file) { return export_to(file, "", &full); },
         "%F: There is not enough space on the disk."},
        {"a failing status text",
         [&](const std::string& file) { return export_to(file, "", nullptr, &failing_progress); },
         "status failed"},
        {"a key that went while it was listed",
         [&](const std::string& file) { return listing_fails(reg::key_deleted, file); },
         "the key " + long_path +
             "\\k7 could not be read whole (Windows error 1018 (key deleted))"},
        {"a listing that failed for a reason without a name",
         [&](const std::string& file) { return listing_fails(1234, file); },
         "the key " + long_path + "\\k7 could not be read whole (Windows error 1234)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = scratch_file("failed.reg");
        const RegFileResult result = c.run(file);
        std::string failure = c.failure;
        if (failure.rfind("%F", 0) == 0) failure.replace(0, 2, file);
        EXPECT_FALSE(result.whole());
        EXPECT_EQ(result.failure().description().substr(0, failure.size()), failure);
        // A reason that names only the file says why too.
        if (failure.back() == ' ') {
            EXPECT_GT(result.failure().description().size(), failure.size());
        }
        EXPECT_FALSE(must(platform.files.matches_exist(file)));
    }
    EXPECT_EQ(file_text(platform.files, existing), "precious");
    EXPECT_FALSE(
        must(platform.files.matches_exist(existing.substr(0, existing.rfind('\\')) + "\\*.tmp")));
}

TEST_F(Results, ImportSaysWhyItRefusedAFileAndChangesNothing) {
    const struct {
        std::string text;
        std::string failure;
    } cases[] = {
        {"REGEDIT5\r\n", "not a REGEDIT4 file: its first line is not \"REGEDIT4\""},
        {"\xFF\xFEW\0i\0", "not a REGEDIT4 file: its first line is not \"REGEDIT4\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const RegFileResult result = import_text(c.text);
        EXPECT_FALSE(result.whole());
        EXPECT_EQ(result.failure().description(), c.failure);
        EXPECT_EQ(describe(tree()), std::vector<std::string>{""});
    }
    const std::string absent = scratch_file("absent.reg");
    EXPECT_EQ(import_reg_file(platform.registry, platform.files, absent, UnicodeFiles::refused)
                  .failure()
                  .description(),
              absent + ": file not found");
}

// Each line that cannot be applied exactly, or that is no key, value or comment line, is
// named with its line and left out; the lines after it are applied. Lines end at CR LF,
// LF and CR alike.
TEST_F(Results, ImportNamesEachLineItCannotReadAndGoesOn) {
    const RegFileResult result = import_text(
        "REGEDIT4\r\n"
        "\"first\"=\"0\"\r\n"
        "[%K\\a]\r\n"
        "\"d\"=dword:zz\r\n"
        "\"big\"=dword:123456789\r\n"
        "\"b\"=hex:1,234\r\n"
        "\"t\"=\"x\"y\r\n"
        "[%K\\b\r\n"
        "\"lost\"=\"1\"\r\n"
        "[\r\n"
        "[%K\\c]\r\n"
        "\"kept\"=\"2\"\r\n"
        // Continued hex bytes: a comment line in between is passed over; any other line
        // that carries no bytes on ends the value unread and is read as a line itself.
        "\"joined\"=hex:01,\\\r\n"
        "; a comment\r\n"
        "  02\r\n"
        "\"empty\"=hex:01,\\\r\n"
        "\r\n"
        "\"before key\"=hex:01,\\\r\n"
        "[%K\\d]\r\n"
        "\"in d\"=\"3\"\r\n"
        "\"at the end\"=hex:05,\\\r\n"
        // A key line's root stands whole: its key and values are left out.
        "[HKCUTools\\" + scratch.sub_key() + "\\e]\r\n"
        "\"lost\"=\"4\"\r\n"
        "[-HKEY_CURRENT_USERX\\" + scratch.sub_key() + "\\a]\r\n"
        "\"after removal\"=\"5\"\r\n"
        "[%K\\f]\r\n"
        "\"a\"=\"1\"\n\"b\"=\"2\"\n\"c\"=\"3\"\r\n"
        "\"d\"=\"4\"\r\"e\"=\"5\"\r\n"
        "\"x\" \"y\"\r\n"
        "junk\x1b[2J\r\n");
    EXPECT_TRUE(result.whole());
    EXPECT_EQ(result.unreadable_lines(), 11u);
    EXPECT_EQ(issues(result, long_path),
              (std::vector<std::string>{
                  "2:\"first\"=\"0\"||a value line before any key line: not applied",
                  "4:%K\\a|d|dword: without hex digits: not applied",
                  "5:%K\\a|big|dword: a number too large for 32 bits: not applied",
                  "6:%K\\a|b|hex data that is not bytes of one or two hex digits separated by "
                  "commas: not applied",
                  "7:%K\\a|t|text after the closing double quote: not applied",
                  "8:[%K\\b||a key line without its closing ]: the key and its values are not "
                  "applied",
                  "10:[||a key line without its closing ]: the key and its values are not applied",
                  "16:%K\\c|empty|hex data whose next line is missing: not applied",
                  "18:%K\\c|before key|hex data whose next line is missing: not applied",
                  "21:%K\\d|at the end|hex data whose next line is missing: not applied",
                  "22:HKCUTools\\" + scratch.sub_key() +
                      "\\e||unknown root \"HKCUTools\": the key and its values are not applied",
                  "24:HKEY_CURRENT_USERX\\" + scratch.sub_key() +
                      "\\a||unknown root \"HKEY_CURRENT_USERX\": the key is not deleted",
                  "25:\"after removal\"=\"5\"||a value line after a key deletion: not applied",
                  "32:\"x\" \"y\"||neither a key, a value nor a comment: passed over",
                  "33:junk\\x1B[2J||neither a key, a value nor a comment: passed over"}));
    EXPECT_EQ(describe(tree()),
              (std::vector<std::string>{"", "a", "c", "c|joined|bin:01 02", "c|kept|sz:2", "d",
                                        "d|in d|sz:3", "f", "f|a|sz:1", "f|b|sz:2", "f|c|sz:3",
                                        "f|d|sz:4", "f|e|sz:5"}));
}

TEST_F(Results, ImportNamesEachOperationThatFailedAndGoesOn) {
    put_text("parent\\child", "v", "1");
    const std::string too_long(300, 'n');  // more than a key name may hold
    const RegFileResult result = import_text(
        "REGEDIT4\r\n"
        "[-%K\\parent]\r\n"
        "[-%K\\absent]\r\n"
        "[%K\\" +
        too_long +
        "]\r\n"
        "\"v\"=\"1\"\r\n"
        "\"w\"=-\r\n"
        "[%K\\ok]\r\n"
        "\"gone\"=-\r\n"
        "\"v\"=\"2\"\r\n");
    EXPECT_TRUE(result.whole());
    EXPECT_EQ(result.unreadable_lines(), 0u);
    EXPECT_EQ(
        issues(result, long_path),
        (std::vector<std::string>{
            "2:%K\\parent||key not deleted (failed)",
            "4:%K\\" + too_long + "||the key could not be opened or created (failed)",
            "5:%K\\" + too_long + "|v|not written: the key could not be opened or created (failed)",
            "6:%K\\" + too_long +
                "|w|not deleted: the key could not be opened or created (failed)"}));
    EXPECT_EQ(describe(tree()),
              (std::vector<std::string>{"", "ok", "ok|v|sz:2", "parent", "parent\\child",
                                        "parent\\child|v|sz:1"}));
}

// A block whose key cannot be made, followed by many value lines: the key is tried once,
// every failed line is counted, and what the result keeps of them stays within its limit.
TEST_F(Results, ManyLinesUnderAKeyThatCannotBeMadeTryItOnce) {
    std::size_t opens = 0;
    HookedRegistry counting(platform.registry, [&](const HookedRegistry::Call& call) {
        if (call.operation == "create_key" || call.operation == "open_key") ++opens;
        return std::optional<long>();
    });
    constexpr std::size_t value_lines = 20000;
    std::string text = "REGEDIT4\r\n[" + long_path + "\\" + std::string(2000, 'n') + "]\r\n";
    for (std::size_t i = 0; i < value_lines; ++i)
        text += "\"v\"=\"1\"\r\n\"gone\"=-\r\n";
    const RegFileResult result = import_reg_text(counting, text, UnicodeFiles::refused);
    EXPECT_TRUE(result.whole());
    EXPECT_LE(opens, 10u);
    EXPECT_EQ(result.issue_count(), 2 * value_lines + 1);
    std::size_t kept = 0;
    for (const RegFileIssue& issue : result.issues())
        kept += issue.key.size() + issue.value.size() + issue.what.size();
    EXPECT_LE(kept, RegFileResult::kept_text_limit);
    EXPECT_GT(result.issues_not_kept(), 0u);
}

// A value of a megabyte written as the platform's regedit writes it, on lines of 25
// bytes continued with a backslash: read whole, and in time that grows with its length.
TEST_F(Results, AValueOnManyContinuedLinesImportsWhole) {
    std::string bytes, text = "REGEDIT4\r\n[%K]\r\n\"big\"=hex:";
    for (std::size_t i = 0; i < (1u << 20); ++i) {
        bytes += static_cast<char>(i % 251);
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x,", static_cast<unsigned>(i % 251));
        text += pair;
        if (i % 25 == 24) text += "\\\r\n  ";
    }
    text.pop_back();
    text += "\r\n";
    const RegFileResult result = import_text(text);
    ASSERT_TRUE(result.whole());
    EXPECT_EQ(result.issue_count(), 0u);
    EXPECT_TRUE(tree()[""]["big"] == (StoredValue{reg::type_binary, bytes}));
}

#if !defined(_WIN32)
// Only a registry link back to a key above can make a tree deeper than Windows keeps
// keys (the twin makes the deep tree itself): the export stops there and says so.
TEST_F(Results, AnExportStopsAtTheDeepestLevelWindowsKeeps) {
    std::string key;
    for (int level = 0; level < 515; ++level)
        key += (level == 0 ? "k" : "\\k");
    make_key(key);
    const std::string file = scratch_file("endless.reg");
    const RegFileResult result = export_to(file);
    ASSERT_TRUE(result.whole());
    std::string deepest = "%K";
    for (int level = 0; level < 512; ++level)
        deepest += "\\k";
    EXPECT_EQ(issues(result, long_path),
              std::vector<std::string>{deepest + "||subkeys left out: they lie deeper than Windows "
                                                 "keeps keys (a link back to a key above?)"});
    const std::string written = file_text(platform.files, file);
    std::size_t blocks = 0;
    for (std::size_t at = 0; (at = written.find("\r\n[", at)) != std::string::npos; ++at)
        ++blocks;
    EXPECT_EQ(blocks, 513u);
}

// Two subkeys that are registry links back to their parent would make the walk visit
// 2^512 keys: each link is named and left out, and every other key is exported once.
TEST_F(Results, AnExportNamesRegistryLinksAndDoesNotFollowThem) {
    put_text("a", "v", "1");
    put_text("a\\below", "w", "2");
    auto& twin = twin_of(test_platform)->registry;
    twin.make_link(reg::current_user, below("a\\loop"), reg::current_user, scratch.sub_key());
    twin.make_link(reg::current_user, below("back"), reg::current_user, scratch.sub_key());
    const std::string file = scratch_file("links.reg");
    const RegFileResult result = export_to(file);
    ASSERT_TRUE(result.whole()) << result.failure().description();
    EXPECT_EQ(issues(result, long_path),
              (std::vector<std::string>{
                  "%K\\a\\loop||left out: a registry link to another key, which is not followed",
                  "%K\\back||left out: a registry link to another key, which is not followed"}));
    const std::string written = file_text(platform.files, file);
    EXPECT_EQ(written, "REGEDIT4\r\n\r\n[" + long_path + "]\r\n\r\n[" + long_path +
                           "\\a]\r\n\"v\"=\"1\"\r\n\r\n[" + long_path +
                           "\\a\\below]\r\n\"w\"=\"2\"\r\n\r\n");
    // Asked for by its own name, a link is followed once, to the key it leads to.
    const RegFileResult through = export_to(scratch_file("through.reg"), scratch.path() + "\\back");
    ASSERT_TRUE(through.whole()) << through.failure().description();
    EXPECT_EQ(through.issue_count(), 2u);
}
#endif

// Fourteen levels of 45-character names: a path longer than the registry takes in one
// call. Export and import reach every level.
TEST_F(Results, DeepTreeExportsAndImportsWhole) {
    std::string key;
    for (int level = 0; level < 14; ++level) {
        key += (level == 0 ? "" : "\\") + std::string(44, static_cast<char>('a' + level)) +
               std::to_string(level % 10);
        put_text(key, "level", std::to_string(level));
    }
    const RegTree before = tree();
    ASSERT_EQ(before.size(), 15u);
    const std::string file = scratch_file("deep.reg");
    const RegFileResult exported = export_to(file);
    ASSERT_TRUE(exported.whole());
    EXPECT_EQ(exported.issue_count(), 0u);
    test::delete_tree(platform.registry, reg::current_user, scratch.sub_key());
    const RegFileResult imported =
        import_reg_file(platform.registry, platform.files, file, UnicodeFiles::refused);
    ASSERT_TRUE(imported.whole());
    EXPECT_EQ(imported.issue_count(), 0u);
    EXPECT_EQ(describe(tree()), describe(before));
}

}  // namespace
}  // namespace tarnwell::test
