// One cell of an imported table.
#pragma once

#include <string>

namespace tolvani {

struct CELL_INFO {
    int column = 0;         // from 0
    int row = 0;            // from 0
    double textLength = 0;  // estimated printed length in mm, set when the table is measured
    std::string text;       // code page 932 bytes, as read
};

}  // namespace tolvani
