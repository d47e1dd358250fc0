#include "core/game/database_names.h"
#include "core/game/lcf_reader.h"

#include "core/platform/error.h"
#include "lcf_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk::test {
namespace {

// What the shared loops make of a small file: the IDs of the elements in its chunk 1, or the failure.
std::string elementIds(const std::string& bytes) {
    try {
        LcfReader file(bytes, "kaputt");
        file.header("LcfDataBase");
        std::string ids;
        file.chunks([&](std::uint32_t chunk, std::string_view data) {
            if (chunk != 1)
                return;
            LcfReader array = file.in(data);
            array.elements([&](int id) {
                ids += std::to_string(id) + " ";
                array.chunks([](std::uint32_t, std::string_view) {});
            });
        });
        return ids;
    } catch (const Error& e) {
        return e.what();
    }
}

TEST(LcfReader, ReadsWhatIsWholeAndRefusesWhatRunsPastTheEndOrIsAnotherFile) {
    const std::string header = lcfHeader("LcfDataBase");
    const std::string element = lcfNumber(7) + lcfChunk(1, "x") + lcfNumber(0);
    struct Row {
        const char* what;
        std::string bytes;
        std::string read;
    };
    const std::vector<Row> rows = {
        {"whole, an ID's top bit dropped",
         header + lcfChunk(1, lcfNumber(2) + element + lcfNumber(0xFFFFFFFF) + lcfNumber(0)) + lcfChunk(2, "?"),
         "7 2147483647 "},
        {"a 0 ends the chunks", header + lcfChunk(3, "abc") + lcfNumber(0) + "Rest", ""},
        {"a chunk's size past the end", header + lcfNumber(1) + lcfNumber(9) + element, "kaputt"},
        {"a count past the end", header + lcfChunk(1, lcfNumber(0x0FFFFFFF) + element), "kaputt"},
        {"header cut short", header.substr(0, 6), "kaputt"},
        {"header of another file", lcfHeader("LcfMapUnit") + lcfChunk(1, lcfNumber(1) + element), "kaputt"},
        {"header's length wrong", lcfNumber(10) + "LcfDataBase", "kaputt"},
        {"empty", "", "kaputt"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(elementIds(row.bytes), row.read) << row.what;
}

// The names the maker gave in the database: each array's names (a hero's title too) and the
// terms; a damaged array keeps what was read before the damage, another chunk is passed over.
TEST(DatabaseNames, TakesEveryArraysNamesAndTheTermsAndSurvivesADamagedArray) {
    const auto named = [](std::uint32_t array, std::vector<std::string> names) {
        std::string list = lcfNumber(static_cast<std::uint32_t>(names.size()));
        for (size_t i = 0; i < names.size(); ++i)
            list += lcfNumber(static_cast<std::uint32_t>(i + 1)) + lcfChunk(0x01, names[i]) + lcfChunk(0x05, "x") + lcfNumber(0);
        return lcfChunk(array, list);
    };
    const std::string terms = lcfChunk(0x15, lcfChunk(0x01, "Kampf beginnt") + lcfChunk(0x02, "Flucht") + lcfNumber(0));
    const std::string damaged = lcfChunk(0x0D, lcfNumber(2) + lcfNumber(1) + lcfChunk(0x01, "Heiltrank") + lcfNumber(0) + "\x05\x01");
    const std::string data = gameDatabase({{1, "Ortwin"}}) + named(0x0E, {"Schleimling", ""}) + terms +
                             named(0x17, {"Tor offen"}) + named(0x1E, {"Klingenmeister"}) + damaged + lcfChunk(0x16, "anderes");
    EXPECT_EQ(readDatabaseNames(data), (std::vector<std::string>{"Titel", "Ortwin", "Schleimling", "Kampf beginnt", "Flucht",
                                                                 "Tor offen", "Klingenmeister", "Heiltrank"}));
    EXPECT_THROW(readDatabaseNames(lcfHeader("LcfMapTree")), Error);
}

}  // namespace
}  // namespace zeilwerk::test
