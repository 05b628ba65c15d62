// startup_parts_bench RUNS: where the report's start-up time goes, on the workstation
// the program runs on (under Wine, the benchmark's prepared prefix). Runs the load
// handler RUNS times into a real rich-text pane, each time on a fresh window state,
// with every platform call timed by kind: registry lookups, file tests, the support
// library's PATH searches, the shell's folder lookup and the pane's appends. Prints
// note lines for scripts/bench.sh: the median time of each kind, its share of the load
// handler's time and its number of calls.
#include "windows_api/windows_api.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/report_window.h"
#include "app/win32/report_pane.h"
#include "platform/win32/owned.h"
#include "platform/win32/win32_platform.h"

using namespace tarnwell;

namespace {

using Clock = std::chrono::steady_clock;

// Time spent in calls of one kind during one load.
struct Spent {
    double seconds = 0;
    long calls = 0;
};
std::map<std::string, Spent> spent;

// Times one call: spent[kind] grows by its duration.
class Timed {
public:
    explicit Timed(const char* kind) : kind_(kind), start_(Clock::now()) {}
    ~Timed() {
        Spent& s = spent[kind_];
        s.seconds += std::chrono::duration<double>(Clock::now() - start_).count();
        ++s.calls;
    }
    Timed(const Timed&) = delete;
    Timed& operator=(const Timed&) = delete;

private:
    const char* kind_;
    Clock::time_point start_;
};

class TimedRegistry : public RegistryApi {
public:
    explicit TimedRegistry(RegistryApi& inner) : inner_(inner) {}
    Status open_key(reg_key k, const char* s, std::uint32_t a, reg_key* r) override {
        Timed t(kind);
        return inner_.open_key(k, s, a, r);
    }
    Status open_link(reg_key k, const char* s, std::uint32_t a, reg_key* r) override {
        Timed t(kind);
        return inner_.open_link(k, s, a, r);
    }
    Status open_key_default(reg_key k, const char* s, reg_key* r) override {
        Timed t(kind);
        return inner_.open_key_default(k, s, r);
    }
    Status create_key(reg_key k, const char* s, reg_key* r) override {
        Timed t(kind);
        return inner_.create_key(k, s, r);
    }
    Status close_key(reg_key k) override {
        Timed t(kind);
        return inner_.close_key(k);
    }
    Status delete_key(reg_key k, const char* s) override {
        Timed t(kind);
        return inner_.delete_key(k, s);
    }
    Status delete_value(reg_key k, const char* n) override {
        Timed t(kind);
        return inner_.delete_value(k, n);
    }
    Status enum_subkey(reg_key k, std::uint32_t i, char* n, std::uint32_t* ns) override {
        Timed t(kind);
        return inner_.enum_subkey(k, i, n, ns);
    }
    Status enum_value(reg_key k, std::uint32_t i, char* n, std::uint32_t* ns, std::uint32_t* ty,
                      std::uint8_t* d, std::uint32_t* ds) override {
        Timed t(kind);
        return inner_.enum_value(k, i, n, ns, ty, d, ds);
    }
    Status query_key_info(reg_key k, std::uint32_t* a, std::uint32_t* b, std::uint32_t* c,
                          std::uint32_t* d, std::uint32_t* e) override {
        Timed t(kind);
        return inner_.query_key_info(k, a, b, c, d, e);
    }
    Status query_value(reg_key k, const char* n, std::uint32_t* ty, std::uint8_t* d,
                       std::uint32_t* ds) override {
        Timed t(kind);
        return inner_.query_value(k, n, ty, d, ds);
    }
    Status set_value(reg_key k, const char* n, std::uint32_t ty, const std::uint8_t* d,
                     std::uint32_t ds) override {
        Timed t(kind);
        return inner_.set_value(k, n, ty, d, ds);
    }

private:
    static constexpr const char* kind = "registry lookups";
    RegistryApi& inner_;
};

class TimedFiles : public FileSystem {
public:
    explicit TimedFiles(FileSystem& inner) : inner_(inner) {}
    Result<std::string> special_folder(int which) override {
        Timed t(kind);
        return inner_.special_folder(which);
    }
    Result<bool> file_exists(const std::string& p) override {
        Timed t(kind);
        return inner_.file_exists(p);
    }
    Result<bool> folder_exists(const std::string& p) override {
        Timed t(kind);
        return inner_.folder_exists(p);
    }
    Result<std::vector<std::string>> list_files(const std::string& f,
                                                const std::string& p) override {
        return inner_.list_files(f, p);
    }
    Result<bool> matches_exist(const std::string& p) override {
        Timed t(kind);
        return inner_.matches_exist(p);
    }
    Status copy_file(const std::string& s, const std::string& d) override {
        Timed t(kind);
        return inner_.copy_file(s, d);
    }
    Result<std::unique_ptr<ReadableFile>> open_for_reading(const std::string& p) override {
        Timed t(kind);
        return inner_.open_for_reading(p);
    }
    Result<std::unique_ptr<PendingFile>> create_pending_file(const std::string& p) override {
        Timed t(kind);
        return inner_.create_pending_file(p);
    }

private:
    static constexpr const char* kind = "file tests";
    FileSystem& inner_;
};

class TimedSupport : public SupportLibrary {
public:
    explicit TimedSupport(SupportLibrary& inner) : inner_(inner) {}
    Result<std::int32_t> FINDFILEINPATH(const char* n, std::int32_t nl, char* b,
                                        std::int32_t bl) override {
        Timed t("PATH searches");
        return inner_.FINDFILEINPATH(n, nl, b, bl);
    }

private:
    SupportLibrary& inner_;
};

class TimedShell : public ShellFolders {
public:
    explicit TimedShell(ShellFolders& inner) : inner_(inner) {}
    std::string folder_path(std::int32_t csidl) override {
        Timed t(kind);
        return inner_.folder_path(csidl);
    }

private:
    static constexpr const char* kind = "shell folder lookup";
    ShellFolders& inner_;
};

// The report logic's view of a real rich-text pane, in a window never shown.
class TimedPane : public ReportView {
public:
    explicit TimedPane(ReportPane& pane) : pane_(pane) {}
    std::string pane_text() override {
        Timed t(kind);
        return pane_.text();
    }
    void set_pane_text(const std::string& text) override {
        Timed t(kind);
        pane_.set_text(text);
    }
    void append_pane_text(const std::string& tail) override {
        Timed t(kind);
        pane_.append(tail);
    }
    void set_enabled(EpsgButton, bool) override {}
    bool is_enabled(EpsgButton) override { return false; }

private:
    static constexpr const char* kind = "pane appends";
    ReportPane& pane_;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    if (LoadLibraryW(L"riched20.dll") == nullptr) return 1;
    const OwnedWindow parent(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ReportPane pane;
    if (!parent || !pane.create(parent.get(), 1, GetModuleHandleW(nullptr))) return 1;

    Win32Platform real;
    TimedRegistry registry(real.registry);
    TimedRegistry registry_32(real.registry_32);
    TimedRegistry registry_64(real.registry_64);
    TimedFiles files(real.files);
    TimedShell shell(real.shell);
    TimedSupport support(real.support);
    // Message boxes would wait for a person: their texts are kept instead.
    std::vector<std::string> messages;
    real.desktop.recorded_messages = &messages;
    Platform platform{registry, files, shell, real.desktop, support, registry_32, registry_64};
    TimedPane view(pane);

    std::map<std::string, std::vector<double>> seconds;
    std::map<std::string, long> calls;
    std::vector<double> loads;
    for (int run = 0; run < runs; ++run) {
        spent.clear();
        ProgramState program;
        Form_Tarnwell_Environment form(platform, view, program);
        pane.set_text("");
        // As the window does: the report goes into the pane in one piece.
        const auto start = Clock::now();
        pane.gather_changes();
        form.Form_Load();
        {
            Timed t("pane appends");
            pane.apply_gathered();
        }
        loads.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        for (const auto& [kind, s] : spent) {
            seconds[kind].push_back(s.seconds);
            calls[kind] = s.calls;
        }
        if (!messages.empty()) {
            std::fprintf(stderr, "startup_parts_bench: the load handler said: %s\n",
                         messages.front().c_str());
            return 1;
        }
    }
    const double load = median(loads);
    std::printf("note\tstart-up parts\tthe load handler: %.1f ms (median of %d runs), of which:\n",
                load * 1000, runs);
    double accounted = 0;
    for (const auto& [kind, samples] : seconds) {
        const double m = median(samples);
        accounted += m;
        std::printf("note\tstart-up parts\t  %-20s %7.1f ms %4.0f %%  %ld calls\n", kind.c_str(),
                    m * 1000, 100 * m / load, calls[kind]);
    }
    std::printf("note\tstart-up parts\t  %-20s %7.1f ms %4.0f %%\n", "the report's own code",
                (load - accounted) * 1000, 100 * (load - accounted) / load);
    return 0;
}
