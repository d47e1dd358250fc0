#include "app/command_line.h"

#include "core/game/game_checks.h"
#include "core/game/game_folder.h"
#include "core/game/game_writer.h"
#include "core/game/message_timeline.h"
#include "core/game/text_flow.h"
#include "core/platform/code_page.h"
#include "core/platform/csv.h"
#include "core/platform/error.h"
#include "core/platform/file_io.h"
#include "core/platform/text.h"
#include "core/settings/ini_storage.h"
#include "core/settings/settings.h"
#include "look/game_look.h"
#include "platform/paths.h"
#include "spelling/game_check.h"
#include "spelling/game_speller.h"
#include "spelling/spelling_check.h"
#include "spelling/word_list.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zeilwerk {
namespace {

constexpr const char* kUsage =
    "Aufruf: zeilwerk --liste ORDNER | --pruefen ORDNER [--format text|csv] [--variablenbreite N]\n"
    "        [--rechtschreibung [--woerterbuch NAME] [--woerter]]\n"
    "        --einspielen ORDNER DATEI.csv | --rueckgaengig ORDNER [--trotzdem]\n"
    "        zeilwerk --umbrechen DATEI [--spiel ORDNER] [--gesicht links|rechts|ohne] [--sprecher]\n"
    "        [--gleichmaessig] [--format text|csv] [--variablenbreite N]\n";

// A conversation's text file: far larger than any conversation, small enough to hold.
constexpr std::uintmax_t kMaxFlowTextBytes = 64u << 20;

enum class Format { Text, Csv };

const char* kindId(MessageKind kind) {
    switch (kind) {
    case MessageKind::Map:
        return "karte";
    case MessageKind::Common:
        return "allgemein";
    case MessageKind::Battle:
        return "kampf";
    }
    return "";
}

std::string placeInWords(const MessagePlace& place, const GameMessages& game) {
    return zeilwerk::placeInWords(place, game.mapNames);
}

void csvRow(std::ostream& out, const std::vector<std::string>& fields) {
    out << zeilwerk::csvRow(fields);
}

std::vector<std::string> placeFields(const MessagePlace& place) {
    const bool onMap = place.kind == MessageKind::Map;
    const bool paged = place.kind != MessageKind::Common;
    return {kindId(place.kind), std::to_string(place.source), onMap ? std::to_string(place.event) : "",
            paged ? std::to_string(place.page) : "", std::to_string(place.command)};
}

std::string lookInWords(const MessageLook& look) {
    std::string out;
    if (!look.face.empty()) {
        out += "; Gesicht »" + toUtf8(look.face) + "« Nr. " + std::to_string(look.faceIndex) +
               (look.faceRight ? " rechts" : " links") + (look.faceMirrored ? ", gespiegelt" : "");
    }
    if (look.faceUncertain)
        out += "; Gesicht unsicher";
    static const char* const positions[] = {"oben", "Mitte", "unten"};
    if (look.position != 2 || look.transparent || look.fixed || look.parallel) {
        out += std::string("; Fenster ") + positions[look.position] + (look.transparent ? ", durchsichtig" : "") +
               (look.fixed ? ", fest" : "") + (look.parallel ? ", Ereignisse laufen weiter" : "");
    }
    if (look.optionsUncertain)
        out += "; Fenster unsicher";
    return out;
}

std::string joined(const std::vector<std::u16string>& lines, std::string_view between) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i)
        out += (i ? std::string(between) : std::string()) + toUtf8(lines[i]);
    return out;
}

// The message as the engine plays it: pages of four lines, hero names at their length, each
// "\v[n]" printing 0.
MessageTimeline timelineOf(const GameMessage& m, const GameMessages& game) {
    GameMessageText text;
    text.heroNames = &game.heroNames;
    return pagedMessageTimeline(m.lines, text, CodePage::system());
}

