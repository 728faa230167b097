#include "notify/notifier_config_file.h"

#include <set>
#include <string>

#include "base/cli_error.h"
#include "base/toml_place.h"
#include "notify/password_file.h"

namespace tb58mon {
namespace {

struct KeyReader {
    const toml::node& node;
    std::string where;
    std::string_view key;

    CliError Bad(std::string_view what) const {
        return BadArgument(where + ": " + std::string(key) + " " + std::string(what));
    }
    std::string Text() const {
        const auto value = node.value<std::string>();
        if (!value) throw Bad("must be a text");
        return *value;
    }
    std::vector<std::string> Texts() const {
        const toml::array* list = node.as_array();
        if (list == nullptr) throw Bad("must be a list of texts");
        std::vector<std::string> texts;
        for (const toml::node& entry : *list) {
            const auto value = entry.value<std::string>();
            if (!value) throw Bad("must be a list of texts");
            texts.push_back(*value);
        }
        return texts;
    }
    std::chrono::seconds Duration() const {
        std::chrono::seconds duration{};
        if (!ParseDuration(Text(), duration)) throw Bad("must be a duration such as \"90s\", \"5m\", \"1h\" or \"1d\"");
        return duration;
    }
};

void ReadKey(const KeyReader& key, NotifierConfig& notifier, bool& starttls_given) {
    const std::string_view name = key.key;
    if (name == "name") {
        notifier.name = key.Text();
    } else if (name == "type") {
        const std::string type = key.Text();
        if (type != "webhook" && type != "email") throw key.Bad("must be \"webhook\" or \"email\"");
        notifier.type = type == "webhook" ? NotifierType::kWebhook : NotifierType::kEmail;
    } else if (name == "url") {
        notifier.url = key.Text();
    } else if (name == "headers") {
        const toml::table* table = key.node.as_table();
        if (table == nullptr) throw key.Bad("must be a table of texts: headers = { X-Name = \"value\" }");
        for (const auto& [header, value] : *table) {
            const auto text = value.value<std::string>();
            if (!text) throw key.Bad("must be a table of texts");
            notifier.headers.emplace_back(std::string(header.str()), *text);
        }
    } else if (name == "from") {
        notifier.from = key.Text();
    } else if (name == "to") {
        notifier.to = key.Texts();
    } else if (name == "user") {
        notifier.user = key.Text();
    } else if (name == "password_file") {
        notifier.password_file = key.Text();
        if (notifier.password_file.empty()) throw key.Bad("must name a file");
    } else if (name == "starttls") {
        const auto value = key.node.value<bool>();
        if (!value) throw key.Bad("must be true or false");
        notifier.starttls = *value;
        starttls_given = true;
    } else if (name == "on") {
        for (const std::string& word : key.Texts()) {
            NotifyRule rule{};
            if (!ParseNotifyRule(word, rule)) {
                throw key.Bad("names no rule '" + word + "' (the rules: error, attention, no_response, unknown, toner_low, "
                              "toner_empty, tray_empty, code, recovered)");
            }
            notifier.on.Add(rule);
        }
    } else if (name == "printers") {
        notifier.printers = key.Texts();
    } else if (name == "hold") {
        notifier.hold = key.Duration();
    } else if (name == "repeat") {
        notifier.repeat = key.Text() == "off" ? std::chrono::seconds(0) : key.Duration();
    } else if (name == "expire") {
        notifier.expire = key.Duration();
    } else if (name == "lang") {
        notifier.lang = key.Text();
    } else {
        throw key.Bad("is not a key of a [[notify]] table");
    }
}

NotifierConfig ReadNotifier(const toml::table& table, std::string_view file_name, const std::string& where) {
    NotifierConfig notifier;
    bool starttls_given = false;
    for (const auto& [key, node] : table) {
        ReadKey(KeyReader{node, TomlPlace(file_name, node.source()), key.str()}, notifier, starttls_given);
    }
    if (notifier.name.empty() || notifier.url.empty() || table.get("type") == nullptr) {
        throw BadArgument(where + ": a notifier needs a name, a type and a url");
    }
    CheckNotifier(notifier, where);
    if (starttls_given && notifier.url.compare(0, 7, "smtp://") != 0) {
        throw BadArgument(where + ": starttls is for smtp:// URLs (smtps:// is TLS from the start)");
    }
    return notifier;
}

}  // namespace

std::vector<NotifierConfig> ParseNotifiers(const toml::node& node, std::string_view file_name) {
    const toml::array* list = node.as_array();
    if (list == nullptr) throw BadArgument(TomlPlace(file_name, node.source()) + ": write notifiers as [[notify]]");
    std::vector<NotifierConfig> notifiers;
    std::set<std::string> names;
    for (const toml::node& entry : *list) {
        const std::string where = TomlPlace(file_name, entry.source());
        const toml::table* table = entry.as_table();
        if (table == nullptr) throw BadArgument(where + ": a notifier must be a table");
        NotifierConfig notifier = ReadNotifier(*table, file_name, where);
        if (!names.insert(notifier.name).second) {
            throw BadArgument(where + ": a second notifier named '" + notifier.name + "'");
        }
        notifiers.push_back(std::move(notifier));
    }
    return notifiers;
}

void ReadNotifierPasswords(std::vector<NotifierConfig>& notifiers) {
    for (NotifierConfig& notifier : notifiers) {
        if (!notifier.password_file.empty()) notifier.password = ReadPasswordFile(notifier.password_file);
    }
}

}  // namespace tb58mon
