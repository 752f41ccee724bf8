// What the library and the stand-in do, written as plainly as the headers
// describe it. The model answers the library's own calls (its registry, facade
// and managers have the library's signatures), so that one operation of the
// state machine runs on the process and on the model alike. It predicts each
// result, the fault let through, every journal text and trace record, and what
// the caller's outputs hold afterwards.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <limits>
#include <list>
#include <map>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace qx_model {

using Ids = std::vector<unsigned long>;
using DbIds = std::vector<unsigned int>;
using qx_standin::Call;

// What the model throws where the stand-in throws InjectedFault.
struct Threw {
    Call call;
};

// What Instance() returned, called as a caller calls it; a call through null
// reads as kNoInstance, and Exists() as 0 if there is an instance.
constexpr long kNoInstance = -1000;
template <typename T>
struct Through {
    T* p;
    long Exists() const { return p == nullptr ? kNoInstance : 0; }
    long GetAdminUserID() { return p ? p->GetAdminUserID() : kNoInstance; }
    long IsAdminUserID(unsigned long id) { return p ? long{p->IsAdminUserID(id)} : kNoInstance; }
    long RegEventHandler(const SvrEvent& key, void (*handler)()) {
        return p ? p->RegEventHandler(key, handler) : kNoInstance;
    }
    long SubscribeEvent() { return p ? p->SubscribeEvent() : kNoInstance; }
    long UnSubscribeEvent() { return p ? p->UnSubscribeEvent() : kNoInstance; }
};

// A journal text's quoting of bytes, as qx_standin/standin.h describes it.
inline std::string Escaped(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char hex[5];
        (void)std::snprintf(hex, sizeof hex, "\\x%02x", byte);
        out += c == '\n'                     ? "\\n"
               : c == '"' || c == '\\'       ? std::string("\\") + c
               : byte >= 0x20 && byte < 0x7f ? std::string(1, c)
                                             : std::string(hex);
    }
    return out;
}

// "a, b" of ids, as the stand-in renders them.
template <typename Items>
std::string Listed(const Items& items) {
    std::string out;
    for (const auto& id : items) {
        out += (out.empty() ? "" : ", ") + std::to_string(id);
    }
    return out;
}

// What the caller passes as outputs, in the process and in the model.
struct Outputs {
    std::list<unsigned long> list;
    Ids vec;
    std::set<unsigned long> set;
    std::map<int, std::string> names;
    std::array<char, 257> buf{};  // GetLoginName's 256 bytes, and one no call may write
    Outputs() { buf.fill('x'); }
    long Fill(const Ids& ids) {  // every output
        list.assign(ids.begin(), ids.end());
        vec = ids;
        set = {ids.begin(), ids.end()};
        return 0;
    }
};

struct SendAnswer {
    int sent = 1;
    bool respond = true;
    int echo = 9;
    int result = 0;
};

// The stand-in: its data set, its scripts and faults, and what it kept.
struct Platform {
    bool available = true;
    int adminId = 0;
    std::set<unsigned int> admins;
    std::map<unsigned int, std::string> userNames;
    std::map<unsigned int, DbIds> managed;
    bool cloud = false;
    int mngResult = 1;
    std::deque<std::pair<int, std::string>> nameAnswers;
    std::deque<std::pair<int, DbIds>> mngAnswers;
    struct Fault {
        Call call;
        unsigned skip;
        unsigned times;
    };
    std::vector<Fault> faults;  // in order: those for one call take turns
    std::vector<std::pair<std::string, unsigned>> traceFaults;
    std::deque<SendAnswer> sends;
    SendAnswer fallback;
    bool journaling = true;
    std::size_t handedOut = 0;
    std::vector<std::string> journal;  // JournalTexts()
    std::vector<std::string> traces;   // TraceTexts()
};

