// rcgen: compiles the module's resource scripts into a C++ source that holds
// the resources in their Windows binary layout, for builds on systems
// without a Windows resource compiler.
//
//   rcgen OUTPUT.cpp SCRIPT.rc...
//
// It reads the subset of the resource-script language the module uses, in
// UTF-8 (the scripts say #pragma code_page(65001) for the Windows compiler):
//   LANGUAGE primary, sub
//   STRINGTABLE BEGIN id "text" ... END        (ids and numbers as literals)
//   id VERSIONINFO fixed-info BEGIN BLOCK/VALUE ... END
//   NAME BITMAP "file.bmp"                      (path relative to the script)
// Preprocessor lines (#pragma, #include, #define) and comments are skipped.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    std::cerr << where << ": error: " << what << "\n";
    std::exit(1);
}

struct Token {
    enum Kind { kWord, kNumber, kString, kComma, kEnd } kind;
    std::string text;     // word, or string contents as UTF-8
    uint32_t number = 0;
    int line = 0;
};

class Lexer {
public:
    Lexer(std::string source, std::string file) : src_(std::move(source)), file_(std::move(file)) {}

    std::string Where(int line) const { return file_ + ":" + std::to_string(line); }

    Token Next() {
        SkipBlanks();
        Token t{Token::kEnd, {}, 0, line_};
        if (pos_ >= src_.size()) return t;
        const char c = src_[pos_];
        if (c == ',') {
            ++pos_;
            t.kind = Token::kComma;
            return t;
        }
        if (c == '"') return ReadString();
        if (std::isdigit(static_cast<unsigned char>(c))) return ReadNumber();
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = pos_;
            while (pos_ < src_.size() &&
                   (std::isalnum(static_cast<unsigned char>(src_[pos_])) || src_[pos_] == '_')) {
                ++pos_;
            }
            t.kind = Token::kWord;
            t.text = src_.substr(start, pos_ - start);
            return t;
        }
        if (c == '{' || c == '}') {
            ++pos_;
            t.kind = Token::kWord;
            t.text = c == '{' ? "BEGIN" : "END";
            return t;
        }
        Fail(Where(line_), std::string("unexpected character '") + c + "'");
    }

private:
    void SkipBlanks() {
        bool line_start = pos_ == 0 || src_[pos_ - 1] == '\n';
        while (pos_ < src_.size()) {
            const char c = src_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
                line_start = true;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '#' && line_start) {
                while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
            } else if (src_.compare(pos_, 2, "//") == 0) {
                while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
            } else if (src_.compare(pos_, 2, "/*") == 0) {
                const size_t end = src_.find("*/", pos_ + 2);
                if (end == std::string::npos) Fail(Where(line_), "unterminated comment");
                for (size_t i = pos_; i < end; ++i) line_ += src_[i] == '\n';
                pos_ = end + 2;
            } else {
                return;
            }
        }
    }

    Token ReadNumber() {
        Token t{Token::kNumber, {}, 0, line_};
        size_t used = 0;
        const unsigned long long value = std::stoull(src_.substr(pos_, 24), &used, 0);
        if (value > 0xFFFFFFFFull) Fail(Where(line_), "number out of range");
        pos_ += used;
        if (pos_ < src_.size() && (src_[pos_] == 'L' || src_[pos_] == 'l')) ++pos_;
        t.number = static_cast<uint32_t>(value);
        return t;
    }

    Token ReadString() {
        Token t{Token::kString, {}, 0, line_};
        ++pos_;  // opening quote
        for (;;) {
            if (pos_ >= src_.size() || src_[pos_] == '\n') Fail(Where(t.line), "unterminated string");
            const char c = src_[pos_++];
            if (c == '"') {
                if (pos_ < src_.size() && src_[pos_] == '"') {  // "" stands for one quote
                    t.text += '"';
                    ++pos_;
                    continue;
                }
                return t;
            }
            if (c != '\\') {
                t.text += c;
                continue;
            }
            if (pos_ >= src_.size()) Fail(Where(t.line), "unterminated string");
            const char e = src_[pos_++];
            switch (e) {
                case 'n': t.text += '\n'; break;
                case 'r': t.text += '\r'; break;
                case 't': t.text += '\t'; break;
                case '0': t.text += '\0'; break;
                case '\\': t.text += '\\'; break;
                case '"': t.text += '"'; break;
                default: Fail(Where(t.line), std::string("unsupported escape \\") + e);
            }
        }
    }

    std::string src_;
    std::string file_;
    size_t pos_ = 0;
    int line_ = 1;
};

