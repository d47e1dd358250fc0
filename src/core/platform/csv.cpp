#include "core/platform/csv.h"

#include "core/platform/error.h"

namespace zeilwerk {

std::string csvField(std::string_view text) {
    // A field starting like a byte order mark is quoted too, or the file's first would be lost.
    if (text.find_first_of(",\"\r\n") == std::string_view::npos && !text.starts_with("\xEF\xBB\xBF"))
        return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string csvRow(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i)
        out += (i ? "," : "") + csvField(fields[i]);
    return out + "\r\n";
}

std::vector<std::vector<std::string>> readCsv(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    size_t line = 1;
    size_t i = 0;
    const auto endRow = [&] {
        row.push_back(std::move(field));
        field.clear();
        rows.push_back(std::move(row));
        row.clear();
    };
    while (i < text.size()) {
        if (text[i] == '"' && field.empty()) {
            const size_t opened = line;
            for (++i;; ++i) {
                if (i >= text.size())
                    throw Error("Die CSV-Datei ist beschädigt: Ein Anführungszeichen aus Zeile " + std::to_string(opened) +
                                " wird nicht geschlossen.");
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\n')
                    ++line;
                field += text[i];
            }
            if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n')
                throw Error("Die CSV-Datei ist beschädigt: In Zeile " + std::to_string(line) +
                            " folgt Text auf ein schließendes Anführungszeichen.");
            continue;
        }
        const char c = text[i++];
        if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i < text.size() && text[i] == '\n')
                ++i;
            ++line;
            endRow();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !row.empty() || (!text.empty() && text.back() == '"'))
        endRow();
    return rows;
}

}  // namespace zeilwerk
