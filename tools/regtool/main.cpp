// regtool: REGEDIT4 export and import through clsRegistryAccess, for scripts. The usage
// text below says what it does and what its exit codes mean.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "registry/clsRegistryAccess.h"
#include "registry/reg_key.h"
#include "registry/registry_errors.h"
#include "regtool_platform.h"

namespace {

using namespace tarnwell;

const char* const usage_text =
    "regtool: REGEDIT4 export and import of registry keys.\n"
    "\n"
    "usage:\n"
    "  regtool export KEY FILE [--no-subkeys]  write KEY (and its subkeys) to FILE\n"
    "  regtool import FILE                     apply FILE to the registry\n"
    "  regtool --help | /?                     show this text\n"
    "\n"
    "KEY is a key path such as HKCU\\Software\\Tarnwell or\n"
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell. An export never replaces a file: FILE must\n"
    "not exist. Several commands may follow one another; they run in order and stop at\n"
    "the first that fails.\n"
    "\n"
    "exit codes:\n"
    "  0  every command did all it was asked\n"
    "  1  a command failed and says why on standard error: the key cannot be opened,\n"
    "     FILE exists or cannot be written, FILE is missing or not a REGEDIT4 file, or a\n"
    "     line stopped the import (the changes before it stay)\n"
    "  2  the command line cannot be read\n"
    "  3  the commands ran to their end but not everything went through: values the\n"
    "     file format has no form for (expandable text, multi-text, 64-bit numbers),\n"
    "     values that would import as something else, keys that could not be opened,\n"
    "     or writes and deletes the registry refused; each is named on standard error\n"
    "     (past the first megabyte of names, only their number is given)\n";

enum Outcome { done = 0, failed = 1, unreadable_command_line = 2, incomplete = 3 };

Outcome usage_error(const std::string& why) {
    std::fprintf(stderr, "regtool: %s\n\n%s", why.c_str(), usage_text);
    return unreadable_command_line;
}

// The report's problems on standard error, one line each; incomplete when there are any.
Outcome told(const std::string& file, const RegFileReport& report) {
    for (const RegFileProblem& problem : report.problems) {
        std::string where = file;
        if (problem.line != 0) where += " line " + std::to_string(problem.line);
        std::string what = problem.key;
        if (!problem.value.empty())
            what += " value \"" + problem.value + "\"";
        else if (problem.line == 0)
            what = "key " + what;
        std::string line = where + ": " + what + ": " + problem.what;
        if (problem.status != 0) line += ": " + registry_error_text(problem.status);
        std::fprintf(stderr, "regtool: %s\n", line.c_str());
    }
    if (report.problems_not_kept != 0)
        std::fprintf(stderr, "regtool: %s: %zu more not listed\n", file.c_str(),
                     report.problems_not_kept);
    const std::size_t count = report.problem_count();
    if (count == 0) return done;
    std::fprintf(stderr, "regtool: %s: %zu %s not go through\n", file.c_str(), count,
                 count == 1 ? "thing did" : "things did");
    return incomplete;
}

class Regtool {
public:
    Outcome export_key(const std::string& key, const std::string& file, bool subkeys) {
        // The class writes an empty block for a key it cannot open; a script asking for
        // a key wants to know it is not there, and gets no file.
        const KeyPath path = split_key_path(key);
        RegKey opened(platform_.registry());
        if (const long status = opened.open(path.root, path.sub_key, reg::key_read);
            status != reg::success) {
            std::fprintf(stderr, "regtool: cannot open the key %s: %s\n", key.c_str(),
                         registry_error_text(status).c_str());
            return failed;
        }
        opened.close();
        RegFileReport report;
        if (registry_.ExportToReg(key, platform_.file_path(file), subkeys, nullptr, &report) != 1) {
            std::fprintf(stderr, "regtool: export of %s to %s failed: %s\n", key.c_str(),
                         file.c_str(), report.failure.c_str());
            return failed;
        }
        return told(file, report);
    }

    Outcome import_file(const std::string& file) {
        RegFileReport report;
        const std::int32_t result = registry_.ImportFromReg(platform_.file_path(file), &report);
        const Outcome problems = told(file, report);
        if (result != 1) {
            std::fprintf(stderr, "regtool: import of %s failed: %s\n", file.c_str(),
                         report.failure.c_str());
            return failed;
        }
        return problems;
    }

private:
    RegtoolPlatform platform_;
    clsRegistryAccess registry_{platform_.registry(), platform_.files(), platform_.desktop()};
};

bool is_help(const std::string& argument) {
    return argument == "--help" || argument == "-h" || argument == "/?" || argument == "-?";
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage_error("no command given");
    if (args.size() == 1 && is_help(args[0])) {
        std::fputs(usage_text, stdout);
        return done;
    }
    // The whole command line is read before anything is changed.
    struct Command {
        std::string verb, key, file;
        bool subkeys = true;
    };
    std::vector<Command> commands;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "export" && i + 2 < args.size()) {
            Command command{"export", args[i + 1], args[i + 2]};
            i += 3;
            if (i < args.size() && args[i] == "--no-subkeys") {
                command.subkeys = false;
                ++i;
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
        Regtool tool;
        Outcome outcome = done;
        for (const Command& command : commands) {
            const Outcome step = command.verb == "export"
                                     ? tool.export_key(command.key, command.file, command.subkeys)
                                     : tool.import_file(command.file);
            if (step == failed) return failed;
            if (step == incomplete) outcome = incomplete;
        }
        return outcome;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "regtool: not enough memory\n");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "regtool: %s\n", failure.what());
    }
    return failed;
}