// The stand-in and the caller: the library's singletons as the caller sees
// them, its managers and outputs, ACE's static object lock, what was printed.
class Model : public Outputs, public Platform {
public:
    bool registry = false;
    bool facade = false;
    bool consumer = false;  // the library's event consumer (never seen directly)
    std::set<std::pair<std::string, std::string>> keys;
    struct Manager {
        int user;
        bool root;
    };
    std::vector<Manager> managers;
    bool lockFails = false;
    long locks = 0;  // times taken
    std::string printed;

    // Reset(), or ResetEmpty(): the stand-in's data set afresh, nothing scripted.
    void Reset(bool empty) {
        static_cast<Platform&>(*this) = Platform{};
        if (empty) {
            return;
        }
        adminId = 1;
        admins = {1};
        userNames = {
            {1, "admin"}, {42, "alice"}, {43, "bob"}, {44, "carol"}, {100, "noc-operator"}};
        for (unsigned int ne = 1001; ne <= 1300; ++ne) {
            managed[1].push_back(ne);
            if (ne <= 1100) {
                managed[42].push_back(ne);
            }
            if (ne % 2 == 0) {
                managed[43].push_back(ne);
            }
        }
        managed[1].push_back(3000000000U);
        managed[42].push_back(3000000000U);
    }
    void InjectFault(Call call, unsigned skip, unsigned times) {
        if (times != 0) {
            faults.push_back({call, skip, times});
        }
    }
    void InjectTraceFault(const std::string& needle, unsigned times) {
        if (times != 0) {
            traceFaults.emplace_back(needle, times);
        }
    }
    void ClearJournal() {
        journal.clear();
        traces.clear();
    }
    void ClearFaults() {
        faults.clear();
        traceFaults.clear();
    }

    // The library's calls, as the process makes them; Mgr(i) is managers[i].
    Through<Model> Registry() { return {Made(registry) ? this : nullptr}; }
    long DestroyRegistry() {
        if (registry && Lock()) {
            registry = false;
        }
        return 0;
    }
    long GetAdminUserID() {
        if (!Database()) {
            return 0;
        }
        Enter(Call::GetAdminID, "GetAdminID()");
        Journal("GetAdminID() = " + std::to_string(adminId));
        return adminId;
    }
    bool IsAdminUserID(unsigned long userId) {
        bool admin = false;
        if (Database()) {
            const std::string call = "isInAdmins(" + std::to_string(unsigned(userId)) + ")";
            Enter(Call::IsInAdmins, call);
            admin = admins.contains(unsigned(userId));
            Journal(call + " = " + Bool(admin));
        }
        Trace("call pZorv->isInAdmins return " + Bool(admin) + ", userid is %d \n",
              {Ulong(userId)});
        return admin;
    }
    long MakeManager(int userId) {
        Registry();
        managers.push_back({userId, IsAdminUserID(static_cast<unsigned long>(long{userId}))});
        return 0;
    }
    Through<Model> Facade() { return {Made(facade) ? this : nullptr}; }
    long DestroyFacade() {
        if (!facade || !Lock()) {
            return 0;
        }
        try {
            Consumer();
            Lock();  // the consumer's own Destroy()
            try {
                Trace("SYSEvent::~SYSEven");
            } catch (const Threw&) {
            }
            Journal(kProxyDestroyed);
            consumer = false;
            keys.clear();
        } catch (const Threw&) {
        }
        facade = false;
        return 0;
    }
    long RegEventHandler(const SvrEvent& key, void (*)()) {
        if (!Consumer()) {
            Trace("pEventConsumer is NULL by RegEventHandler!");
            return 0x4101F40D;
        }
        if (!keys.insert({key.m_strPrimaryKey, key.m_strSecondaryKey}).second) {
            Trace("RegEventHandler can not find key!");
            return 0x4103F210;
        }
        return 0;
    }
    class Bound;
    Bound Mgr(std::size_t i);
    long SubscribeEvent() { return Subscribe(true); }
    long UnSubscribeEvent() { return Subscribe(false); }
    int Reload(int a1, int a2, int a3, long a4);

