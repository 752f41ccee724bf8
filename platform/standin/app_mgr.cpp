// The stand-in application manager: registration sends answered from a
// script, each delivered response a new object that the caller deletes.
#include <array>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "app_mgr_state.h"
#include "platform/zorv_app_mgr.h"
#include "qx_standin/app_mgr.h"
#include "state.h"

namespace {

using qx_standin::Call;
using qx_standin::CallRecord;

struct SendAnswer {
    int sendResult;
    bool respond;
    RespToRegFrame response;
};

constexpr SendAnswer kAccepted{1, true, RespToRegFrame{9, 0}};

struct Script {
    std::mutex mutex;
    std::deque<SendAnswer> queued;
    SendAnswer fallback = kAccepted;
};

Script& GetScript() {
    // Never destroyed: sends may still arrive from static destructors.
    static auto* script = new Script;
    return *script;
}

SendAnswer NextAnswer() {
    Script& script = GetScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    if (script.queued.empty()) {
        return script.fallback;
    }
    SendAnswer answer = script.queued.front();
    script.queued.pop_front();
    return answer;
}

void Enqueue(const SendAnswer& answer) {
    Script& script = GetScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    script.queued.push_back(answer);
}

// The responses not yet released. Lock-free and free of allocation, because
// NoteResponseReleased() runs on every release of memory in a process that
// watches; trivially destructible, because that may happen during static
// destruction. Responses beyond the table's capacity are only counted, and
// never count as released.
constexpr std::size_t kTrackedCapacity = 1024;
std::array<std::atomic<const void*>, kTrackedCapacity> g_alive{};
std::atomic<std::size_t> g_tracked{0};
std::atomic<std::size_t> g_untracked{0};
std::atomic<std::size_t> g_handedOut{0};

void TrackAlive(const void* response) {
    for (std::atomic<const void*>& slot : g_alive) {
        const void* empty = nullptr;
        if (slot.compare_exchange_strong(empty, response)) {
            g_tracked.fetch_add(1);
            return;
        }
    }
    g_untracked.fetch_add(1);
}

// Counts a response as handed out; it cannot fail, so it comes last.
RespToRegFrame* HandOut(std::unique_ptr<RespToRegFrame> response) noexcept {
    TrackAlive(response.get());
    g_handedOut.fetch_add(1);
    return response.release();
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        static constexpr char kDigits[] = "0123456789abcdef";
        if (i != 0) {
            out += ' ';
        }
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0f];
    }
    return "[" + out + "]";
}

// e.g. ZorvSendRegReqMsgToMDP(20, [09 00 01 00 ...], null, 60)
CallRecord SendCall(unsigned char kind, const RegReqFrame* request,
                    const RespToRegFrame* responseOnEntry, int param) {
    CallRecord record(Call::SendRegReq);
    record.args = {kind, param};
    std::string requestText = "null";
    if (request != nullptr) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(request);
        record.bytes.assign(bytes, bytes + sizeof(RegReqFrame));
        requestText = HexBytes(record.bytes.data(), record.bytes.size());
    }
    record.text = "ZorvSendRegReqMsgToMDP(" + std::to_string(record.args.at(0)) + ", " +
                  requestText + ", " + (responseOnEntry == nullptr ? "null" : "non-null") + ", " +
                  std::to_string(record.args.at(1)) + ")";
    return record;
}

// What a failed send leaves in `response`: the platform's, which the caller
// must neither read nor delete. One per thread, since sends may run at once.
RespToRegFrame* LeftByFailedSend(const RespToRegFrame& frame) {
    thread_local RespToRegFrame left{};
    left = frame;
    return &left;
}

ZorvAppMgr g_appMgr;

}  // namespace

ZorvAppMgr* ZorvAppMgr::Instance() {
    CallRecord record(Call::AppMgrInstance, "ZorvAppMgr::Instance()");
    qx_standin::detail::CheckFault(record);
    record.text += " = non-null";
    qx_standin::detail::Record(std::move(record));
    return &g_appMgr;
}

int ZorvAppMgr::ZorvSendRegReqMsgToMDP(unsigned char kind, RegReqFrame* request,
                                       RespToRegFrame*& response, int param) {
    CallRecord record = SendCall(kind, request, response, param);
    qx_standin::detail::CheckFault(record);
    const SendAnswer answer = NextAnswer();
    record.text += " = " + std::to_string(answer.sendResult);
    // Everything that may throw happens before the caller owns a response.
    std::unique_ptr<RespToRegFrame> created;
    if (answer.respond) {
        if (answer.sendResult != 0) {
            created = std::make_unique<RespToRegFrame>(answer.response);
        }
        record.text += ", response (" + std::to_string(answer.response.echo) + ", " +
                       std::to_string(answer.response.result) + ")";
    }
    qx_standin::detail::Record(std::move(record));
    if (created) {
        response = HandOut(std::move(created));
    } else if (answer.respond) {
        response = LeftByFailedSend(answer.response);
    }
    return answer.sendResult;
}

namespace qx_standin {

void QueueSendResponse(std::uint8_t echo, std::uint8_t result, int sendResult) {
    Enqueue(SendAnswer{sendResult, true, RespToRegFrame{echo, result}});
}

void QueueSendWithoutResponse(int sendResult) {
    Enqueue(SendAnswer{sendResult, false, RespToRegFrame{0, 0}});
}

void SetDefaultSendResponse(std::uint8_t echo, std::uint8_t result) {
    Script& script = GetScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    script.fallback = SendAnswer{1, true, RespToRegFrame{echo, result}};
}

std::size_t ResponsesHandedOut() { return g_handedOut.load(); }

std::size_t ResponsesAlive() { return g_tracked.load() + g_untracked.load(); }

bool NoteResponseReleased(const void* p) noexcept {
    if (p == nullptr || g_tracked.load() == 0) {
        return false;
    }
    for (std::atomic<const void*>& slot : g_alive) {
        const void* expected = p;
        if (slot.compare_exchange_strong(expected, nullptr)) {
            g_tracked.fetch_sub(1);
            return true;
        }
    }
    return false;
}

namespace detail {

void ResetAppMgr() {
    Script& script = GetScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    script.queued.clear();
    script.fallback = kAccepted;
    g_handedOut.store(0);
    for (std::atomic<const void*>& slot : g_alive) {
        slot.store(nullptr);
    }
    g_tracked.store(0);
    g_untracked.store(0);
}

}  // namespace detail
}  // namespace qx_standin
