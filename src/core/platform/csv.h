#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

// RFC 4180 as spreadsheets write it: a field is quoted when it holds a comma, a quote or a line
// break, quotes inside doubled; rows end with CRLF.
std::string csvField(std::string_view text);
std::string csvRow(const std::vector<std::string>& fields);

// The rows of a CSV text: a UTF-8 byte order mark skipped, rows ended by CRLF, LF or CR,
// quoted fields with doubled quotes and line breaks inside kept as they stand, an empty
// last line no row. Throws Error (German) at a quote left open or text after a closing quote.
std::vector<std::vector<std::string>> readCsv(std::string_view text);

}  // namespace zeilwerk
