#include "db/Database.h"

#include "model/Guid.h"
#include "model/TextUtil.h"

#include <sql.h>
#include <sqlext.h>

#include <cmath>
#include <type_traits>

namespace ormaline {

namespace {

// The driver's diagnostic records for a handle, joined into one message.
std::string DiagnosticText(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER nativeError = 0;
        SQLCHAR message[SQL_MAX_MESSAGE_LENGTH + 1] = {};
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, record, state, &nativeError, message,
                                     sizeof message, &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        if (!text.empty())
            text += "\n";
        text += reinterpret_cast<const char*>(message);
    }
    return text.empty() ? std::string("Unknown database error.") : text;
}

// True when a diagnostic record of the handle reports a connection exception
// (SQLSTATE class 08: communication link failure, connection does not exist, ...).
bool ReportsLostConnection(SQLSMALLINT handleType, SQLHANDLE handle) {
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, record, state, &nativeError, nullptr,
                                         0, &length)))
            return false;
        if (state[0] == '0' && state[1] == '8')
            return true;
    }
}

[[noreturn]] void ThrowDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle) {
    throw EDatabaseError(DiagnosticText(handleType, handle));
}

void Check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle) {
    if (!SQL_SUCCEEDED(rc))
        ThrowDiagnostic(handleType, handle);
}

// Bytes of the buffer a bound column is fetched into (with its terminating zero). Codes,
// numbers, GUIDs and most names fit; a longer value is read again whole.
constexpr std::size_t kBoundSize = 256;

static_assert(std::is_same_v<SQLLEN, std::int64_t>, "bound lengths are kept as SQLLEN");

} // namespace

// ---------------------------------------------------------------- TResult

TResult::TResult(void* statementHandle, std::string statement, bool bindColumns)
    : statement_(statementHandle), statementText_(std::move(statement)) {
    SQLHSTMT hstmt = static_cast<SQLHSTMT>(statement_);
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(hstmt, &count), SQL_HANDLE_STMT, hstmt);
    columns_.resize(static_cast<std::size_t>(count));
    for (SQLUSMALLINT i = 0; i < static_cast<SQLUSMALLINT>(count); ++i) {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT dataType = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        Check(SQLDescribeCol(hstmt, i + 1, name, sizeof name, &nameLength, &dataType, &size,
                             &digits, &nullable),
              SQL_HANDLE_STMT, hstmt);
        columns_[i].name = reinterpret_cast<const char*>(name);
        columns_[i].sqlType = dataType;
    }
    values_.resize(columns_.size());
    nulls_.assign(columns_.size(), true);
    if (bindColumns) {
        bound_.assign(columns_.size() * kBoundSize, '\0');
        boundLengths_.assign(columns_.size(), 0);
        for (std::size_t i = 0; i < columns_.size(); ++i)
            Check(SQLBindCol(hstmt, static_cast<SQLUSMALLINT>(i + 1), SQL_C_CHAR,
                             bound_.data() + i * kBoundSize, static_cast<SQLLEN>(kBoundSize),
                             &boundLengths_[i]),
                  SQL_HANDLE_STMT, hstmt);
    }
    eof_ = false;
    FetchRow();
}

TResult::~TResult() {
    Close();
}

void TResult::Close() {
    if (statement_) {
        SQLFreeHandle(SQL_HANDLE_STMT, static_cast<SQLHSTMT>(statement_));
        statement_ = nullptr;
    }
    eof_ = true;
}

void TResult::Next() {
    if (eof_)
        throw EDatabaseError("Cannot move past the last row.");
    FetchRow();
}