std::u16string Utf16(const std::string& utf8, const std::string& where) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        uint32_t cp = 0;
        int extra = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            extra = 3;
        } else {
            Fail(where, "text is not UTF-8");
        }
        if (i + static_cast<size_t>(extra) >= utf8.size() && extra > 0) Fail(where, "text is not UTF-8");
        for (int k = 1; k <= extra; ++k) {
            const auto n = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
            if ((n & 0xC0) != 0x80) Fail(where, "text is not UTF-8");
            cp = (cp << 6) | (n & 0x3F);
        }
        i += 1 + static_cast<size_t>(extra);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

struct Resource {
    uint16_t type;
    uint16_t name_id;
    std::string name;  // upper-case text name, empty for an integer name
    uint16_t language;
    std::vector<uint8_t> data;
};

void PutWord(std::vector<uint8_t>& out, uint32_t w) {
    out.push_back(static_cast<uint8_t>(w & 0xFF));
    out.push_back(static_cast<uint8_t>((w >> 8) & 0xFF));
}
void PutDword(std::vector<uint8_t>& out, uint32_t d) {
    PutWord(out, d & 0xFFFF);
    PutWord(out, d >> 16);
}
void PadToDword(std::vector<uint8_t>& out) {
    while (out.size() % 4 != 0) out.push_back(0);
}
void SetWord(std::vector<uint8_t>& out, size_t at, size_t w) {
    out[at] = static_cast<uint8_t>(w & 0xFF);
    out[at + 1] = static_cast<uint8_t>((w >> 8) & 0xFF);
}

class Parser {
public:
    Parser(Lexer& lexer, std::filesystem::path dir, std::map<uint32_t, std::map<uint16_t, std::u16string>>& strings,
           std::vector<Resource>& resources)
        : lx_(lexer), dir_(std::move(dir)), strings_(strings), resources_(resources) {
        Advance();
    }

    void Run() {
        while (tok_.kind != Token::kEnd) {
            if (IsWord("LANGUAGE")) {
                Advance();
                const uint32_t primary = Number();
                Comma();
                const uint32_t sub = Number();
                language_ = static_cast<uint16_t>((sub << 10) | primary);
            } else if (IsWord("STRINGTABLE")) {
                Advance();
                StringTable();
            } else if (tok_.kind == Token::kNumber || tok_.kind == Token::kWord) {
                const Token name = tok_;
                Advance();
                if (IsWord("VERSIONINFO")) {
                    Advance();
                    VersionInfo(name);
                } else if (IsWord("BITMAP")) {
                    Advance();
                    Bitmap(name);
                } else {
                    Fail(lx_.Where(tok_.line), "unsupported statement");
                }
            } else {
                Fail(lx_.Where(tok_.line), "unexpected token");
            }
        }
    }

private:
    void Advance() { tok_ = lx_.Next(); }
    bool IsWord(const char* w) const { return tok_.kind == Token::kWord && tok_.text == w; }
    void Expect(const char* w) {
        if (!IsWord(w)) Fail(lx_.Where(tok_.line), std::string("expected ") + w);
        Advance();
    }
    void Comma() {
        if (tok_.kind == Token::kComma) Advance();
    }
    uint32_t Number() {
        if (tok_.kind != Token::kNumber) Fail(lx_.Where(tok_.line), "expected a number");
        const uint32_t n = tok_.number;
        Advance();
        return n;
    }
    std::string String() {
        if (tok_.kind != Token::kString) Fail(lx_.Where(tok_.line), "expected a string");
        std::string s = tok_.text;
        Advance();
        return s;
    }

    void StringTable() {
        Expect("BEGIN");
        while (!IsWord("END")) {
            const int line = tok_.line;
            const uint32_t id = Number();
            if (id > 0xFFFF) Fail(lx_.Where(line), "string id out of range");
            Comma();
            std::u16string text = Utf16(String(), lx_.Where(line));
            auto& table = strings_[id];
            if (table.count(language_) != 0) Fail(lx_.Where(line), "string id defined twice");
            table[language_] = std::move(text);
        }
        Advance();
    }

    // One node of the VS_VERSIONINFO tree: header, key, value, children.
    struct Node {
        std::string key;
        uint16_t type = 1;
        std::vector<uint8_t> value;
        uint16_t value_length = 0;
        std::vector<Node> children;
    };