void writeList(const GameMessages& game, Format format, std::ostream& out) {
    if (format == Format::Csv)
        csvRow(out, {"art", "quelle", "ereignis", "seite", "befehl", "text", "frames", "tasten", "pruefsumme"});
    for (const GameMessage& m : game.messages) {
        if (format == Format::Csv) {
            std::vector<std::string> row = placeFields(m.place);
            row.push_back(joined(m.lines, "\n"));
            const MessageTimeline timeline = timelineOf(m, game);
            row.push_back(std::to_string(timeline.frames));
            row.push_back(std::to_string(timeline.keyPresses));
            row.push_back(messageChecksum(m.lines));
            csvRow(out, row);
        } else {
            out << placeInWords(m.place, game) << ": " << joined(m.lines, " / ") << " (Befehl " << m.place.command
                << lookInWords(m.look) << ")\n";
        }
    }
}

std::string placeOfFinding(const Finding& f, const GameMessages& game) {
    return placeInWords(f.place, game) + ": Befehl " + std::to_string(f.place.command) +
           (f.line ? ", Zeile " + std::to_string(f.line) : std::string());
}

// A misspelt word with its places, as the text form prints it once.
struct WordFindings {
    const Finding* first = nullptr;
    int places = 0;
};

// The likeliest mistakes first: a rare word next to a much used word of the game before a
// word near nothing, then the rarer before the more frequent.
std::vector<WordFindings> byWord(const std::vector<Finding>& findings) {
    std::map<std::u16string, WordFindings> words;
    for (const Finding& f : findings)
        if (f.kind == FindingKind::Spelling) {
            WordFindings& w = words[f.word];
            if (!w.first)
                w.first = &f;
            ++w.places;
        }
    std::vector<WordFindings> out;
    for (auto& [word, w] : words)
        out.push_back(w);
    std::stable_sort(out.begin(), out.end(), [](const WordFindings& a, const WordFindings& b) {
        const bool nearA = !a.first->meant.empty(), nearB = !b.first->meant.empty();
        if (nearA != nearB)
            return nearA;
        if (a.first->nearCount != b.first->nearCount)
            return a.first->nearCount > b.first->nearCount;
        return a.places < b.places;
    });
    return out;
}

std::string countedWords(size_t n) {
    return n == 1 ? "1 Wort" : std::to_string(n) + " Wörter";
}

void writeFindings(const GameMessages& game, const std::vector<Finding>& findings, size_t vocabulary, Format format,
                   std::ostream& out, std::ostream& err) {
    if (format == Format::Csv)
        csvRow(out, {"art", "quelle", "ereignis", "seite", "befehl", "zeile", "pruefung", "hinweis"});
    std::set<std::tuple<int, int, int, int, int>> messages, spelt;
    size_t spelling = 0;
    for (const Finding& f : findings) {
        const auto key = std::make_tuple(static_cast<int>(f.place.kind), f.place.source, f.place.event, f.place.page,
                                         f.place.command);
        messages.insert(key);
        if (f.kind == FindingKind::Spelling) {
            spelt.insert(key);
            ++spelling;
        }
        if (format == Format::Csv) {
            std::vector<std::string> row = placeFields(f.place);
            row.push_back(f.line ? std::to_string(f.line) : "");
            row.push_back(findingKindId(f.kind));
            row.push_back(f.reason);
            csvRow(out, row);
        } else if (f.kind != FindingKind::Spelling) {
            out << placeOfFinding(f, game) << ": " << f.reason << " [" << findingKindId(f.kind) << "]\n";
        }
    }
    const std::vector<WordFindings> words = byWord(findings);
    if (format == Format::Text)
        for (const WordFindings& w : words)
            out << w.first->reason << " " << w.places << " ×, zuerst " << placeOfFinding(*w.first, game) << " ["
                << findingKindId(FindingKind::Spelling) << "]\n";
    std::string summary = (messages.size() == 1 ? std::string("1 Nachricht") : std::to_string(messages.size()) + " Nachrichten") +
                          " mit Befund, davon " + std::to_string(spelt.size()) + " Rechtschreibung (" +
                          countedWords(words.size()) + " an " +
                          (spelling == 1 ? std::string("1 Stelle") : std::to_string(spelling) + " Stellen") + ")";
    if (vocabulary)
        summary += "; " + countedWords(vocabulary) + " des Spiels (--woerter zeigt sie)";
    (format == Format::Text ? out : err) << summary << ".\n";
}