void TResult::FetchRow() {
    SQLHSTMT hstmt = static_cast<SQLHSTMT>(statement_);
    if (!hstmt || columns_.empty()) {
        eof_ = true;
        return;
    }
    SQLRETURN rc = SQLFetch(hstmt);
    if (rc == SQL_NO_DATA) {
        eof_ = true;
        return;
    }
    Check(rc, SQL_HANDLE_STMT, hstmt);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!bound_.empty()) {
            const SQLLEN length = boundLengths_[i];
            nulls_[i] = length == SQL_NULL_DATA;
            if (nulls_[i])
                values_[i].clear();
            else if (length != SQL_NO_TOTAL && length < static_cast<SQLLEN>(kBoundSize))
                values_[i].assign(bound_.data() + i * kBoundSize, static_cast<std::size_t>(length));
            else
                ReadWholeValue(i); // longer than the buffer
        } else {
            ReadWholeValue(i);
        }
        if (!nulls_[i] && columns_[i].sqlType == SQL_GUID)
            values_[i] = BracedGuidText(values_[i]);
    }
}

void TResult::ReadWholeValue(std::size_t index) {
    SQLHSTMT hstmt = static_cast<SQLHSTMT>(statement_);
    std::string& value = values_[index];
    value.clear();
    bool isNull = false;
    char buffer[4096];
    // Long values arrive in pieces; each call returns the next piece.
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(hstmt, static_cast<SQLUSMALLINT>(index + 1), SQL_C_CHAR, buffer,
                                  sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA)
            break;
        Check(rc, SQL_HANDLE_STMT, hstmt);
        if (indicator == SQL_NULL_DATA) {
            isNull = true;
            break;
        }
        std::size_t piece =
            (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof buffer))
                ? sizeof buffer - 1
                : static_cast<std::size_t>(indicator);
        value.append(buffer, piece);
        if (rc == SQL_SUCCESS)
            break;
    }
    nulls_[index] = isNull;
}

int TResult::FindColumn(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (EqualsIgnoreCase(columns_[i].name, name))
            return static_cast<int>(i);
    return -1;
}

int TResult::ColumnIndexOrThrow(std::string_view name) const {
    int index = FindColumn(name);
    if (index < 0)
        throw EDatabaseError("Field '" + std::string(name) + "' not found");
    return index;
}

void TResult::CheckRow() const {
    if (eof_)
        throw EDatabaseError("No current row.");
}

bool TResult::IsNull(int index) const {
    CheckRow();
    return nulls_.at(static_cast<std::size_t>(index));
}

const std::string& TResult::AsString(int index) const {
    CheckRow();
    return values_.at(static_cast<std::size_t>(index));
}

bool TResult::IsNull(std::string_view column) const {
    return IsNull(ColumnIndexOrThrow(column));
}

const std::string& TResult::AsString(std::string_view column) const {
    return AsString(ColumnIndexOrThrow(column));
}

std::int32_t TResult::AsInteger(std::string_view column) const {
    int index = ColumnIndexOrThrow(column);
    if (IsNull(index))
        return 0;
    const std::string& text = AsString(index);
    if (auto value = ParseInt32(text))
        return *value;
    // A numeric column holding an integral value ("3.0") still reads as an integer.
    if (auto number = ParseNumber(text);
        number && std::nearbyint(*number) == *number && std::fabs(*number) <= 2147483647.0)
        return static_cast<std::int32_t>(*number);
    throw EDatabaseError("'" + text + "' is not a valid integer value for field '" +
                         std::string(column) + "'");
}

double TResult::AsFloat(std::string_view column) const {
    int index = ColumnIndexOrThrow(column);
    if (IsNull(index))
        return 0.0;
    const std::string& text = AsString(index);
    if (auto value = ParseNumber(text))
        return *value;
    std::string lower = ToLowerAscii(Trim(text));
    if (lower == "nan")
        return std::nan("");
    if (lower == "infinity" || lower == "inf")
        return HUGE_VAL;
    if (lower == "-infinity" || lower == "-inf")
        return -HUGE_VAL;
    throw EDatabaseError("'" + text + "' is not a valid floating point value for field '" +
                         std::string(column) + "'");
}

// ---------------------------------------------------------------- TDatabase

TDatabase::TDatabase(std::string connectionString)
    : connectionString_(std::move(connectionString)) {}

