#include "report/report_json.h"

#include <cstdio>
#include <utility>

namespace tarnwell {

namespace {

// A JSON string of a UTF-8 text.
std::string quoted(const std::string& utf8) {
    std::string json = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                json += escape;
            } else {
                json += c;
            }
        }
    }
    return json + "\"";
}

const char* status_name(const Finding& finding) {
    if (!finding.lookup_failure.ok()) return "unreadable";
    switch (finding.state) {
    case FindingState::found:
        return "found";
    case FindingState::missing:
        return "missing";
    case FindingState::value:
        return "value";
    case FindingState::empty:
        return "empty";
    case FindingState::count:
        return "count";
    case FindingState::heading:
        break;
    }
    return "heading";
}

std::string value_of(const Finding& finding) {
    if (!finding.lookup_failure.ok()) return "null";
    switch (finding.state) {
    case FindingState::found:
    case FindingState::value:
        return quoted(finding.value);
    case FindingState::count:
        return finding.value;  // the digits of a count
    default:
        return "null";
    }
}

std::string check(const Finding& finding) {
    std::string json = "{\"id\": " + quoted(finding.id) + ", \"status\": \"" +
                       status_name(finding) + "\", \"value\": " + value_of(finding);
    if (finding.view != MachineView::none)
        json += std::string(", \"view\": \"") +
                (finding.view == MachineView::bits32 ? "32" : "64") + "\"";
    json += ", \"line\": " + quoted(finding.line);
    if (!finding.lookup_failure.ok())
        json += ", \"error\": " + std::to_string(finding.lookup_failure.code());
    return json + "}";
}

}  // namespace

std::string report_json(const ReportIdentity& identity, const std::string& text,
                        const std::vector<std::string>& messages,
                        const std::vector<Finding>& findings) {
    std::string json = "{\n";
    for (const auto& [field, value] :
         {std::pair{"tool", std::string("tarnwell_env")}, std::pair{"version", identity.version},
          std::pair{"computer", identity.computer}, std::pair{"user", identity.user},
          std::pair{"windows", identity.windows},
          std::pair{"generated_utc", identity.generated_utc}})
        json += std::string("  \"") + field + "\": " + quoted(value) + ",\n";
    json += "  \"text\": " + quoted(text) + ",\n  \"messages\": [";
    for (std::size_t i = 0; i < messages.size(); ++i)
        json += (i == 0 ? "\n    " : ",\n    ") + quoted(messages[i]);
    json += messages.empty() ? "],\n" : "\n  ],\n";
    json += "  \"checks\": [";
    bool first = true;
    for (const Finding& finding : findings) {
        if (finding.state == FindingState::heading) continue;
        json += (first ? "\n    " : ",\n    ") + check(finding);
        first = false;
    }
    json += first ? "]\n}\n" : "\n  ]\n}\n";
    return json;
}

}  // namespace tarnwell