    // One of the caller's managers, answering as the library's would.
    class Bound {
    public:
        Bound(Model& model, const Manager& manager) : m(model), user(manager.user) {}
        long GetLoginName(char* name) {
            if (m.UserName(user, name) == 1) {
                return 0;
            }
            m.Trace("ZorvGetUserName is failed!");
            return kUserNameNotDelivered;
        }
        long GetAllUser(const std::vector<int>& ids, std::map<int, std::string>& names) {
            std::array<char, 256> buffer{};
            for (const int id : ids) {
                const int found = m.UserName(id, buffer.data());
                buffer[255] = '\0';
                if (found != 1) {
                    m.Trace("ZorvGetUserName failed!");
                    return kUserNameNotDelivered;
                }
                names.try_emplace(id, buffer.data());
            }
            return 0;
        }
        bool isNeManaged(unsigned long ne) {
            if (m.IsCloudNode()) {
                return true;
            }
            if (ne > std::numeric_limits<unsigned int>::max()) {
                return false;
            }
            m.Trace(kAsk + "userid = %d,neId = %d \n", {Int(user), Ulong(ne)});
            const auto [code, answer] = m.Query(user, {unsigned(ne)});
            m.Trace(
                kAsk + "retCode = %d, userid = %d,lstDeviceOut.size() = %d \n",
                {Ulong(static_cast<unsigned long>(long{code})), Int(user), Ulong(answer.size())});
            if (code != 1) {
                m.Trace("ZorvService error!");
                return false;
            }
            return !answer.empty();
        }
        // The vector form returns 0 and keeps the output after a failed query;
        // the set form returns the query's result and takes its answer anyway.
        template <typename Out>
        long GetAllManagedNE(Out& out) {
            constexpr bool kSet = std::is_same_v<Out, std::set<unsigned long>>;
            m.Trace(kAsk + "userid = %d,GetAllManagedNE \n", {Int(user)});
            const auto [code, answer] = m.Query(user, {});
            const auto widened = static_cast<unsigned long>(long{code});
            m.Trace(
                kAsk + "retCode = %d, userid = %d," + (kSet ? "set" : "vec") + "NE.size() = %d \n",
                {Ulong(widened), Int(user), Ulong(answer.size())});
            if (!kSet && code != 1) {
                m.Trace("ZorvService error! retcode = %d\n", {Ulong(widened)});
                return FailedQuery(code);
            }
            out = Out(answer.begin(), answer.end());
            if (answer.empty()) {
                m.Trace(kNoNe, {Int(user)});
            }
            return kSet ? code : 0;
        }
        // On a cloud node lists take the ids in front, vectors after, sets by union.
        template <typename In, typename Out>
        long GetManagedNE(const In& in, Out& out) {
            const Ids input(in.begin(), in.end());  // the caller may pass `out` as `in`
            if (m.IsCloudNode()) {
                if constexpr (std::is_same_v<Out, std::set<unsigned long>>) {
                    out.insert(input.begin(), input.end());
                } else {
                    out.insert(std::is_same_v<Out, Ids> ? out.end() : out.begin(), input.begin(),
                               input.end());
                }
                return 0;
            }
            std::set<unsigned int> filter;
            for (const unsigned long id : input) {
                if (id <= std::numeric_limits<unsigned int>::max()) {
                    filter.insert(unsigned(id));
                }
            }
            DbIds answer;
            if (!filter.empty()) {
                m.Trace(kAsk + "userid = %d," + Kind(in) + "NE.size() = %d \n",
                        {Int(user), Ulong(filter.size())});
                const auto [code, answered] = m.Query(user, filter);
                m.Trace(
                    kAsk + "retCode = %d, userid = %d," + Kind(out) + "ManagedNE.size() = %d \n",
                    {Ulong(static_cast<unsigned long>(long{code})), Int(user),
                     Ulong(answered.size())});
                if (code != 1) {
                    m.Trace("ZorvService error!");
                    return FailedQuery(code);
                }
                answer = answered;
            }
            out = Out(answer.begin(), answer.end());
            return 0;
        }