TDatabase::~TDatabase() {
    Close();
}

bool TDatabase::IsOpen() const {
    if (connection_ == nullptr)
        return false;
    if (lost_)
        return false;
    // A driver that can tell asks its connection; one that cannot counts as alive.
    SQLUINTEGER dead = SQL_CD_FALSE;
    SQLRETURN rc = SQLGetConnectAttr(static_cast<SQLHDBC>(connection_), SQL_ATTR_CONNECTION_DEAD,
                                     &dead, 0, nullptr);
    return !(SQL_SUCCEEDED(rc) && dead == SQL_CD_TRUE);
}

void TDatabase::Open() {
    if (IsOpen())
        return;
    // A connection the server has dropped is released before a new one is made.
    Close();
    SQLHENV henv = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &henv)))
        throw EDatabaseError("The ODBC driver manager could not be initialised.");
    SQLSetEnvAttr(henv, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHDBC hdbc = SQL_NULL_HDBC;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, henv, &hdbc))) {
        std::string message = DiagnosticText(SQL_HANDLE_ENV, henv);
        SQLFreeHandle(SQL_HANDLE_ENV, henv);
        throw EDatabaseError(message);
    }
    SQLCHAR completed[1024] = {};
    SQLSMALLINT completedLength = 0;
    std::string text = connectionString_;
    SQLRETURN rc = SQLDriverConnect(hdbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                    static_cast<SQLSMALLINT>(text.size()), completed,
                                    sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        std::string message = DiagnosticText(SQL_HANDLE_DBC, hdbc);
        SQLFreeHandle(SQL_HANDLE_DBC, hdbc);
        SQLFreeHandle(SQL_HANDLE_ENV, henv);
        throw EDatabaseError(message);
    }
    environment_ = henv;
    connection_ = hdbc;
    // Columns are bound, one call per row, only where the driver can read a bound
    // column again with SQLGetData (a value longer than the buffer needs it).
    SQLUINTEGER extensions = 0;
    bindColumns_ = SQL_SUCCEEDED(SQLGetInfo(hdbc, SQL_GETDATA_EXTENSIONS, &extensions,
                                            sizeof extensions, nullptr)) &&
                   (extensions & SQL_GD_BOUND) != 0;
}

void TDatabase::Close() {
    lost_ = false;
    if (connection_) {
        SQLDisconnect(static_cast<SQLHDBC>(connection_));
        SQLFreeHandle(SQL_HANDLE_DBC, static_cast<SQLHDBC>(connection_));
        connection_ = nullptr;
    }
    if (environment_) {
        SQLFreeHandle(SQL_HANDLE_ENV, static_cast<SQLHENV>(environment_));
        environment_ = nullptr;
    }
}

std::unique_ptr<TResult> TDatabase::Query(const std::string& statement) {
    if (connection_ == nullptr)
        throw EDatabaseError("Connection is closed.");
    SQLHDBC hdbc = static_cast<SQLHDBC>(connection_);
    SQLHSTMT hstmt = SQL_NULL_HSTMT;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, hdbc, &hstmt), SQL_HANDLE_DBC, hdbc);
    std::string text = statement;
    SQLRETURN rc = SQLExecDirect(hstmt, reinterpret_cast<SQLCHAR*>(text.data()),
                                 static_cast<SQLINTEGER>(text.size()));
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        std::string message = DiagnosticText(SQL_HANDLE_STMT, hstmt);
        if (ReportsLostConnection(SQL_HANDLE_STMT, hstmt))
            lost_ = true;
        SQLFreeHandle(SQL_HANDLE_STMT, hstmt);
        throw EDatabaseError(message);
    }
    try {
        return std::unique_ptr<TResult>(new TResult(hstmt, statement, bindColumns_));
    } catch (...) {
        SQLFreeHandle(SQL_HANDLE_STMT, hstmt);
        throw;
    }
}

} // namespace ormaline
