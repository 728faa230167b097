// Reading scenario files (format in scenario.h).
#include <algorithm>
#include <charconv>

#include "base/cli_error.h"
#include "base/reply_words.h"
#include "sim/scenario.h"
#include "base/value_lists.h"

namespace tb58mon {
namespace {

constexpr int32_t kSomeRemaining = -3;

constexpr std::string_view kSpecialTrayKeys[kSpecialTrayCount] = {
    "front-cover-tray", "slip-sheet-tray", "chapter-tray-1", "chapter-tray-2", "back-cover-tray",
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
        if (end > at) words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

// Reads one scenario, line by line; every error names the line.
class Reader {
public:
    Reader(std::string_view name, Scenario& scenario) : name_(name), s_(scenario) {}

    void Line(size_t number, std::string_view line) {
        line_ = number;
        line = Trim(line);
        if (line.empty() || line.front() == '#') return;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) Fail("expected 'key: value'");
        const std::string_view key = Trim(line.substr(0, colon));
        const std::string_view value = Trim(line.substr(colon + 1));
        Entry(key, value);
    }

private:
    [[noreturn]] void Fail(const std::string& why) const {
        throw Failure("scenario '" + std::string(name_) + "', line " + std::to_string(line_) + ": " + why);
    }

    // A value the printer sends as one PJL word: no blanks, no control
    // characters, no ';' (which ends a device ID field).
    std::string Word(std::string_view key, std::string_view value) const {
        if (value.empty()) Fail(std::string(key) + " needs a value");
        for (char c : value) {
            if (c == ' ' || c == '\t' || c == ';' || c == '=' || static_cast<unsigned char>(c) < 0x20) {
                Fail(std::string(key) + " '" + std::string(value) + "' must be one word");
            }
        }
        return std::string(value);
    }

    // A device ID field's text: no ';' and no control characters.
    std::string FieldText(std::string_view key, std::string_view value) const {
        for (char c : value) {
            if (c == ';' || static_cast<unsigned char>(c) < 0x20) {
                Fail(std::string(key) + " may not hold ';' or control characters");
            }
        }
        return std::string(value);
    }

    std::string KnownWord(std::string_view what, std::string_view word, std::span<const WordCode> table) const {
        if (FindWord(table, word) == nullptr) {
            std::string known;
            for (const WordCode& w : table) known += (known.empty() ? "" : " ") + std::string(w.word);
            Fail("unknown " + std::string(what) + " '" + std::string(word) + "' (known: " + known + ")");
        }
        return std::string(word);
    }

    uint64_t Number(std::string_view key, std::string_view text, uint64_t max) const {
        uint64_t value = 0;
        uint64_t scale = 1;
        if (!text.empty() && (text.back() == 'K' || text.back() == 'M' || text.back() == 'G')) {
            scale = text.back() == 'K' ? 1024u : text.back() == 'M' ? 1024u * 1024u : 1024u * 1024u * 1024u;
            text.remove_suffix(1);
        }
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max / scale) {
            Fail(std::string(key) + " '" + std::string(text) + "' is not a number up to " + std::to_string(max));
        }
        return value * scale;
    }