    static void Emit(const Node& node, std::vector<uint8_t>& out) {
        PadToDword(out);
        const size_t start = out.size();
        PutWord(out, 0);
        PutWord(out, node.value_length);
        PutWord(out, node.type);
        for (char16_t c : Utf16(node.key, "version key")) PutWord(out, c);
        PutWord(out, 0);
        PadToDword(out);
        out.insert(out.end(), node.value.begin(), node.value.end());
        for (const Node& child : node.children) Emit(child, out);
        SetWord(out, start, out.size() - start);
    }

    std::vector<Node> VersionBlock() {
        std::vector<Node> nodes;
        Expect("BEGIN");
        while (!IsWord("END")) {
            if (IsWord("BLOCK")) {
                Advance();
                Node n;
                n.key = String();
                n.children = VersionBlock();
                nodes.push_back(std::move(n));
            } else if (IsWord("VALUE")) {
                Advance();
                Node n;
                n.key = String();
                Comma();
                if (tok_.kind == Token::kString) {
                    const std::u16string text = Utf16(String(), "version value");
                    for (char16_t c : text) PutWord(n.value, c);
                    PutWord(n.value, 0);
                    n.value_length = static_cast<uint16_t>(text.size() + 1);
                } else {
                    n.type = 0;
                    while (tok_.kind == Token::kNumber) {
                        PutWord(n.value, Number());
                        Comma();
                    }
                    n.value_length = static_cast<uint16_t>(n.value.size());
                }
                nodes.push_back(std::move(n));
            } else {
                Fail(lx_.Where(tok_.line), "expected BLOCK or VALUE");
            }
        }
        Advance();
        return nodes;
    }

    void VersionInfo(const Token& name) {
        uint32_t file_version[4] = {};
        uint32_t product_version[4] = {};
        std::map<std::string, uint32_t> fixed = {{"FILEFLAGSMASK", 0}, {"FILEFLAGS", 0}, {"FILEOS", 0},
                                                 {"FILETYPE", 0}, {"FILESUBTYPE", 0}};
        while (!IsWord("BEGIN")) {
            if (tok_.kind != Token::kWord) Fail(lx_.Where(tok_.line), "expected a fixed-info statement");
            const std::string what = tok_.text;
            Advance();
            if (what == "FILEVERSION" || what == "PRODUCTVERSION") {
                uint32_t* v = what == "FILEVERSION" ? file_version : product_version;
                for (int i = 0; i < 4; ++i) {
                    v[i] = Number();
                    if (i < 3) Comma();
                }
            } else if (fixed.count(what) != 0) {
                fixed[what] = Number();
            } else {
                Fail(lx_.Where(tok_.line), "unknown fixed-info statement " + what);
            }
        }
        Node root;
        root.key = "VS_VERSION_INFO";
        root.type = 0;
        PutDword(root.value, 0xFEEF04BDu);
        PutDword(root.value, 0x00010000u);
        PutDword(root.value, (file_version[0] << 16) | (file_version[1] & 0xFFFF));
        PutDword(root.value, (file_version[2] << 16) | (file_version[3] & 0xFFFF));
        PutDword(root.value, (product_version[0] << 16) | (product_version[1] & 0xFFFF));
        PutDword(root.value, (product_version[2] << 16) | (product_version[3] & 0xFFFF));
        PutDword(root.value, fixed["FILEFLAGSMASK"]);
        PutDword(root.value, fixed["FILEFLAGS"]);
        PutDword(root.value, fixed["FILEOS"]);
        PutDword(root.value, fixed["FILETYPE"]);
        PutDword(root.value, fixed["FILESUBTYPE"]);
        PutDword(root.value, 0);
        PutDword(root.value, 0);
        root.value_length = static_cast<uint16_t>(root.value.size());
        root.children = VersionBlock();
        Resource r{16, 0, {}, language_, {}};
        SetName(r, name);
        Emit(root, r.data);
        resources_.push_back(std::move(r));
    }

    void Bitmap(const Token& name) {
        const std::filesystem::path file = dir_ / String();
        std::ifstream in(file, std::ios::binary);
        if (!in) Fail(lx_.Where(name.line), "cannot read " + file.string());
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The resource holds the packed bitmap without its 14-byte file header.
        if (bytes.size() < 14 + 40 || bytes[0] != 'B' || bytes[1] != 'M') {
            Fail(lx_.Where(name.line), file.string() + " is not a bitmap file");
        }
        Resource r{2, 0, {}, language_, std::vector<uint8_t>(bytes.begin() + 14, bytes.end())};
        SetName(r, name);
        resources_.push_back(std::move(r));
    }

