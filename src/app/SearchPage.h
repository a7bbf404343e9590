// What every search tab of the main window does the same way: show the boxes of its
// check, append result rows to a grid, write an export file once rows are there.
#pragma once

#include "app/core/CheckOutcome.h"
#include "app/core/SearchTexts.h"
#include "app/core/TTLSearchRows.h"
#include "db/Database.h"
#include "platform/StringGrid.h"
#include "platform/UserDialogs.h"

#include <fstream>
#include <string>

namespace ormaline {

// Shows the box of a check (none when it passed).
void ShowOutcome(const TCheckOutcome& outcome);
// Shows every box of a check in order; true when the search may run.
bool ShowReport(const TCheckReport& report);

// Appends rows to a grid inside one update; the rows added before an error stay.
class GridAppender {
public:
    explicit GridAppender(StringGrid& grid) : grid_(grid) { grid_.BeginUpdate(); }
    ~GridAppender() { grid_.EndUpdate(); }
    GridAppender(const GridAppender&) = delete;
    GridAppender& operator=(const GridAppender&) = delete;

    void SetRow(int row, const TGridRow& texts) {
        if (grid_.RowCount() <= row)
            grid_.SetRowCount(row + 1);
        grid_.SetRowTexts(row, texts);
    }

private:
    StringGrid& grid_;
};

// A text file of an export, created (truncated) when the first rows are there. A
// failing write throws EInOutError with the file's name and the system's reason.
class ExportFile {
public:
    explicit ExportFile(std::string fileName);
    void Write(const std::string& bytes);
    void Close();

private:
    [[noreturn]] void Fail();
    std::string fileName_;
    std::ofstream stream_;
};

// Runs the statement and appends grid row k (from 1) for its k-th row; returns the
// number of rows.
template <class RowReader>
int AppendQueryRows(TDatabase& connection, StringGrid& grid, const std::string& statement,
                    RowReader readRow) {
    auto result = connection.Query(statement);
    int count = 0;
    {
        GridAppender rows(grid);
        for (; !result->Eof(); result->Next()) {
            ++count;
            rows.SetRow(count, readRow(*result, count));
        }
    }
    result->Close();
    return count;
}

// Runs the statement of a search or an export. Without rows it shows `noData` ("No
// data found" unless the caller says otherwise) and creates no file. Otherwise, with a file name,
// it creates the file, writes `header` and `line(row)` per row; without one it appends
// `gridRow(row, k)` to `grid` as row k (from 1). Returns the number of rows.
template <class GridRowReader, class LineWriter>
int ShowOrWriteRows(TDatabase& connection, const std::string& statement,
                    const std::string& fileName, const std::string& header, StringGrid* grid,
                    GridRowReader gridRow, LineWriter line,
                    const std::string& noData = kNoDataFound) {
    auto result = connection.Query(statement);
    int count = 0;
    if (result->Eof()) {
        Dialogs().Information(noData);
    } else if (!fileName.empty()) {
        ExportFile file(fileName);
        file.Write(header);
        for (; !result->Eof(); result->Next(), ++count)
            file.Write(line(*result));
        file.Close();
    } else if (grid != nullptr) {
        GridAppender rows(*grid);
        for (; !result->Eof(); result->Next()) {
            ++count;
            rows.SetRow(count, gridRow(*result, count));
        }
    }
    result->Close();
    return count;
}

// An export: ShowOrWriteRows into `fileName` only.
template <class LineWriter>
int WriteRows(TDatabase& connection, const std::string& statement, const std::string& fileName,
              const std::string& header, LineWriter line,
              const std::string& noData = kNoDataFound) {
    return ShowOrWriteRows(
        connection, statement, fileName, header, nullptr,
        [](const TResult&, int) { return TGridRow(); }, line, noData);
}

} // namespace ormaline
