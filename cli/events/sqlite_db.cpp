#include "events/sqlite_db.h"

namespace tb58mon {
namespace {

[[noreturn]] void Fail(sqlite3* db, int code) {
    const int extended = db != nullptr ? sqlite3_extended_errcode(db) : code;
    const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw SqliteError(extended != 0 ? extended : code, message != nullptr ? message : "SQLite error");
}

}  // namespace

std::string SqliteProblem(int code) {
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED: return "the database is locked by another program";
        case SQLITE_READONLY: return "the database is read-only";
        case SQLITE_FULL: return "the disk (or the database's size limit) is full";
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB: return "the file is damaged or not a database";
        case SQLITE_CANTOPEN: return "the file cannot be opened (a link, a folder, or no permission)";
        case SQLITE_PERM:
        case SQLITE_AUTH: return "permission denied";
        case SQLITE_IOERR: return "a read or write of the disk failed";
        case SQLITE_NOMEM: return "out of memory";
        default: return std::string("SQLite error: ") + sqlite3_errstr(code);
    }
}

void SqliteCloser::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

SqliteConnection OpenSqlite(const std::string& path, int flags, int busy_timeout_ms) {
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(path.c_str(), &raw, flags | SQLITE_OPEN_NOFOLLOW, nullptr);
    SqliteConnection db(raw);  // closed on every path, even a failed open
    if (code != SQLITE_OK) Fail(raw, code);
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, busy_timeout_ms);
    return db;
}

void ExecuteSql(sqlite3* db, const char* sql) {
    const int code = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) Fail(db, code);
}

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    const int code = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr);
    if (code != SQLITE_OK) Fail(db, code);
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement& Statement::Bind(int index, int64_t value) {
    const int code = sqlite3_bind_int64(statement_, index, value);
    if (code != SQLITE_OK) Fail(db_, code);
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
    const int code = sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (code != SQLITE_OK) Fail(db_, code);
    return *this;
}

Statement& Statement::Bind(int index, std::optional<int64_t> value) {
    return value ? Bind(index, *value) : BindNull(index);
}

Statement& Statement::BindNull(int index) {
    const int code = sqlite3_bind_null(statement_, index);
    if (code != SQLITE_OK) Fail(db_, code);
    return *this;
}

bool Statement::Step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    sqlite3_reset(statement_);
    Fail(db_, code);
}

void Statement::Run() {
    while (Step()) {
    }
}

void Statement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

bool Statement::IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

int64_t Statement::Int(int column) const { return sqlite3_column_int64(statement_, column); }

std::optional<int64_t> Statement::OptionalInt(int column) const {
    if (IsNull(column)) return std::nullopt;
    return Int(column);
}

std::string_view Statement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (text == nullptr) return {};
    return {text, static_cast<size_t>(sqlite3_column_bytes(statement_, column))};
}

Transaction::Transaction(sqlite3* db) : db_(db) { ExecuteSql(db, "BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (open_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
    ExecuteSql(db_, "COMMIT");
    open_ = false;
}

}  // namespace tb58mon
