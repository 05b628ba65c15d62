#pragma once
// What a REGEDIT4 export or import met besides its result, for callers that want to say
// more than 1 or 0 (regtool). The class's results never depend on it.
#include <cstddef>
#include <string>
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

struct RegFileReport {
    // Why the export or import ended with 0; "" when it did not.
    std::string failure;
    // Operations that failed and values left out, in the order met; the result stays 1.
    std::vector<RegFileProblem> problems;
};

}  // namespace tarnwell
