// The committed reference tables of tests/em/data: '#' lines, a header of column names,
// then rows of numbers (an empty field reads as NaN).
#ifndef VIREO_TEST_REFERENCE_TABLE_H
#define VIREO_TEST_REFERENCE_TABLE_H

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace reference {

using Row = std::map<std::string, double>;

inline std::vector<Row> readTable(const std::string& name) {
    const std::string path = std::string(EM_TEST_DATA) + "/" + name;
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<std::string> columns;
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::istringstream s(line);
        for (std::string f; std::getline(s, f, ',');) fields.push_back(f);
        if (columns.empty()) {
            columns = fields;
            continue;
        }
        Row row;
        for (std::size_t i = 0; i < columns.size(); ++i)
            row[columns[i]] = i < fields.size() && !fields[i].empty() ? std::stod(fields[i]) : NAN;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace reference

#endif
