#pragma once
// What an export or import of a REGEDIT4 file did: whether it went to its end and why
// not, and each thing on the way that did not go into the file or the registry.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "common/status.h"

namespace tarnwell {

// One thing that did not go into the file or into the registry.
struct RegFileIssue {
    std::size_t line = 0;  // import: the file's line, counted from 1; 0 for the export
    std::string key;       // the key path (or, for a key line that cannot be read, the line)
    std::string value;     // the value name; "" for the key itself or its default value
    Status status;         // the registry's status when a registry call failed
    std::string what;      // what happened, in a few words
};

class RegFileResult {
public:
    // True once the export wrote its whole file under its name, or the import read its
    // file and went through every line; otherwise `failure` says why not.
    bool whole() const { return whole_; }
    const Status& failure() const { return failure_; }
    void finish() { whole_ = true; }
    void fail(Status why) {
        whole_ = false;
        failure_ = std::move(why);
    }

    // Issues in the order met. Those met after the kept ones reached kept_text_limit
    // characters of key names, value names and texts are counted, not kept, so that a
    // file of a million failing lines under a long key name cannot fill the memory.
    const std::vector<RegFileIssue>& issues() const { return issues_; }
    std::size_t issues_not_kept() const { return issues_not_kept_; }
    std::size_t issue_count() const { return issues_.size() + issues_not_kept_; }
    static constexpr std::size_t kept_text_limit = 1 << 20;
    void add(RegFileIssue issue) {
        const std::size_t text = issue.key.size() + issue.value.size() + issue.what.size();
        if (kept_text_ + text > kept_text_limit && !issues_.empty()) {
            ++issues_not_kept_;
            return;
        }
        kept_text_ += text;
        issues_.push_back(std::move(issue));
    }

    // Lines the import could not read, and so did not apply; each is an issue too.
    std::size_t unreadable_lines() const { return unreadable_lines_; }
    void add_unreadable(RegFileIssue issue) {
        ++unreadable_lines_;
        add(std::move(issue));
    }

private:
    bool whole_ = false;
    Status failure_;
    std::vector<RegFileIssue> issues_;
    std::size_t issues_not_kept_ = 0;
    std::size_t kept_text_ = 0;
    std::size_t unreadable_lines_ = 0;
};

}  // namespace tarnwell
