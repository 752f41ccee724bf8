// Defines the platform's application manager in the client itself, where it
// takes the place of any other, and replaces the global allocation functions
// to see the library delete each response.
#include "app_mgr_double.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform_app_mgr.h"

namespace reload_client {
namespace {

struct Script {
    int sendResult = 1;
    bool respond = true;
    RespToRegFrame response{9, 0};
};

Script g_next;
std::size_t g_sends = 0;
SendSeen g_last;

// The client is single-threaded: plain counters do.
constexpr std::size_t kMaxResponses = 64;
const void* g_handedOut[kMaxResponses] = {};
bool g_released[kMaxResponses] = {};
std::size_t g_handedOutCount = 0;
std::size_t g_releasedCount = 0;

void NoteDelete(void* block) {
    for (std::size_t i = 0; i < g_handedOutCount; ++i) {
        if (g_handedOut[i] == block && !g_released[i]) {
            g_released[i] = true;
            ++g_releasedCount;
            return;
        }
    }
}

void* AllocateOrNull(std::size_t size) noexcept { return std::malloc(size == 0 ? 1 : size); }

void* Allocate(std::size_t size) {
    void* block = AllocateOrNull(size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void Release(void* block) noexcept {
    if (block != nullptr) {
        NoteDelete(block);
    }
    std::free(block);
}

ZorvAppMgr g_appMgr;

}  // namespace

void ScriptNextSend(int sendResult, bool respond, unsigned char echo, unsigned char result) {
    g_next = Script{sendResult, respond, RespToRegFrame{echo, result}};
}

std::size_t TakeSends(SendSeen* last) {
    const std::size_t sends = g_sends;
    *last = g_last;
    g_sends = 0;
    g_last = SendSeen{};
    return sends;
}

std::size_t ResponsesHandedOut() { return g_handedOutCount; }
std::size_t ResponsesReleased() { return g_releasedCount; }

}  // namespace reload_client

ZorvAppMgr* ZorvAppMgr::Instance() { return &reload_client::g_appMgr; }

int ZorvAppMgr::ZorvSendRegReqMsgToMDP(unsigned char kind, RegReqFrame* request,
                                       RespToRegFrame*& response, int param) {
    using namespace reload_client;
    ++g_sends;
    g_last.kind = kind;
    std::memcpy(g_last.request.data(), request->bytes, sizeof request->bytes);
    g_last.responseNullOnEntry = response == nullptr;
    g_last.param = param;
    if (g_next.respond) {
        if (g_handedOutCount == kMaxResponses) {
            std::abort();
        }
        response = new RespToRegFrame(g_next.response);
        g_handedOut[g_handedOutCount++] = response;
    }
    return g_next.sendResult;
}

void* operator new(std::size_t size) { return reload_client::Allocate(size); }
void* operator new[](std::size_t size) { return reload_client::Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return reload_client::AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return reload_client::AllocateOrNull(size);
}
void operator delete(void* block) noexcept { reload_client::Release(block); }
void operator delete[](void* block) noexcept { reload_client::Release(block); }
void operator delete(void* block, std::size_t) noexcept { reload_client::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { reload_client::Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { reload_client::Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    reload_client::Release(block);
}