    private:
        Model& m;
        int user;
    };

private:
    static constexpr long kUserNameNotDelivered = 0x42008125;
    static constexpr long kFailedWithoutCode = 0x42008126;
    static inline const std::string kAsk = "Call ZorvCommonDBUtility::ZorvGetMngDevice ,";
    static constexpr const char* kNoNe =
        "Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = %d \n";
    static constexpr const char* kProxyDestroyed = "EventConsumerProxy::~EventConsumerProxy()";
    static long FailedQuery(int code) { return code == 0 ? kFailedWithoutCode : code; }
    static std::string Bool(bool b) { return b ? "true" : "false"; }
    static const char* Kind(const std::list<unsigned long>&) { return "list"; }
    static const char* Kind(const Ids&) { return "vec"; }
    static const char* Kind(const std::set<unsigned long>&) { return "set"; }

    // A value passed to the trace library: an int (user ids) or an unsigned long.
    struct TraceValue {
        bool isSigned;
        std::uint64_t bits;
        std::string Text() const {
            return isSigned ? std::to_string(static_cast<std::int64_t>(bits))
                            : std::to_string(bits);
        }
    };
    static TraceValue Int(int v) { return {true, static_cast<std::uint64_t>(long{v})}; }
    static TraceValue Ulong(unsigned long v) { return {false, v}; }

    void Journal(const std::string& text) {
        if (journaling) {
            journal.push_back(text);
        }
    }
    // A platform call: the first fault scripted for it skips, or throws.
    void Enter(Call call, const std::string& text) {
        const auto fault =
            std::find_if(faults.begin(), faults.end(), [call](auto& f) { return f.call == call; });
        if (fault == faults.end()) {
            return;
        }
        if (fault->skip > 0) {
            --fault->skip;
            return;
        }
        if (--fault->times == 0) {
            faults.erase(fault);
        }
        Journal(text + " threw");
        throw Threw{call};
    }
    void Trace(const std::string& format, const std::vector<TraceValue>& values = {}) {
        std::string call = "QXTrace2Str(5120, \"" + Escaped(format) + "\"";
        for (const TraceValue& v : values) {
            call += (v.isSigned ? ", int " : ", ulong ") + v.Text();
        }
        call += ")";
        Enter(Call::TraceFormat, call);
        std::string text = format;
        for (const TraceValue& v : values) {
            text.replace(text.find("%d"), 2, v.Text());
        }
        Journal(call);
        const std::string write =
            R"(QXTrace2LogFile("qx_sysevent", 1, ")" + Escaped(text) + R"("))";
        Enter(Call::TraceWrite, write);
        const auto needle = std::find_if(traceFaults.begin(), traceFaults.end(), [&text](auto& f) {
            return text.find(f.first) != std::string::npos;
        });
        if (needle != traceFaults.end()) {
            if (--needle->second == 0) {
                traceFaults.erase(needle);
            }
            Journal(write + " threw");
            throw Threw{Call::TraceWrite};
        }
        if (journaling) {
            traces.push_back(text);
        }
        Journal(write);
    }
    bool Database() {
        Enter(Call::DbInstance, "ZorvCommonDBUtility::Instance()");
        Journal(std::string("ZorvCommonDBUtility::Instance() = ") +
                (available ? "non-null" : "null"));
        return available;
    }
    std::pair<int, DbIds> Query(int user, const std::set<unsigned int>& filter) {
        const std::string call = "ZorvGetMngDevice(" + std::to_string(unsigned(user)) + ", {" +
                                 Listed(filter) + "}, [], 0, false)";
        Enter(Call::GetMngDevice, call);
        std::pair<int, DbIds> answer{mngResult, {}};
        if (!mngAnswers.empty()) {
            answer = mngAnswers.front();
            mngAnswers.pop_front();
        } else {
            std::copy_if(managed[unsigned(user)].begin(), managed[unsigned(user)].end(),
                         std::back_inserter(answer.second),
                         [&filter](unsigned ne) { return filter.empty() || filter.contains(ne); });
        }
        Journal(call + " = " + std::to_string(answer.first) + " [" + Listed(answer.second) + "]");
        return answer;
    }
    // Writes what the database delivers into `buffer`.
    int UserName(int user, char* buffer) {
        const std::string call = "ZorvGetUserName(" + std::to_string(unsigned(user)) + ")";
        Enter(Call::GetUserName, call);
        std::pair<int, std::string> answer{0, ""};
        if (!nameAnswers.empty()) {
            answer = nameAnswers.front();
            answer.second.resize(std::min<std::size_t>(answer.second.size(), 256));
            nameAnswers.pop_front();
        } else if (auto known = userNames.find(unsigned(user)); known != userNames.end()) {
            answer = {1, known->second.substr(0, 255) + std::string(1, '\0')};
        }
        std::memcpy(buffer, answer.second.data(), answer.second.size());
        Journal(call + " = " + std::to_string(answer.first) + " \"" + Escaped(answer.second) +
                "\"");
        return answer.first;
    }
    bool IsCloudNode() {
        Enter(Call::IsCloudNode, "IsCloudNode()");
        Journal("IsCloudNode() = " + Bool(cloud));
        return cloud;
    }
    bool Lock() {
        locks += lockFails ? 0 : 1;
        return !lockFails;
    }
    // A singleton is made under the lock; an existing one is returned without it.
    bool Made(bool& singleton) {
        if (!singleton && Lock()) {
            singleton = true;
        }
        return singleton;
    }
    bool Consumer() {
        if (consumer || !Lock()) {
            return consumer;
        }
        const std::string created = "EventConsumerProxy::EventConsumerProxy(0, true, 1)";
        Enter(Call::ConsumerCreate, created);
        Journal(created);
        try {
            Trace("SYSEvent::SYSEvent");
        } catch (const Threw&) {
            Journal(kProxyDestroyed);  // the half-made consumer goes again
            throw;
        }
        return consumer = true;
    }
    long Subscribe(bool subscribe) {
        if (!Consumer()) {
            Trace(subscribe ? "pEventConsumer is NULL by SubscribeEvent!"
                            : "pEventConsumer is NULL by UnSubscribeEvent!");
            return 0x4101F40D;
        }
        return subscribe ? 1 : 0;
    }
};

