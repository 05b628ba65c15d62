#pragma once
// What a REGEDIT4 export or import met besides its result, for callers that want to say
// more than 1 or 0 (regtool). The class's results never depend on it.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tarnwell {

// One thing that did not go into the file or into the registry.
struct RegFileProblem {
    std::size_t line = 0;  // import: the file's line, counted from 1; 0 for the export
    std::string key;       // the key path
    std::string value;     // the value name; "" for the key itself or its default value
    long status = 0;       // the registry's status when a registry call failed, else 0
    std::string what;      // what happened, in a few words
};

class RegFileReport {
public:
    // Why the export or import ended with 0; "" when it did not.
    std::string failure;
    // Operations that failed and values left out, in the order met; the result stays 1.
    std::vector<RegFileProblem> problems;
    // Problems met after the kept ones reached kept_text_limit characters of key names,
    // value names and texts: counted, not kept, so that a file of a million failing
    // lines under a long key name cannot fill the memory.
    std::size_t problems_not_kept = 0;
    static constexpr std::size_t kept_text_limit = 1 << 20;

    void add(RegFileProblem problem) {
        const std::size_t text = problem.key.size() + problem.value.size() + problem.what.size();
        if (kept_text_ + text > kept_text_limit && !problems.empty()) {
            ++problems_not_kept;
            return;
        }
        kept_text_ += text;
        problems.push_back(std::move(problem));
    }
    std::size_t problem_count() const { return problems.size() + problems_not_kept; }

private:
    std::size_t kept_text_ = 0;
};

}  // namespace tarnwell
