// SQLite for the event store and its users, without leaks on any path: a
// connection and a prepared statement as owning objects, a transaction that
// rolls back unless committed, and every failure as a SqliteError that
// carries SQLite's extended result code.
//
//   Statement insert(db, "INSERT INTO t(a, b) VALUES (?, ?)");
//   insert.Bind(1, int64_t{7}).Bind(2, std::string_view("x")).Run();
//   Statement select(db, "SELECT a, b FROM t WHERE a > ?");
//   select.Bind(1, int64_t{0});
//   while (select.Step()) use(select.Int(0), select.Text(1));
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tb58mon {

class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }  // the extended result code
    int primary() const { return code_ & 0xff; }

private:
    int code_;
};

// What a failure means for the people who run the service, in a few words:
// "the database is locked by another program", "the disk is full", ...
std::string SqliteProblem(int code);

struct SqliteCloser {
    void operator()(sqlite3* db) const;
};
using SqliteConnection = std::unique_ptr<sqlite3, SqliteCloser>;

// sqlite3_open_v2 with flags (SQLITE_OPEN_NOFOLLOW is always added), with
// extended result codes on and a busy timeout.  Throws SqliteError.
SqliteConnection OpenSqlite(const std::string& path, int flags, int busy_timeout_ms);

// Runs SQL without results (several statements allowed).  Throws SqliteError.
void ExecuteSql(sqlite3* db, const char* sql);

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);  // throws SqliteError
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1.
    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, std::string_view text);
    Statement& Bind(int index, std::optional<int64_t> value);  // null when empty
    Statement& BindNull(int index);

    // The next row: true when there is one, false when done.  Throws SqliteError.
    bool Step();
    // Steps to the end (a statement without results).
    void Run();
    // Ready to run again with new parameters.
    void Reset();

    // Columns count from 0; valid until the next Step or Reset.
    bool IsNull(int column) const;
    int64_t Int(int column) const;
    std::optional<int64_t> OptionalInt(int column) const;
    std::string_view Text(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// BEGIN IMMEDIATE (the write lock at once); ROLLBACK when destroyed without
// Commit.  Throws SqliteError.
class Transaction {
public:
    explicit Transaction(sqlite3* db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    sqlite3* db_;
    bool open_ = true;
};

}  // namespace tb58mon
