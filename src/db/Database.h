// The ODBC connection layer: one connection to a data source, statements whose rows
// are walked forward, columns read by name without regard to case.
//
// Values are fetched as text and converted by our own parsers, because the driver
// converts bad values silently. The layer never shows UI: every failure is an
// EDatabaseError carrying the driver's message.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ormaline {

class EDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TDatabase;

// An open result: the rows of one statement, walked forward. The first row (if any)
// is current right after the statement ran.
class TResult {
public:
    ~TResult();
    TResult(const TResult&) = delete;
    TResult& operator=(const TResult&) = delete;

    // True after the last row (and for a result without rows).
    bool Eof() const { return eof_; }
    void Next();
    void Close();

    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const std::string& ColumnName(int index) const { return columns_[index].name; }
    // Index of the named column, matched without regard to case; -1 when absent.
    int FindColumn(std::string_view name) const;

    // Reading a column of the current row. A GUID column arrives in its 38-character
    // braced upper-case form. NULL reads as "" (text), 0 (integer) and 0.0 (double).
    // An unknown column, a read past the last row, or a value that is not an integer
    // (or a number) throws EDatabaseError.
    bool IsNull(std::string_view column) const;
    const std::string& AsString(std::string_view column) const;
    std::int32_t AsInteger(std::string_view column) const;
    double AsFloat(std::string_view column) const;

    // The same by column index (0-based), for walkers that read every column.
    bool IsNull(int index) const;
    const std::string& AsString(int index) const;

private:
    friend class TDatabase;
    struct Column {
        std::string name;
        short sqlType = 0;
    };
    // With `bindColumns` every column is fetched into a buffer of its own with the row
    // (one driver call per row); a value longer than the buffer is read again whole.
    TResult(void* statementHandle, std::string statement, bool bindColumns);
    void FetchRow();
    // Reads column `index` of the current row piece by piece into values_.
    void ReadWholeValue(std::size_t index);
    int ColumnIndexOrThrow(std::string_view name) const;
    void CheckRow() const;

    void* statement_ = nullptr; // SQLHSTMT
    std::string statementText_;
    std::vector<Column> columns_;
    std::vector<std::string> values_;
    std::vector<bool> nulls_;
    std::vector<char> bound_;                // the bound buffers, kBoundSize bytes per column
    std::vector<std::int64_t> boundLengths_; // their lengths or NULL indicators (SQLLEN)
    bool eof_ = true;
};

class TDatabase {
public:
    // The connection string handed to the driver manager; the program uses the data
    // source "PostgreSQL30" and never supplies a user or password itself.
    static constexpr const char* kDefaultConnection = "DSN=PostgreSQL30;";

    explicit TDatabase(std::string connectionString = kDefaultConnection);
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    // Opens the connection unless it is open; a connection found lost is released and
    // made anew.
    void Open();
    void Close();
    // True while the connection is usable: it was opened and neither a statement failed
    // with a connection exception (SQLSTATE class 08, such as a communication link
    // failure after the server restarted) nor does the driver report it dead.
    bool IsOpen() const;
    const std::string& ConnectionString() const { return connectionString_; }
    // Takes effect at the next Open.
    void SetConnectionString(std::string connectionString) {
        connectionString_ = std::move(connectionString);
    }

    // Runs a statement that returns rows. A statement run while the connection is
    // closed fails with EDatabaseError ("Connection is closed."); on a lost connection
    // it fails with the driver's message.
    std::unique_ptr<TResult> Query(const std::string& statement);

private:
    std::string connectionString_;
    void* environment_ = nullptr; // SQLHENV
    void* connection_ = nullptr;  // SQLHDBC
    bool lost_ = false;           // a statement failed with a connection exception
    bool bindColumns_ = false;    // the driver reads a bound column again with SQLGetData
};

} // namespace ormaline
