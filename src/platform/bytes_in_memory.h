#pragma once
// Bytes already in memory, read as a file is: a report handed over whole, and the
// tests' and fuzzers' files.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/file_system.h"

namespace tarnwell {

class BytesInMemory : public ReadableFile {
public:
    // The bytes are not copied: they must outlive the reads.
    explicit BytesInMemory(std::string_view bytes) : bytes_(bytes) {}
    Result<std::uint64_t> size() override { return static_cast<std::uint64_t>(bytes_.size()); }
    Result<std::size_t> read(char* buffer, std::size_t n) override {
        const std::size_t got = bytes_.copy(buffer, n);
        bytes_.remove_prefix(got);
        return got;
    }

private:
    std::string_view bytes_;
};

}  // namespace tarnwell