void writeVocabulary(const std::vector<std::pair<std::u16string, int>>& words, Format format, std::ostream& out) {
    if (format == Format::Csv)
        csvRow(out, {"wort", "anzahl"});
    for (const auto& [word, count] : words) {
        if (format == Format::Csv)
            csvRow(out, {toUtf8(word), std::to_string(count)});
        else
            out << toUtf8(word) << " " << count << " ×\n";
    }
}

// The running program's folder without a QCoreApplication, which the command line never makes.
std::filesystem::path programFolder() {
#ifdef _WIN32
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n < name.size()) {
            name.resize(n);
            break;
        }
        name.resize(name.size() * 2);
    }
    return std::filesystem::path(name).parent_path();
#else
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
#endif
}

// The game in the folder, or none when it cannot be read, which is said.
std::optional<GameMessages> readGameOrSay(const std::string& folder, std::ostream& err) {
    try {
        return readGameMessages(std::filesystem::path(folder), CodePage::system());
    } catch (const Error& e) {
        err << "Zeilwerk: " << e.what() << "\n";
        return std::nullopt;
    }
}

std::optional<MessageKind> kindOf(std::string_view id) {
    for (MessageKind kind : {MessageKind::Map, MessageKind::Common, MessageKind::Battle})
        if (id == kindId(kind))
            return kind;
    return std::nullopt;
}

// A number of the place columns; empty where the kind has none.
std::optional<int> placeNumber(const std::string& field, bool needed) {
    if (field.empty())
        return needed ? std::nullopt : std::optional<int>(0);
    if (field.size() > 9 || field.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(field);
}

// A CSV text's lines as the message's: CRLF, LF and CR each end one.
std::vector<std::u16string> textLines(std::string_view text) {
    std::vector<std::u16string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(fromUtf8(line));
        line.clear();
    }
    lines.push_back(fromUtf8(line));
    return lines;
}

std::string placeLine(const MessagePlace& place, const GameMessages& game) {
    return placeInWords(place, game) + ", Befehl " + std::to_string(place.command);
}

