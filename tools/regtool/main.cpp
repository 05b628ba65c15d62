// regtool: export and import of registry keys in regedit's files, for scripts. The usage
// text below says what it does and what its exit codes mean.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "common/text.h"
#include "platform/console.h"
#include "platform/system_platform.h"
#include "registry/key_path.h"
#include "registry/reg_file_export.h"
#include "registry/reg_file_import.h"
#include "registry/registry_errors.h"

namespace {

using namespace tarnwell;

const char* const usage_text =
    "regtool: REGEDIT4 export and import of registry keys.\n"
    "\n"
    "usage:\n"
    "  regtool export KEY FILE [--no-subkeys] [--unicode]\n"
    "                                          write KEY (and its subkeys) to FILE\n"
    "  regtool import FILE                     apply FILE to the registry\n"
    "  /reg:32 | /reg:64                       anywhere on the line: the registry view\n"
    "                                          every command of the line works on\n"
    "  regtool --help | /?                     show this text\n"
    "  regtool --version                       print the version\n"
    "\n"
    "KEY is a key path such as HKCU\\Software\\Tarnwell or\n"
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell. Its root, after at most one \\ and up to\n"
    "the next \\ or the end, is one of HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,\n"
    "HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_PERFORMANCE_DATA, HKEY_DYN_DATA and\n"
    "HKEY_CURRENT_CONFIG or HKCU, HKLM, HKCR, HKUS, HKPD, HKDD and HKCC, or HKU\n"
    "(reg.exe's name of HKEY_USERS), in any letter case; the key lines of an imported\n"
    "file are read alike. An export never replaces a file: FILE must not exist, and it\n"
    "appears only once it is whole. Several commands may follow one another; they run\n"
    "in order and stop at the first that fails.\n"
    "\n"
    "On a 64-bit Windows the registry has two views, which differ in\n"
    "HKEY_LOCAL_MACHINE\\SOFTWARE: the 32-bit view keeps its keys under\n"
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node. As with reg.exe, /reg:32 or /reg:64, in\n"
    "any letter case, chooses the view for every command of the line; without either,\n"
    "regtool works on its own view: the 32-bit one for the 32-bit regtool.exe, the\n"
    "64-bit one for x64\\regtool.exe. A 32-bit Windows has one view, which both show.\n"
    "\n"
    "An export writes a REGEDIT4 file, in the ANSI code page; with --unicode it writes\n"
    "the form of regedit's default export instead (\"Windows Registry Editor Version\n"
    "5.00\", UTF-16), which keeps every character of every name and text. It does not\n"
    "follow registry links: each link below KEY is named and left out, so that no key\n"
    "is walked twice.\n"
    "\n"
    "The files are those the Windows regedit writes and reads: every value type is\n"
    "kept, names and texts have \\ and \" written as \\\\ and \\\", and import also reads\n"
    "hex(N): types, lines continued with a trailing \\, comments after ; and the\n"
    "Unicode files of regedit's default export. As regedit does, import ends a line at\n"
    "CR LF, at LF and at CR. A quoted name or text that is not a well-formed escaped\n"
    "string (one whose only escapes are \\\\ and \\\" and after whose closing quote\n"
    "nothing follows but a comment without double quotes) is taken raw, between its\n"
    "first and last quote, as earlier versions wrote it.\n"
    "\n"
    "exit codes:\n"
    "  0  every command did all it was asked\n"
    "  1  a command failed and says why on standard error: KEY's root is unknown, the\n"
    "     key cannot be opened, FILE exists or cannot be written, FILE is missing or\n"
    "     not a registry file\n"
    "  2  the command line cannot be read (two views on it among the reasons)\n"
    "  3  the commands ran to their end but not everything went through: lines the\n"
    "     import cannot read (they are left out, a key line whose root is unknown with\n"
    "     its values), lines that are no key, value or comment line, value lines\n"
    "     before any key line, names that hold a line break, subkeys that could not be\n"
    "     opened, registry links (never followed), characters the ANSI code page of a\n"
    "     REGEDIT4 export cannot hold (--unicode keeps them), or writes and deletes the\n"
    "     registry refused; each is named on standard error with its line (past the\n"
    "     first megabyte of names, only their number is given)\n";

enum Outcome { done = 0, failed = 1, unreadable_command_line = 2, incomplete = 3 };

// A line on standard error, "regtool: " before it.
void complain(const std::string& text) { write_console(stderr, "regtool: " + text + "\n"); }

Outcome usage_error(const std::string& why) {
    complain(why + "\n");
    write_console(stderr, usage_text);
    return unreadable_command_line;
}

// What did not go through, on standard error, one line each; incomplete when there is
// anything.
Outcome told(const std::string& file, const RegFileResult& result) {
    for (const RegFileIssue& issue : result.issues()) {
        std::string where = file;
        if (issue.line != 0) where += " line " + std::to_string(issue.line);
        std::string what = issue.key;
        if (!issue.value.empty())
            what += " value \"" + issue.value + "\"";
        else if (issue.line == 0)
            what = "key " + what;
        std::string line = where + ": " + what + ": " + issue.what;
        if (!issue.status.ok()) line += ": " + registry_error_text(issue.status);
        complain(line);
    }
    if (result.issues_not_kept() != 0)
        complain(file + ": " + std::to_string(result.issues_not_kept()) + " more not listed");
    const std::size_t count = result.issue_count();
    if (count == 0) return done;
    complain(file + ": " + std::to_string(count) + (count == 1 ? " thing did" : " things did") +
             " not go through");
    return incomplete;
}

class Regtool {
public:
    Regtool(SystemPlatform& system, RegistryView view)
        : system_(system), platform_(system.platform()), registry_(registry_in(platform_, view)) {}