    void Entry(std::string_view key, std::string_view value) {
        if (key == "title") {
            s_.title = value;
        } else if (key == "maker") {
            s_.maker = FieldText(key, value);
        } else if (key == "model") {
            s_.model = FieldText(key, value);
        } else if (key == "description") {
            s_.description = FieldText(key, value);
        } else if (key == "command-set") {
            s_.command_set = Word(key, value);
        } else if (key == "firmware") {
            s_.firmware = Word(key, value);
        } else if (key == "emulation") {
            Emulation(value);
        } else if (key == "memory") {
            // The printer reports it as a signed 32-bit count of bytes.
            s_.memory_bytes = Number(key, value, 0x7FFFFFFF);
        } else if (key == "tray") {
            Tray(value);
        } else if (key == "option") {
            Option(value);
        } else if (key == "punch") {
            Punch(value);
        } else if (key == "bin") {
            Bin(value);
        } else if (key == "status") {
            s_.status_codes = ParseStatusCodesOrFail(value);
        } else if (key == "state") {
            s_.state = static_cast<uint32_t>(Number(key, value, 255));
        } else if (key == "display") {
            s_.display = FieldText(key, value);
        } else if (key == "counter") {
            s_.counter = static_cast<uint32_t>(Number(key, value, 0x7FFFFFFF));
        } else if (key == "supplies") {
            s_.supplies = Word(key, value);
        } else if (key == "tzmo") {
            Tzmo(value);
        } else if (key == "serial") {
            s_.serial = Word(key, value);
        } else if (key == "supply") {
            Supply(value);
        } else if (key == "answers") {
            if (value == "all") {
                s_.answers = Answers::kAll;
            } else if (value == "first") {
                s_.answers = Answers::kFirst;
            } else if (value == "none") {
                s_.answers = Answers::kNone;
            } else {
                Fail("answers '" + std::string(value) + "' must be all, first or none");
            }
        } else {
            for (size_t i = 0; i < kSpecialTrayCount; ++i) {
                if (key == kSpecialTrayKeys[i]) {
                    if (value != "OFF" && FindTrayByName(value) == nullptr) {
                        Fail(std::string(key) + " '" + std::string(value) +
                             "' must be OFF or a tray (TRAY1-TRAY4, LCT, BYPASS, INSERTER)");
                    }
                    s_.special_trays[i] = value;
                    return;
                }
            }
            Fail("unknown key '" + std::string(key) + "'");
        }
    }

    std::vector<int32_t> ParseStatusCodesOrFail(std::string_view value) const {
        try {
            return ParseStatusCodes("status", value);
        } catch (const CliError& e) {
            Fail(e.what());
        }
    }

    void Emulation(std::string_view value) {
        const auto words = Words(value);
        if (words.size() != 2) Fail("emulation needs a name and a one-word version, e.g. 'WEXA 4.02'");
        if (words[0] == "FIRMWARE") Fail("the firmware version goes in 'firmware:'");
        KnownWord("emulation", words[0], EmulationVersionTable());
        s_.emulations.push_back({std::string(words[0]), Word("emulation version", words[1])});
    }

    void Tray(std::string_view value) {
        const auto words = Words(value);
        if (words.empty()) Fail("tray needs a name");
        const TrayWords* tray = FindTrayByName(words[0]);
        if (tray == nullptr) {
            Fail("unknown tray '" + std::string(words[0]) + "' (known: TRAY1 TRAY2 TRAY3 TRAY4 LCT BYPASS INSERTER)");
        }
        for (const ScenarioTray& t : s_.trays) {
            if (t.name == words[0]) Fail("tray " + t.name + " is listed twice");
        }
        ScenarioTray t{std::string(words[0]), "A4LONG", "FULL", "PLAIN", false};
        for (size_t i = 1; i < words.size(); ++i) {
            const std::string_view w = words[i];
            if (w == "locked") {
                t.locked = true;
            } else if (w.starts_with("size=")) {
                t.size = KnownWord("paper size", w.substr(5), PaperSizeTable());
            } else if (w.starts_with("quantity=")) {
                t.quantity = KnownWord("paper quantity", w.substr(9), PaperQuantityTable());
            } else if (w.starts_with("media=")) {
                t.media = KnownWord("media", w.substr(6), MediaTable());
            } else {
                Fail("tray: '" + std::string(w) + "' is not size=, quantity=, media= or locked");
            }
        }
        s_.trays.push_back(t);
    }

    void Option(std::string_view value) {
        const OptionWords* option = FindOptionByWord(value);
        if (option == nullptr || option->config_word.starts_with("INTRAY")) {
            std::string known;
            for (const OptionWords& o : OptionTable()) {
                if (!o.config_word.empty() && !o.config_word.starts_with("INTRAY")) {
                    known += (known.empty() ? "" : " ") + std::string(o.config_word);
                }
            }
            Fail("unknown option '" + std::string(value) + "' (known: " + known +
                 "; the LCT, bypass tray and inserter come with their 'tray:' lines)");
        }
        s_.options.emplace_back(value);
    }

    void Punch(std::string_view value) {
        const auto words = Words(value);
        if (words.empty() || words.size() > 5) Fail("punch needs one to five keywords");
        s_.punch.clear();
        for (std::string_view w : words) {
            const auto known = PunchKeywords();
            if (std::find(known.begin(), known.end(), w) == known.end()) {
                Fail("unknown punch keyword '" + std::string(w) + "' (known: JP2 US2 US3 EU4 NEU4)");
            }
            s_.punch.emplace_back(w);
        }
    }