// "--einspielen ORDNER DATEI.csv": every row whose text differs from the game's is written.
int importCsv(const std::string& folder, const std::string& file, std::ostream& out, std::ostream& err) {
    std::vector<std::vector<std::string>> rows;
    try {
        rows = readCsv(readRegularFile(std::filesystem::path(file), 64u << 20));
    } catch (const Error& e) {
        err << "Zeilwerk: " << file << ": " << e.what() << "\n";
        return 2;
    }
    const std::vector<std::string> names = {"art", "quelle", "ereignis", "seite", "befehl", "text", "pruefsumme"};
    std::vector<size_t> column;
    const std::vector<std::string> header = rows.empty() ? std::vector<std::string>() : rows[0];
    for (const std::string& name : names) {
        const auto at = std::find(header.begin(), header.end(), name);
        if (at == header.end()) {
            err << "Zeilwerk: " << file << " hat keine Spalte »" << name
                << "« (die Kopfzeile von --liste ORDNER --format csv).\n";
            return 2;
        }
        column.push_back(static_cast<size_t>(at - header.begin()));
    }
    std::optional<GameMessages> read = readGameOrSay(folder, err);
    if (!read)
        return 2;
    GameMessages& game = *read;
    std::map<std::tuple<int, int, int, int, int>, const GameMessage*> current;
    const auto key = [](const MessagePlace& p) {
        return std::make_tuple(static_cast<int>(p.kind), p.source, p.event, p.page, p.command);
    };
    for (const GameMessage& m : game.messages)
        current[key(m.place)] = &m;

    int refused = 0;
    std::vector<MessageChange> changes;
    for (size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& row = rows[r];
        if (row.size() == 1 && row[0].empty())
            continue;
        const auto field = [&](size_t i) { return column[i] < row.size() ? row[column[i]] : std::string(); };
        const std::optional<MessageKind> kind = kindOf(field(0));
        const std::optional<int> source = placeNumber(field(1), true), event = placeNumber(field(2), false),
                                 page = placeNumber(field(3), false), command = placeNumber(field(4), true);
        if (!kind || !source || !event || !page || !command) {
            out << "abgelehnt: Eintrag " << r << " der CSV nennt keine Stelle im Spiel.\n";
            ++refused;
            continue;
        }
        MessageChange change{{*kind, *source, *event, *page, *command}, field(6), textLines(field(5))};
        const auto now = current.find(key(change.place));
        if (now != current.end() && now->second->lines == change.lines)
            continue;
        changes.push_back(std::move(change));
    }
    if (changes.empty()) {
        out << "Nichts zu schreiben: Jeder Text steht schon so im Spiel.\n";
        return refused ? 1 : 0;
    }
    WriteReport report;
    try {
        report = writeMessages(std::filesystem::path(folder), settingsFolder(programFolder()), changes, CodePage::system());
    } catch (const Error& e) {
        err << "Zeilwerk: " << e.what() << "\n";
        return 2;
    }
    for (size_t i = 0; i < changes.size(); ++i) {
        const ChangeOutcome& o = report.outcomes[i];
        const std::string where = placeLine(changes[i].place, game);
        switch (o.state) {
        case ChangeState::Written:
            out << "geschrieben: " << where << "\n";
            break;
        case ChangeState::AlreadyNew:
            out << "schon so im Spiel: " << where << "\n";
            break;
        case ChangeState::Changed:
        case ChangeState::Refused:
            out << "abgelehnt: " << where << ": " << o.reason << "\n";
            ++refused;
            break;
        }
    }
    out << report.written << (report.written == 1 ? " Nachricht" : " Nachrichten") << " in " << report.files.size()
        << (report.files.size() == 1 ? " Datei" : " Dateien") << " geschrieben, " << refused << " abgelehnt.\n";
    if (!report.backup.empty())
        out << "Sicherung: " << pathText(report.backup) << "\nZurücknehmen: zeilwerk --rueckgaengig " << folder << "\n";
    out.flush();
    return refused ? 1 : 0;
}

// "--rueckgaengig ORDNER": the last write set's files put back.
int undoWrite(const std::string& folder, bool evenIfChanged, std::ostream& out, std::ostream& err) {
    UndoReport report;
    try {
        report = undoLastWrite(std::filesystem::path(folder), settingsFolder(programFolder()), evenIfChanged);
    } catch (const Error& e) {
        err << "Zeilwerk: " << e.what() << "\n";
        return 2;
    }
    if (!report.done) {
        out << "Nichts zurückgenommen: Seit dem Schreiben geändert wurde";
        for (size_t i = 0; i < report.changedSince.size(); ++i)
            out << (i ? ", " : " ") << report.changedSince[i];
        out << ". Mit --trotzdem wird es doch zurückgenommen (die geänderte Fassung bleibt in der Sicherung "
            << pathText(report.backup) << ").\n";
        return 1;
    }
    out << "Zurückgenommen:";
    for (size_t i = 0; i < report.restored.size(); ++i)
        out << (i ? ", " : " ") << report.restored[i];
    if (report.restored.empty())
        out << " nichts, die Dateien standen schon wie vorher";
    out << " (Sicherung " << pathText(report.backup) << ").\n";
    return 0;
}

