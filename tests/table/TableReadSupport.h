// Reading table fixtures in the table tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Cp932.h"
#include "table/CCsvDoc.h"

namespace tolvani::test {

using Rows = std::vector<std::vector<std::string>>;

// Code page 932 bytes of a UTF-8 literal.
inline std::string S(const std::string& utf8) { return Utf8ToCp932(utf8); }

// The rows of a CSV file's bytes; the read must succeed.
inline Rows ReadCsv(const std::string& bytes, TableReadResult* result = nullptr) {
    CCsvDoc doc;
    const TableReadResult r = doc.ReadCsvBytes(bytes);
    if (result) *result = r;
    EXPECT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(doc.rowCount, static_cast<int>(doc.rows.size()));
    return doc.rows;
}

// The rows of a clipboard text; the read must succeed.
inline Rows ReadClipboard(const std::u16string& text) {
    CCsvDoc doc;
    FixedClipboardText clip(text);
    EXPECT_TRUE(doc.ReadClipboardTable(clip).ok());
    return doc.rows;
}

}  // namespace tolvani::test