    void Bin(std::string_view value) {
        const auto words = Words(value);
        if (words.size() != 2) Fail("bin needs an entry and a state, e.g. 'UPPER READY'");
        if (FindBinByEntry(words[0]) == nullptr) {
            Fail("unknown bin '" + std::string(words[0]) +
                 "' (known: UPPER OPTIONALOUTPUTBIN1-9 FINISHERPROOF FINISHERSHIFT FINISHERBOOKLET)");
        }
        s_.bins.push_back({std::string(words[0]), KnownWord("bin state", words[1], BinStateTable())});
    }

    // A level or capacity as the MIB carries it: -3 to 2147483647.
    int32_t MibNumber(std::string_view what, std::string_view text) const {
        int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < -3 ||
            value > 0x7FFFFFFF) {
            Fail("supply " + std::string(what) + " '" + std::string(text) + "' is not a number from -3 to 2147483647");
        }
        return static_cast<int32_t>(value);
    }

    void Supply(std::string_view value) {
        static constexpr std::string_view kKinds[] = {"toner", "drum", "developer", "fuser", "transfer-unit",
                                                      "waste-toner", "staples"};
        static constexpr std::string_view kColours[] = {"black", "cyan", "magenta", "yellow"};
        const auto words = Words(value);
        if (words.empty() || std::find(std::begin(kKinds), std::end(kKinds), words[0]) == std::end(kKinds)) {
            Fail("supply needs a kind: toner drum developer fuser transfer-unit waste-toner staples");
        }
        ScenarioSupply supply;
        supply.kind = words[0];
        size_t at = 1;
        if (supply.kind == "toner") {
            const bool known = words.size() >= 2 &&
                               std::find(std::begin(kColours), std::end(kColours), words[1]) != std::end(kColours);
            if (!known) {
                Fail("supply: a toner needs a colour (black cyan magenta yellow)");
            }
            supply.colour = words[1];
            at = 2;
        }
        for (; at < words.size(); ++at) {
            const std::string_view w = words[at];
            if (w.starts_with("level=")) {
                supply.level = MibNumber("level", w.substr(6));
            } else if (w.starts_with("capacity=")) {
                supply.capacity = MibNumber("capacity", w.substr(9));
                if (supply.capacity == kSomeRemaining) Fail("supply capacity may not be -3");
            } else {
                Fail("supply: '" + std::string(w) + "' is not level= or capacity=");
            }
        }
        s_.marker_supplies.push_back(supply);
    }

    void Tzmo(std::string_view value) {
        // OTHER takes the rest of the line (it is sent in double quotes).
        const size_t other = value.find("OTHER=");
        std::string_view settings = value.substr(0, other);
        if (other != std::string_view::npos) {
            const std::string_view text = value.substr(other + 6);
            if (text.find('"') != std::string_view::npos) Fail("tzmo OTHER= may not hold a double quote");
            s_.tzmo_other = FieldText("tzmo OTHER", text);
        }
        for (std::string_view w : Words(settings)) {
            if (w.starts_with("MEMORYUSAGE=")) {
                s_.tzmo_memory_usage = KnownWord("memory usage", w.substr(12), MemoryUsageTable());
            } else if (w.starts_with("IMAGEROTATION=")) {
                s_.tzmo_image_rotation = KnownWord("image rotation", w.substr(14), ImageRotationTable());
            } else {
                Fail("tzmo: '" + std::string(w) + "' is not MEMORYUSAGE=, IMAGEROTATION= or OTHER=");
            }
        }
    }

    std::string_view name_;
    Scenario& s_;
    size_t line_ = 0;
};

}  // namespace

Scenario ParseScenario(std::string_view name, std::string_view text) {
    Scenario scenario;
    scenario.name = name;
    Reader reader(name, scenario);
    size_t number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        reader.Line(number, text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    if (scenario.title.empty()) scenario.title = scenario.name;
    return scenario;
}

bool HasEmulation(const Scenario& scenario, std::string_view name) {
    return std::any_of(scenario.emulations.begin(), scenario.emulations.end(),
                       [&](const ScenarioEmulation& e) { return e.name == name; });
}

}  // namespace tb58mon
