#include <sqlite3.h>

#include <stdexcept>

#include "proj_db_names.h"

namespace tarnwell::epsg_writer {

namespace {

// The EPSG table whose names fill each section, in section order.
const char* const section_queries[epsg_section_count] = {
    "SELECT name FROM geodetic_crs WHERE auth_name = 'EPSG'",
    "SELECT name FROM unit_of_measure WHERE auth_name = 'EPSG'",
    "SELECT name FROM ellipsoid WHERE auth_name = 'EPSG'",
    "SELECT name FROM prime_meridian WHERE auth_name = 'EPSG'",
    "SELECT name FROM geodetic_datum WHERE auth_name = 'EPSG'",
    "SELECT name FROM projected_crs WHERE auth_name = 'EPSG'",
    "SELECT name FROM conversion WHERE auth_name = 'EPSG'",
    "SELECT description FROM extent WHERE auth_name = 'EPSG'",
    "SELECT name FROM helmert_transformation_table WHERE auth_name = 'EPSG'",
};

// proj.db holds UTF-8; the definitions file holds ANSI text. Latin-1 characters keep
// their code (as in Windows-1252), others become "?".
std::string to_ansi(const unsigned char* utf8) {
    std::string out;
    for (const unsigned char* p = utf8; *p != 0;) {
        unsigned code = *p++;
        int more = code >= 0xf0 ? 3 : code >= 0xe0 ? 2 : code >= 0xc0 ? 1 : 0;
        if (more > 0) code &= 0x3fu >> more;
        for (; more > 0 && (*p & 0xc0) == 0x80; --more)
            code = (code << 6) | (*p++ & 0x3fu);
        out += code < 0x100 && more == 0 ? static_cast<char>(code) : '?';
    }
    return out;
}

class Database {
public:
    explicit Database(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            const std::string why = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw std::runtime_error("cannot open " + path + " (" + why +
                                     "): install Debian's proj-data package");
        }
    }
    ~Database() { sqlite3_close(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    std::vector<std::string> texts(const char* query) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, query, -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("not an EPSG database: ") + sqlite3_errmsg(db_));
        std::vector<std::string> result;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(statement, 0);
            if (text != nullptr) result.push_back(to_ansi(text));
        }
        sqlite3_finalize(statement);
        if (result.empty()) throw std::runtime_error(std::string("no EPSG names from: ") + query);
        return result;
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace

TextPools read_proj_db_names(const std::string& path) {
    Database db(path);
    TextPools pools;
    for (std::size_t k = 0; k < pools.size(); ++k)
        pools[k] = db.texts(section_queries[k]);
    return pools;
}

}  // namespace tarnwell::epsg_writer
