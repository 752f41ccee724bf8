#include "state.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <vector>

#include "database_state.h"
#include "standin_internal.h"

namespace qx_standin {

InjectedFault::InjectedFault(Call c)
    : std::runtime_error(std::string("injected fault in ") + CallName(c)), call(c) {}

namespace detail {

Shared& GetShared() {
    // Never destroyed: calls may still arrive from static destructors.
    static auto* shared = new Shared;
    return *shared;
}

void CheckFault(CallRecord record) {
    Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    const auto due = std::find_if(s.faults.begin(), s.faults.end(),
                                  [&record](const Fault& f) { return f.call == record.call; });
    if (due == s.faults.end()) {
        return;
    }
    if (due->skip > 0) {
        --due->skip;
        return;
    }
    ThrowFault(s, std::move(record), [&s, due] {
        if (--due->times == 0) {
            s.faults.erase(due);
        }
    });
}

void Record(CallRecord record) {
    Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.journaling) {
        s.journal.push_back(std::move(record));
    }
}

bool Journaling() { return GetShared().journaling.load(std::memory_order_relaxed); }

std::string Escape(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            (void)std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

DatabaseAccess::DatabaseAccess() : m_pState(&GetShared().database) { GetShared().mutex.lock(); }

DatabaseAccess::~DatabaseAccess() { GetShared().mutex.unlock(); }

}  // namespace detail
}  // namespace qx_standin