int runWrite(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    if (args[0] == "--einspielen" && args.size() == 3)
        return importCsv(std::string(args[1]), std::string(args[2]), out, err);
    if (args[0] == "--rueckgaengig" && (args.size() == 2 || (args.size() == 3 && args[2] == "--trotzdem")))
        return undoWrite(std::string(args[1]), args.size() == 3, out, err);
    err << "Zeilwerk: " << args[0] << " verstehe ich so nicht.\n" << kUsage;
    return 2;
}

// "--umbrechen": the text file flowed into boxes, printed; 1 when a line stands over-long.
int runFlow(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    std::string file;
    std::string game;
    Format format = Format::Text;
    CheckSettings settings;
    FaceSide face = FaceSide::None;
    FlowOptions options;
    options.speakerLine = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--umbrechen" && hasValue && file.empty()) {
            file = std::string(args[++i]);
        } else if (a == "--spiel" && hasValue && game.empty()) {
            game = std::string(args[++i]);
        } else if (a == "--gesicht" && hasValue &&
                   (args[i + 1] == "links" || args[i + 1] == "rechts" || args[i + 1] == "ohne")) {
            const std::string_view side = args[++i];
            face = side == "links" ? FaceSide::Left : side == "rechts" ? FaceSide::Right : FaceSide::None;
        } else if (a == "--sprecher") {
            options.speakerLine = true;
        } else if (a == "--gleichmaessig") {
            options.balanced = true;
        } else if (a == "--format" && hasValue && (args[i + 1] == "text" || args[i + 1] == "csv")) {
            format = args[++i] == "csv" ? Format::Csv : Format::Text;
        } else if (a == "--variablenbreite" && hasValue && variableCharactersOf(fromUtf8(args[i + 1]))) {
            settings.variableCharacters = *variableCharactersOf(fromUtf8(args[++i]));
        } else {
            err << "Zeilwerk: »" << a << "« verstehe ich hier nicht.\n" << kUsage;
            return 2;
        }
    }
    std::u16string text;
    std::map<int, std::u16string> heroes;
    try {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec))
            throw Error("Die Datei " + file + " gibt es nicht.");
        std::string bytes = readRegularFile(file, kMaxFlowTextBytes);
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.erase(0, 3);
        text = fromUtf8(bytes);
        if (!game.empty())
            heroes = namesForChecks(readHeroNames(game, CodePage::system()), CodePage::system());
    } catch (const Error& e) {
        err << "Zeilwerk: " << e.what() << "\n";
        return 2;
    }
    LineMeasure measure = LineMeasure::gamePixels(std::move(heroes), settings, CodePage::system());
    options.room = lineRoom(measure, face, 0);
    const std::vector<FlowBox> boxes = flowText(text, measure, options);
    bool overlong = false;
    if (format == Format::Csv)
        csvRow(out, {"box", "zeilen", "text"});
    for (size_t b = 0; b < boxes.size(); ++b) {
        overlong = overlong || !boxes[b].overlong.empty();
        if (format == Format::Csv)
            csvRow(out, {std::to_string(b + 1), std::to_string(boxes[b].lines.size()), joined(boxes[b].lines, "\n")});
    }
    if (format == Format::Text)
        out << toUtf8(boxesAsText(boxes));
    out.flush();
    return overlong ? 1 : 0;
}

}  // namespace

bool isCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* command : {"--liste", "--pruefen", "--einspielen", "--rueckgaengig", "--umbrechen"})
            if (std::string_view(argv[i]) == command)
                return true;
    return false;
}