    void SetName(Resource& r, const Token& name) const {
        if (name.kind == Token::kNumber) {
            if (name.number == 0 || name.number > 0xFFFF) Fail(lx_.Where(name.line), "resource id out of range");
            r.name_id = static_cast<uint16_t>(name.number);
        } else {
            for (char c : name.text) r.name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }

    Lexer& lx_;
    std::filesystem::path dir_;
    std::map<uint32_t, std::map<uint16_t, std::u16string>>& strings_;
    std::vector<Resource>& resources_;
    Token tok_{};
    uint16_t language_ = 0;
};

// RT_STRING blocks: ids in groups of 16, block (id >> 4) + 1, each string a
// count unit and that many UTF-16 units.
void AddStringBlocks(const std::map<uint32_t, std::map<uint16_t, std::u16string>>& strings,
                     std::vector<Resource>& resources) {
    std::map<std::pair<uint16_t, uint16_t>, std::map<uint32_t, const std::u16string*>> blocks;
    for (const auto& [id, by_language] : strings) {
        for (const auto& [language, text] : by_language) {
            blocks[{language, static_cast<uint16_t>((id >> 4) + 1)}][id & 15] = &text;
        }
    }
    for (const auto& [key, members] : blocks) {
        Resource r{6, key.second, {}, key.first, {}};
        for (uint32_t i = 0; i < 16; ++i) {
            const auto it = members.find(i);
            const std::u16string empty;
            const std::u16string& text = it == members.end() ? empty : *it->second;
            PutWord(r.data, static_cast<uint32_t>(text.size()));
            for (char16_t c : text) PutWord(r.data, c);
        }
        resources.push_back(std::move(r));
    }
}

void Write(const std::string& path, const std::vector<Resource>& resources) {
    std::ostringstream o;
    o << "// Generated by tools/rcgen from the resource scripts; do not edit.\n"
         "#include \"platform/resource_directory.h\"\n\n"
         "namespace tb58::platform {\nnamespace {\n";
    for (size_t i = 0; i < resources.size(); ++i) {
        o << "alignas(8) constexpr uint8_t kData" << i << "[] = {";
        const auto& d = resources[i].data;
        for (size_t k = 0; k < d.size(); ++k) {
            if (k % 24 == 0) o << "\n   ";
            o << ' ' << static_cast<unsigned>(d[k]) << ',';
        }
        if (d.empty()) o << " 0";
        o << "\n};\n";
    }
    o << "}  // namespace\n\nconst ResourceEntry kResourceDirectory[] = {\n";
    for (size_t i = 0; i < resources.size(); ++i) {
        const Resource& r = resources[i];
        o << "    {" << r.type << ", " << r.name_id << ", ";
        if (r.name.empty()) {
            o << "nullptr";
        } else {
            o << '"' << r.name << '"';
        }
        o << ", 0x" << std::hex << r.language << std::dec << ", kData" << i << ", " << r.data.size() << "},\n";
    }
    o << "};\n\nconst size_t kResourceDirectorySize = " << resources.size() << ";\n\n}  // namespace tb58::platform\n";
    // Rewrite only when the contents change, so that builds stay incremental.
    std::ifstream old(path, std::ios::binary);
    const std::string previous((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>());
    if (previous == o.str()) return;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << o.str();
    if (!out) Fail(path, "cannot write");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: rcgen OUTPUT.cpp SCRIPT.rc...\n";
        return 2;
    }
    std::map<uint32_t, std::map<uint16_t, std::u16string>> strings;
    std::vector<Resource> resources;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) Fail(argv[i], "cannot read");
        std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Lexer lexer(std::move(source), argv[i]);
        Parser parser(lexer, std::filesystem::path(argv[i]).parent_path(), strings, resources);
        parser.Run();
    }
    AddStringBlocks(strings, resources);
    // The directory is sorted by type, then integer names before text names,
    // then the name, so that a look-up is a binary search.  The sort is
    // stable: the languages of one resource keep the order of the scripts.
    std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
        const bool a_named = !a.name.empty();
        const bool b_named = !b.name.empty();
        if (a.type != b.type) return a.type < b.type;
        if (a_named != b_named) return !a_named;
        return a_named ? a.name < b.name : a.name_id < b.name_id;
    });
    Write(argv[1], resources);
    return 0;
}
