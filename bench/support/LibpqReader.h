// The limit of what any client can do with a statement: libpq's PQexec with every value
// of the result read, over the same server and database as a data source of the
// project's odbc.ini. The database benchmarks report it beside the connection layer.
#pragma once

#include <libpq-fe.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace ormaline::bench {

// The keys of one data source section of the odbc.ini named by ODBCINI.
inline std::map<std::string, std::string> DataSourceKeys(const std::string& dataSource) {
    const char* path = std::getenv("ODBCINI");
    std::ifstream in(path ? path : "");
    std::map<std::string, std::string> keys;
    bool inSection = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[" + dataSource + "]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos)
            continue;
        auto trim = [](std::string text) {
            const std::size_t first = text.find_first_not_of(" \t");
            const std::size_t last = text.find_last_not_of(" \t");
            return first == std::string::npos ? std::string()
                                              : text.substr(first, last - first + 1);
        };
        keys[trim(line.substr(0, equals))] = trim(line.substr(equals + 1));
    }
    return keys;
}

class LibpqReader {
public:
    // Connects to the server and database of the data source `dataSource`.
    explicit LibpqReader(const std::string& dataSource) {
        auto keys = DataSourceKeys(dataSource);
        if (keys.empty())
            throw std::runtime_error("no data source " + dataSource + " in $ODBCINI");
        const std::string info = "host=" + keys["Servername"] + " port=" + keys["Port"] +
                                 " dbname=" + keys["Database"] + " user=" + keys["Username"] +
                                 " password=" + keys["Password"] + " sslmode=disable";
        connection_ = PQconnectdb(info.c_str());
        if (PQstatus(connection_) != CONNECTION_OK) {
            std::string message = PQerrorMessage(connection_);
            PQfinish(connection_);
            throw std::runtime_error(message);
        }
    }
    ~LibpqReader() { PQfinish(connection_); }
    LibpqReader(const LibpqReader&) = delete;
    LibpqReader& operator=(const LibpqReader&) = delete;

    // Runs the statement and copies every value out as text; returns the number of rows.
    std::size_t ReadAll(const std::string& statement, std::vector<std::string>& values) {
        PGresult* result = PQexec(connection_, statement.c_str());
        if (PQresultStatus(result) != PGRES_TUPLES_OK) {
            std::string message = PQresultErrorMessage(result);
            PQclear(result);
            throw std::runtime_error(message);
        }
        const int rows = PQntuples(result);
        const int columns = PQnfields(result);
        values.clear();
        values.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                values.emplace_back(PQgetvalue(result, row, column),
                                    static_cast<std::size_t>(PQgetlength(result, row, column)));
        PQclear(result);
        return static_cast<std::size_t>(rows);
    }

private:
    PGconn* connection_ = nullptr;
};

} // namespace ormaline::bench