std::optional<int> runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (!isCommandLine(argc, argv))
        return std::nullopt;
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args[0] == "--einspielen" || args[0] == "--rueckgaengig")
        return runWrite(args, out, err);
    if (std::find(args.begin(), args.end(), "--umbrechen") != args.end())
        return runFlow(args, out, err);

    bool check = false;
    std::string folder;
    Format format = Format::Text;
    CheckSettings settings;
    bool spelling = false;
    bool vocabulary = false;
    std::string dictionary(settings::spielWoerterbuch.fallback);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == "--liste" || a == "--pruefen") && hasValue && folder.empty()) {
            check = a == "--pruefen";
            folder = std::string(args[++i]);
        } else if (a == "--format" && hasValue && (args[i + 1] == "text" || args[i + 1] == "csv")) {
            format = args[++i] == "csv" ? Format::Csv : Format::Text;
        } else if (a == "--variablenbreite" && hasValue) {
            const std::optional<int> n = variableCharactersOf(fromUtf8(args[++i]));
            if (!n) {
                err << "Zeilwerk: --variablenbreite braucht eine Zahl von 1 bis 99.\n" << kUsage;
                return 2;
            }
            settings.variableCharacters = *n;
        } else if (a == "--rechtschreibung") {
            spelling = true;
        } else if (a == "--woerter") {
            vocabulary = true;
        } else if (a == "--woerterbuch" && hasValue && !args[i + 1].empty()) {
            dictionary = std::string(args[++i]);
        } else {
            err << "Zeilwerk: »" << a << "« verstehe ich hier nicht.\n" << kUsage;
            return 2;
        }
    }

    if (spelling && !check) {
        err << "Zeilwerk: --rechtschreibung gehört zu --pruefen.\n" << kUsage;
        return 2;
    }
    if (vocabulary && !spelling) {
        err << "Zeilwerk: --woerter gehört zu --pruefen mit --rechtschreibung.\n" << kUsage;
        return 2;
    }

    // A missing dictionary is told before the game is read, which takes a while.
    GameCheck work;
    work.settings = settings;
    if (spelling) {
        const std::filesystem::path program = programFolder();
        work.dictionary = dictionary;
        work.dictionaryFolders = dictionaryFolders(program);
        work.wordList = wordListPath(settingsFolder(program), folder);
        const GameSpeller opened = openGameSpeller(work.dictionary, work.dictionaryFolders, {});
        if (!opened.speller) {
            err << "Zeilwerk: " << opened.problem << "\n";
            return 2;
        }
    }
    std::optional<GameMessages> read = readGameOrSay(folder, err);
    if (!read)
        return 2;
    GameMessages& game = *read;
    for (const SkippedFile& s : game.skipped)
        err << "Zeilwerk: " << s.file << " übersprungen: " << s.reason << "\n";

    bool found = !game.skipped.empty();
    if (check) {
        if (const auto invisible = gameInvisibleColours(std::filesystem::path(folder))) {
            work.settings.systemGraphic = invisible->first;
            work.settings.invisibleColours = invisible->second;
        }
        work.heroes = namesForChecks(game.heroNames, CodePage::system());
        work.names = game.gameNames;
        work.mapNames = game.mapNames;
        const auto messages = std::make_shared<const std::vector<GameMessage>>(std::move(game.messages));
        std::vector<Finding> findings;
        std::vector<std::pair<std::u16string, int>> words;
        std::map<std::u16string, std::string> reasons;
        SpellingOutput output;
        output.vocabulary = [&](std::vector<std::pair<std::u16string, int>>&& w) { words = std::move(w); };
        // The suggestions are asked only for what is printed.
        if (!vocabulary)
            output.reasons = [&](std::vector<std::pair<std::u16string, std::string>>&& r) { reasons.insert(r.begin(), r.end()); };
        const std::atomic<bool> never(false);
        checkWholeGame(work, {messages}, 1 << 30, never,
                       [&](std::vector<Finding>&& batch, int) {
                           findings.insert(findings.end(), std::make_move_iterator(batch.begin()),
                                           std::make_move_iterator(batch.end()));
                       },
                       output);
        for (Finding& f : findings)
            if (const auto r = reasons.find(f.word); f.kind == FindingKind::Spelling && r != reasons.end())
                f.reason = r->second;
        if (vocabulary) {
            writeVocabulary(words, format, out);
        } else {
            writeFindings(game, findings, words.size(), format, out, err);
            found = found || !findings.empty();
        }
    } else {
        writeList(game, format, out);
    }
    out.flush();
    return found ? 1 : 0;
}

}  // namespace zeilwerk
