#include "transport/snmp_mib_read.h"

#include <asio/post.hpp>

namespace tb58mon {
namespace {

// Rows asked of every column in one GETBULK.
constexpr int kRepetitions = 16;
// SNMPv1's error-status noSuchName.
constexpr long kNoSuchName = 2;

// One column's walk: where it starts and how far it got.
struct Cursor {
    ObjectId column;
    ObjectId last;
    size_t rows = 0;
    bool done = false;
};

class MibRead final : public SnmpMibRead, public std::enable_shared_from_this<MibRead> {
public:
    MibRead(std::shared_ptr<SnmpExchange> exchange, bool version1, std::function<void(MibReading)> done)
        : exchange_(std::move(exchange)), version1_(version1), done_(std::move(done)) {
        for (ObjectId& column : PrinterMibColumns()) cursors_.push_back(Cursor{column, column});
        scalars_ = PrinterMibScalars();
    }

    void Begin() { AskScalars(); }

    void Cancel() override {
        done_ = nullptr;
        exchange_->Cancel();
    }

private:
    void AskScalars() {
        exchange_->Request(SnmpRequestType::kGet, scalars_, 0, [self = shared_from_this()](SnmpResponse response) {
            self->TakeScalars(std::move(response));
        });
    }

    void TakeScalars(SnmpResponse response) {
        if (!response.answered) return Finish(std::move(response.error));
        reading_.answered = true;
        // SNMPv1 refuses the whole request for one object it does not have:
        // ask again without it.
        if (response.error_status == kNoSuchName && response.error_index >= 1 &&
            static_cast<size_t>(response.error_index) <= scalars_.size()) {
            scalars_.erase(scalars_.begin() + (response.error_index - 1));
            if (!scalars_.empty()) return AskScalars();
        } else if (response.error_status == 0) {
            Keep(response);
        } else {
            Note("the single objects were refused (SNMP error-status " + std::to_string(response.error_status) + ")");
        }
        AskColumns();
    }

    std::vector<size_t> ActiveCursors() const {
        std::vector<size_t> active;
        for (size_t i = 0; i < cursors_.size(); ++i) {
            if (!cursors_[i].done) active.push_back(i);
        }
        return active;
    }

    void AskColumns() {
        active_ = ActiveCursors();
        if (active_.empty()) return Finish("");
        if (++requests_ > kMaxWalkRequests) {
            Note("the walk stopped after " + std::to_string(kMaxWalkRequests) + " requests");
            return Finish("");
        }
        std::vector<ObjectId> from;
        for (const size_t i : active_) from.push_back(cursors_[i].last);
        exchange_->Request(version1_ ? SnmpRequestType::kGetNext : SnmpRequestType::kGetBulk, from, kRepetitions,
                           [self = shared_from_this()](SnmpResponse response) { self->TakeColumns(std::move(response)); });
    }

    void TakeColumns(SnmpResponse response) {
        if (!response.answered) {
            Note("the walk stopped: " + response.error);
            return Finish("");
        }
        if (response.error_status != 0) {
            // SNMPv1 at the end of the agent's objects: that column is done.
            const long index = response.error_index;
            if (response.error_status != kNoSuchName || index < 1 || static_cast<size_t>(index) > active_.size()) {
                Note("the walk was refused (SNMP error-status " + std::to_string(response.error_status) + ")");
                return Finish("");
            }
            cursors_[active_[index - 1]].done = true;
            return AskColumns();
        }
        if (response.bindings.empty()) return Finish("");
        for (size_t k = 0; k < response.bindings.size(); ++k) Advance(cursors_[active_[k % active_.size()]], response.bindings[k]);
        if (bytes_ > kMaxMibBytes) {
            Note("the walk stopped at " + std::to_string(kMaxMibBytes) + " bytes");
            return Finish("");
        }
        AskColumns();
    }

    void Advance(Cursor& cursor, SnmpBinding& binding) {
        if (cursor.done) return;
        const ObjectId& oid = binding.binding.oid;
        if (binding.exception || !OidStartsWith(oid, cursor.column) || !OidLess(cursor.last, oid)) {
            cursor.done = true;
            return;
        }
        cursor.last = oid;
        bytes_ += binding.binding.text.size();
        reading_.bindings.push_back(std::move(binding.binding));
        if (++cursor.rows >= kMaxMibRows) {
            cursor.done = true;
            Note(OidText(cursor.column) + " has more than " + std::to_string(kMaxMibRows) + " rows");
        }
    }

    void Keep(SnmpResponse& response) {
        for (SnmpBinding& binding : response.bindings) {
            if (binding.exception) continue;
            bytes_ += binding.binding.text.size();
            reading_.bindings.push_back(std::move(binding.binding));
        }
    }

    void Note(const std::string& text) {
        if (reading_.note.empty()) reading_.note = text;
    }

    void Finish(std::string error) {
        if (!reading_.answered) reading_.error = std::move(error);
        if (auto done = std::move(done_)) {
            done_ = nullptr;
            exchange_->Cancel();
            done(std::move(reading_));
        }
    }

    std::shared_ptr<SnmpExchange> exchange_;
    bool version1_;
    std::function<void(MibReading)> done_;
    std::vector<Cursor> cursors_;
    std::vector<ObjectId> scalars_;
    std::vector<size_t> active_;
    size_t requests_ = 0;
    size_t bytes_ = 0;
    MibReading reading_;
};

}  // namespace

std::shared_ptr<SnmpMibRead> StartPrinterMibRead(asio::io_context& io, const SnmpTarget& target, Deadline deadline,
                                                 std::function<void(MibReading)> done) {
    auto read = std::make_shared<MibRead>(OpenSnmpExchange(io, target, deadline), target.version == "1", std::move(done));
    read->Begin();
    return read;
}

}  // namespace tb58mon