inline Model::Bound Model::Mgr(std::size_t i) { return {*this, managers.at(i)}; }

// The request's type 9 and each argument at its offset, in its width and in
// the host's byte order; the journal shows the bytes.
inline int Model::Reload(int a1, int a2, int a3, long a4) {
    Enter(Call::AppMgrInstance, "ZorvAppMgr::Instance()");
    Journal("ZorvAppMgr::Instance() = non-null");
    std::array<std::uint8_t, 24> request{9};
    const auto put = [&request](std::size_t at, auto value) {
        std::memcpy(&request.at(at), &value, sizeof value);
    };
    put(2, static_cast<std::uint16_t>(a1));
    put(8, static_cast<std::uint16_t>(a2));
    put(14, static_cast<std::uint8_t>(a3));
    put(20, static_cast<std::uint32_t>(a4));
    std::string call = "ZorvSendRegReqMsgToMDP(20, [";
    for (const std::uint8_t byte : request) {
        char hex[4];
        (void)std::snprintf(hex, sizeof hex, call.ends_with("[") ? "%02x" : " %02x", byte);
        call += hex;
    }
    call += "], null, 60)";
    Enter(Call::SendRegReq, call);
    SendAnswer answer = fallback;
    if (!sends.empty()) {
        answer = sends.front();
        sends.pop_front();
    }
    call += " = " + std::to_string(answer.sent);
    if (answer.respond) {
        call += ", response (" + std::to_string(answer.echo) + ", " +
                std::to_string(answer.result) + ")";
    }
    Journal(call);
    if (answer.sent == 0 || !answer.respond) {
        printed += "RegMDPMsgOfProReLoad return false!";
        return -1;
    }
    ++handedOut;
    const bool echoed = answer.echo == 9;
    if (!echoed || answer.result != 0) {
        printed += "RegMDPMsgOfProReLoad failed! result = " + std::to_string(answer.result);
    }
    return echoed ? answer.result : -1;
}

}  // namespace qx_model