    Outcome export_key(const std::string& key, const std::string& file, bool subkeys,
                       RegFileForm form) {
        const RegFileResult result =
            export_reg_file(registry_, platform_.files, with_reg_exe_root(key),
                            file_layer_path(system_, file), subkeys, form, nullptr);
        if (!result.whole()) {
            complain("export of " + key + " to " + file +
                     " failed: " + result.failure().description());
            return failed;
        }
        return told(file, result);
    }

    Outcome import_file(const std::string& file) {
        const RegFileResult result =
            import_reg_file(registry_, platform_.files, file_layer_path(system_, file),
                            UnicodeFiles::read, read_command_key_path);
        if (!result.whole()) {
            complain("import of " + file + " failed: " + result.failure().description());
            return failed;
        }
        return told(file, result);
    }

private:
    SystemPlatform& system_;
    Platform& platform_;
    RegistryApi& registry_;
};

// The view reg.exe's /reg:32 or /reg:64 names, in any letter case; own for any other
// argument.
RegistryView view_named(const std::string& argument) {
    if (equals_ignoring_case(argument, "/reg:32")) return RegistryView::bits32;
    if (equals_ignoring_case(argument, "/reg:64")) return RegistryView::bits64;
    return RegistryView::own;
}

bool is_help(const std::string& argument) {
    return argument == "--help" || argument == "-h" || argument == "/?" || argument == "-?";
}

}  // namespace

int main(int argc, char** argv) {
    restrict_dll_search();
    // A view switch applies to every command, wherever it stands.
    RegistryView view = RegistryView::own;
    std::vector<std::string> args;
    for (std::string& argument : program_arguments(argc, argv)) {
        const RegistryView named = view_named(argument);
        if (named == RegistryView::own) {
            args.push_back(std::move(argument));
        } else if (view != RegistryView::own && view != named) {
            return usage_error("/reg:32 and /reg:64 cannot both be given");
        } else {
            view = named;
        }
    }
    if (args.empty()) return usage_error("no command given");
    if (args.size() == 1 && is_help(args[0])) {
        write_console(stdout, usage_text);
        return done;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::printf("regtool %s\n", TARNWELL_VERSION);
        return done;
    }
    // The whole command line is read before anything is changed.
    struct Command {
        std::string verb, key, file;
        bool subkeys = true;
        RegFileForm form = RegFileForm::regedit4;
    };
    std::vector<Command> commands;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "export" && i + 2 < args.size()) {
            Command command{"export", args[i + 1], args[i + 2]};
            for (i += 3; i < args.size(); ++i) {
                if (args[i] == "--no-subkeys") {
                    command.subkeys = false;
                } else if (args[i] == "--unicode") {
                    command.form = RegFileForm::unicode;
                } else {
                    break;
                }
            }
            commands.push_back(command);
        } else if (args[i] == "import" && i + 1 < args.size()) {
            commands.push_back({"import", "", args[i + 1]});
            i += 2;
        } else {
            return usage_error("cannot read the command at \"" + args[i] + "\"");
        }
    }
    // A file too large for the memory, or a failure nothing below expected, ends the
    // commands with a reason instead of taking the program down.
    try {
        SystemPlatform system;
        Regtool tool(system, view);
        Outcome outcome = done;
        for (const Command& command : commands) {
            const Outcome step = command.verb == "export"
                                     ? tool.export_key(command.key, command.file,
                                                       command.subkeys, command.form)
                                     : tool.import_file(command.file);
            if (step == failed) return failed;
            if (step == incomplete) outcome = incomplete;
        }
        return outcome;
    } catch (const std::bad_alloc&) {
        complain("not enough memory");
    } catch (const std::exception& failure) {
        complain(failure.what());
    }
    return failed;
}
