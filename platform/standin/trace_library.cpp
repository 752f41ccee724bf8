// The stand-in trace library: renders records exactly, keeps every written
// record for tests and, when asked, appends it to a log file.
#include <fstream>
#include <initializer_list>
#include <mutex>
#include <string>

#include "platform/qx_trace.h"
#include "standin_internal.h"
#include "state.h"

namespace NSQX_util {

QXString::QXString(int value) : m_ulBits(static_cast<unsigned long>(value)), m_bSigned(true) {}

QXString::QXString(unsigned long value) : m_ulBits(value), m_bSigned(false) {}

bool QXString::isSigned() const { return m_bSigned; }

unsigned long QXString::bits() const { return m_ulBits; }

}  // namespace NSQX_util

namespace {

using NSQX_util::QXString;
using qx_standin::Call;
using qx_standin::CallRecord;

std::string Decimal(const QXString& value) {
    return value.isSigned() ? std::to_string(static_cast<long>(value.bits()))
                            : std::to_string(value.bits());
}

// Each "%d", in order, takes the next value; nothing else is touched.
std::string Render(const std::string& format, std::initializer_list<const QXString*> values) {
    std::string out;
    const auto* next = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd' &&
            next != values.end()) {
            out += Decimal(**next++);
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

int Format(unsigned int level, std::string& out, const std::string& format,
           std::initializer_list<const QXString*> values) {
    CallRecord record(Call::TraceFormat);
    if (qx_standin::detail::Journaling()) {
        record.args.push_back(level);
        for (const QXString* value : values) {
            record.args.push_back(static_cast<std::int64_t>(value->bits()));
        }
        record.text = "QXTrace2Str(" + std::to_string(record.args.at(0)) + ", \"" +
                      qx_standin::detail::Escape(format) + "\"";
        std::size_t next = 1;
        for (const QXString* value : values) {
            const std::int64_t bits = record.args.at(next++);
            record.text += value->isSigned()
                               ? ", int " + std::to_string(bits)
                               : ", ulong " + std::to_string(static_cast<std::uint64_t>(bits));
        }
        record.text += ")";
    }
    qx_standin::detail::CheckFault(record);
    out = Render(format, values);
    qx_standin::detail::Record(std::move(record));
    return 0;
}

}  // namespace

namespace NSQX_util {

int QXTrace2Str(unsigned int level, std::string& out, const char* text) {
    return Format(level, out, text, {});
}

int QXTrace2Str(unsigned int level, std::string& out, const std::string& format,
                const QXString& v1) {
    return Format(level, out, format, {&v1});
}

int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2) {
    return Format(level, out, format, {&v1, &v2});
}

int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2, const QXString& v3) {
    return Format(level, out, format, {&v1, &v2, &v3});
}

int QXTrace2LogFile(const std::string& module, int type, const std::string& text) {
    CallRecord record(Call::TraceWrite);
    if (qx_standin::detail::Journaling()) {
        record.args.push_back(type);
        record.text = "QXTrace2LogFile(\"" + qx_standin::detail::Escape(module) + "\", " +
                      std::to_string(record.args.at(0)) + ", \"" +
                      qx_standin::detail::Escape(text) + "\")";
    }
    qx_standin::detail::CheckFault(record);

    auto& s = qx_standin::detail::GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    for (auto it = s.traceFaults.begin(); it != s.traceFaults.end(); ++it) {
        if (text.find(it->needle) != std::string::npos) {
            qx_standin::detail::ThrowFault(s, std::move(record), [&s, it] {
                if (--it->times == 0) {
                    s.traceFaults.erase(it);
                }
            });
        }
    }
    if (!s.logPath.empty()) {
        std::ofstream log(s.logPath, std::ios::app);
        log << module << ' ' << type << ' ' << text
            << (text.empty() || text.back() != '\n' ? "\n" : "");
    }
    if (s.journaling) {  // kept in both or, out of memory, in neither
        qx_standin::detail::MakeRoomForOne(s.journal);
        s.traces.push_back(qx_standin::TraceRecord{module, type, text});
        s.journal.push_back(std::move(record));
    }
    return 0;
}

}  // namespace NSQX_util
