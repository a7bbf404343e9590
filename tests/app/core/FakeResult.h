// A result read like the connection's TResult (Eof, Next, columns by name without
// regard to case), over rows given in the test. Reading past the last row, an unknown
// column or a value of the wrong kind throws, as the connection layer does.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "model/TextUtil.h"

namespace ormaline::test {

class TFakeResult {
public:
    using Row = std::vector<std::pair<std::string, std::string>>;

    explicit TFakeResult(std::vector<Row> rows) : rows_(std::move(rows)) {}
    static TFakeResult OneRow(Row row) { return TFakeResult(std::vector<Row>{std::move(row)}); }

    bool Eof() const { return current_ >= rows_.size(); }
    void Next() {
        if (!Eof())
            ++current_;
    }

    const std::string& AsString(std::string_view column) const {
        if (Eof())
            throw std::runtime_error("read past the last row");
        for (const auto& [name, value] : rows_[current_])
            if (EqualsIgnoreCase(name, column))
                return value;
        throw std::runtime_error("no column " + std::string(column));
    }
    std::int32_t AsInteger(std::string_view column) const {
        auto value = ParseInt32(AsString(column));
        if (!value)
            throw std::runtime_error("not an integer");
        return *value;
    }
    double AsFloat(std::string_view column) const {
        auto value = ParseNumber(AsString(column));
        if (!value)
            throw std::runtime_error("not a number");
        return *value;
    }

private:
    std::vector<Row> rows_;
    std::size_t current_ = 0;
};

} // namespace ormaline::test
