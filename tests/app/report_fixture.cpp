#include "app/report_fixture.h"

#include <fstream>
#include <sstream>

namespace tarnwell::test {

std::string report_from_file(const std::string& name, const std::string& date_and_time) {
    std::ifstream file(std::string(TARNWELL_TEST_DATA) + "/" + name);
    EXPECT_TRUE(file.good()) << name;
    const std::string placeholder = "<date and time>";
    std::string text, line;
    for (bool first = true; std::getline(file, line); first = false) {
        if (first) line.replace(line.find(placeholder), placeholder.size(), date_and_time);
        text += (first ? "" : "\r") + line;
    }
    return text;
}

}  // namespace tarnwell::test
