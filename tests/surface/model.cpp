#include "model.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <tuple>

namespace qx_model {

using qx_standin::Call;

namespace {

const std::string kAsk = "Call ZorvCommonDBUtility::ZorvGetMngDevice ,";
const std::string kNoNe = "Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = %d \n";
const std::string kDbInstance = "ZorvCommonDBUtility::Instance()";
const std::string kProxyDestroyed = "EventConsumerProxy::~EventConsumerProxy()";
constexpr long kUserNameNotDelivered = 0x42008125;
constexpr long kFailedWithoutCode = 0x42008126;

long FailedQuery(int code) { return code == 0 ? kFailedWithoutCode : code; }

std::string Bool(bool b) { return b ? "true" : "false"; }

template <typename Int>
void Put(std::uint8_t* at, Int value) {  // in the host's byte order
    std::memcpy(at, &value, sizeof value);
}

}  // namespace

std::string Escaped(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += std::string("\\") + c;
        } else if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            char hex[5];
            (void)std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        }
    }
    return out;
}

void Model::Reset(bool empty) {
    platform = Platform{};
    if (empty) {
        return;
    }
    platform.adminId = 1;
    platform.admins = {1};
    platform.names = {
        {1, "admin"}, {42, "alice"}, {43, "bob"}, {44, "carol"}, {100, "noc-operator"}};
    for (unsigned int ne = 1001; ne <= 1300; ++ne) {
        platform.managed[1].push_back(ne);
        if (ne <= 1100) {
            platform.managed[42].push_back(ne);
        }
        if (ne % 2 == 0) {
            platform.managed[43].push_back(ne);
        }
    }
    platform.managed[1].push_back(3000000000U);
    platform.managed[42].push_back(3000000000U);
}

void Model::InjectFault(Call call, unsigned skip, unsigned times) {
    if (times != 0) {
        platform.faults.push_back({call, skip, times});
    }
}

void Model::InjectTraceFault(const std::string& needle, unsigned times) {
    if (times != 0) {
        platform.traceFaults.emplace_back(needle, times);
    }
}

void Model::ClearJournal() {
    platform.journal.clear();
    platform.traces.clear();
}

void Model::ClearFaults() {
    platform.faults.clear();
    platform.traceFaults.clear();
}

void Model::Enter(Call call, const std::string& text) {
    for (auto it = platform.faults.begin(); it != platform.faults.end(); ++it) {
        if (it->call != call) {
            continue;
        }
        if (it->skip > 0) {
            --it->skip;
            return;
        }
        if (--it->times == 0) {
            platform.faults.erase(it);
        }
        Journal(text + " threw");
        throw Threw{call};
    }
}

void Model::Journal(const std::string& text) {
    if (platform.journaling) {
        platform.journal.push_back(text);
    }
}

void Model::Trace(const std::string& format, const std::vector<TraceValue>& values) {
    std::string call = "QXTrace2Str(5120, \"" + Escaped(format) + "\"";
    for (const TraceValue& v : values) {
        call += v.isSigned ? ", int " + std::to_string(static_cast<std::int64_t>(v.bits))
                           : ", ulong " + std::to_string(v.bits);
    }
    call += ")";
    Enter(Call::TraceFormat, call);
    std::string text;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, "%d") == 0 && next < values.size()) {
            const TraceValue& v = values[next++];
            text += v.isSigned ? std::to_string(static_cast<std::int64_t>(v.bits))
                               : std::to_string(v.bits);
            ++i;
        } else {
            text += format[i];
        }
    }
    Journal(call);
    const std::string write = R"(QXTrace2LogFile("qx_sysevent", 1, ")" + Escaped(text) + R"("))";
    Enter(Call::TraceWrite, write);
    for (auto it = platform.traceFaults.begin(); it != platform.traceFaults.end(); ++it) {
        if (text.find(it->first) != std::string::npos) {
            if (--it->second == 0) {
                platform.traceFaults.erase(it);
            }
            Journal(write + " threw");
            throw Threw{Call::TraceWrite};
        }
    }
    if (platform.journaling) {
        platform.traces.push_back(text);
    }
    Journal(write);
}

std::pair<int, DbIds> Model::Query(int user, const std::set<unsigned int>& filter) {
    const auto id = static_cast<unsigned int>(user);
    const std::string call =
        "ZorvGetMngDevice(" + std::to_string(id) + ", {" + Listed(filter) + "}, [], 0, false)";
    Enter(Call::GetMngDevice, call);
    std::pair<int, DbIds> answer{platform.mngResult, {}};
    if (!platform.mngAnswers.empty()) {
        answer = platform.mngAnswers.front();
        platform.mngAnswers.pop_front();
    } else {
        for (unsigned int ne : platform.managed[id]) {
            if (filter.empty() || filter.contains(ne)) {
                answer.second.push_back(ne);
            }
        }
    }
    Journal(call + " = " + std::to_string(answer.first) + " [" + Listed(answer.second) + "]");
    return answer;
}

bool Model::Lock() {
    caller.locks += caller.lockFails ? 0 : 1;
    return !caller.lockFails;
}

// Each singleton is made, and destroyed, under the lock; an existing one is
// returned without it.
bool Model::RegistryInstance() {
    if (!caller.registry && Lock()) {
        caller.registry = true;
    }
    return caller.registry;
}

void Model::RegistryDestroy() {
    if (caller.registry && Lock()) {
        caller.registry = false;
    }
}

long Model::GetAdminUserID() {
    Enter(Call::DbInstance, kDbInstance);
    Journal(kDbInstance + (platform.available ? " = non-null" : " = null"));
    if (!platform.available) {
        return 0;
    }
    Enter(Call::GetAdminID, "GetAdminID()");
    Journal("GetAdminID() = " + std::to_string(platform.adminId));
    return platform.adminId;
}

bool Model::IsAdminUserID(unsigned long userId) {
    Enter(Call::DbInstance, kDbInstance);
    Journal(kDbInstance + (platform.available ? " = non-null" : " = null"));
    bool admin = false;
    if (platform.available) {
        const auto id = static_cast<unsigned int>(userId);
        const std::string call = "isInAdmins(" + std::to_string(id) + ")";
        Enter(Call::IsInAdmins, call);
        admin = platform.admins.contains(id);
        Journal(call + " = " + Bool(admin));
    }
    Trace("call pZorv->isInAdmins return " + Bool(admin) + ", userid is %d \n", {Ulong(userId)});
    return admin;
}

void Model::MakeManager(int userId) {
    RegistryInstance();
    const bool root = IsAdminUserID(static_cast<unsigned long>(static_cast<long>(userId)));
    caller.managers.push_back({userId, root});
}

// Asks for a user's name, writing what the database delivers into `buffer`.
int Model::UserName(int user, std::string& buffer) {
    const std::string call = "ZorvGetUserName(" + std::to_string(static_cast<unsigned>(user)) + ")";
    Enter(Call::GetUserName, call);
    std::pair<int, std::string> answer{0, ""};
    if (!platform.nameAnswers.empty()) {
        answer = platform.nameAnswers.front();
        answer.second.resize(std::min<std::size_t>(answer.second.size(), 256));
        platform.nameAnswers.pop_front();
    } else if (auto known = platform.names.find(static_cast<unsigned>(user));
               known != platform.names.end()) {
        answer = {1, known->second.substr(0, 255) + std::string(1, '\0')};
    }
    buffer.replace(0, answer.second.size(), answer.second);
    Journal(call + " = " + std::to_string(answer.first) + " \"" + Escaped(answer.second) + "\"");
    return answer.first;
}

long Model::GetLoginName(const Manager& m) {
    if (UserName(m.user, caller.buf) == 1) {
        return 0;
    }
    Trace("ZorvGetUserName is failed!");
    return kUserNameNotDelivered;
}

long Model::GetAllUser(const Manager&, const std::vector<int>& ids) {
    std::string buffer(256, '\0');
    for (const int id : ids) {
        const int found = UserName(id, buffer);
        buffer[255] = '\0';
        if (found != 1) {
            Trace("ZorvGetUserName failed!");
            return kUserNameNotDelivered;
        }
        caller.names.try_emplace(id, buffer.c_str());
    }
    return 0;
}

bool Model::IsCloudNode() {
    Enter(Call::IsCloudNode, "IsCloudNode()");
    Journal("IsCloudNode() = " + Bool(platform.cloud));
    return platform.cloud;
}

bool Model::IsNeManaged(const Manager& m, unsigned long ne) {
    if (IsCloudNode()) {
        return true;
    }
    if (ne > std::numeric_limits<unsigned int>::max()) {
        return false;
    }
    Trace(kAsk + "userid = %d,neId = %d \n", {Int(m.user), Ulong(ne)});
    const auto [code, answer] = Query(m.user, {static_cast<unsigned int>(ne)});
    Trace(kAsk + "retCode = %d, userid = %d,lstDeviceOut.size() = %d \n",
          {Ulong(static_cast<unsigned long>(long{code})), Int(m.user), Ulong(answer.size())});
    if (code != 1) {
        Trace("ZorvService error!");
        return false;
    }
    return !answer.empty();
}

long Model::GetAllManagedNE(const Manager& m, bool intoSet) {
    Trace(kAsk + "userid = %d,GetAllManagedNE \n", {Int(m.user)});
    const auto [code, answer] = Query(m.user, {});
    const auto widened = static_cast<unsigned long>(long{code});
    Trace(kAsk + "retCode = %d, userid = %d," + (intoSet ? "set" : "vec") + "NE.size() = %d \n",
          {Ulong(widened), Int(m.user), Ulong(answer.size())});
    if (intoSet) {
        caller.set.clear();
        caller.set.insert(answer.begin(), answer.end());
    } else if (code != 1) {
        Trace("ZorvService error! retcode = %d\n", {Ulong(widened)});
        return FailedQuery(code);
    } else {
        caller.vec.assign(answer.begin(), answer.end());
    }
    if (answer.empty()) {
        Trace(kNoNe, {Int(m.user)});
    }
    return intoSet ? code : 0;
}

long Model::GetManagedNE(const Manager& m, const std::string& in, const std::string& out,
                         const Ids& input) {
    if (IsCloudNode()) {  // lists take the ids in front, vectors after, sets by union
        if (out == "list") {
            caller.list.insert(caller.list.begin(), input.begin(), input.end());
        } else if (out == "vec") {
            caller.vec.insert(caller.vec.end(), input.begin(), input.end());
        } else {
            caller.set.insert(input.begin(), input.end());
        }
        return 0;
    }
    std::set<unsigned int> filter;
    for (const unsigned long id : input) {
        if (id <= std::numeric_limits<unsigned int>::max()) {
            filter.insert(static_cast<unsigned int>(id));
        }
    }
    DbIds answer;
    if (!filter.empty()) {
        Trace(kAsk + "userid = %d," + in + "NE.size() = %d \n",
              {Int(m.user), Ulong(filter.size())});
        int code = 0;
        std::tie(code, answer) = Query(m.user, filter);
        Trace(kAsk + "retCode = %d, userid = %d," + out + "ManagedNE.size() = %d \n",
              {Ulong(static_cast<unsigned long>(long{code})), Int(m.user), Ulong(answer.size())});
        if (code != 1) {
            Trace("ZorvService error!");
            return FailedQuery(code);
        }
    }
    if (out == "list") {
        caller.list.assign(answer.begin(), answer.end());
    } else if (out == "vec") {
        caller.vec.assign(answer.begin(), answer.end());
    } else {
        caller.set = std::set<unsigned long>(answer.begin(), answer.end());
    }
    return 0;
}

bool Model::FacadeInstance() {
    if (!caller.facade && Lock()) {
        caller.facade = true;
    }
    return caller.facade;
}

bool Model::ConsumerInstance() {
    if (caller.consumer || !Lock()) {
        return caller.consumer;
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
    caller.consumer = true;
    return true;
}

void Model::FacadeDestroy() {
    if (!caller.facade || !Lock()) {
        return;
    }
    try {
        ConsumerInstance();
        Lock();  // the consumer's own Destroy()
        try {
            Trace("SYSEvent::~SYSEven");
        } catch (const Threw&) {
        }
        Journal(kProxyDestroyed);
        caller.consumer = false;
        caller.keys.clear();
    } catch (const Threw&) {
    }
    caller.facade = false;
}

long Model::RegEventHandler(const std::string& primary, const std::string& secondary) {
    if (!FacadeInstance()) {
        return kNoInstance;
    }
    if (!ConsumerInstance()) {
        Trace("pEventConsumer is NULL by RegEventHandler!");
        return 0x4101F40D;
    }
    if (!caller.keys.insert({primary, secondary}).second) {
        Trace("RegEventHandler can not find key!");
        return 0x4103F210;
    }
    return 0;
}

long Model::SubscribeEvent(bool subscribe) {
    if (!FacadeInstance()) {
        return kNoInstance;
    }
    if (!ConsumerInstance()) {
        Trace(subscribe ? "pEventConsumer is NULL by SubscribeEvent!"
                        : "pEventConsumer is NULL by UnSubscribeEvent!");
        return 0x4101F40D;
    }
    return subscribe ? 1 : 0;
}

int Model::Reload(int a1, int a2, int a3, long a4) {
    Enter(Call::AppMgrInstance, "ZorvAppMgr::Instance()");
    Journal("ZorvAppMgr::Instance() = non-null");
    std::uint8_t request[24] = {9};
    Put(request + 2, static_cast<std::uint16_t>(a1));
    Put(request + 8, static_cast<std::uint16_t>(a2));
    Put(request + 14, static_cast<std::uint8_t>(a3));
    Put(request + 20, static_cast<std::uint32_t>(a4));
    std::string call = "ZorvSendRegReqMsgToMDP(20, [";
    for (std::size_t i = 0; i < sizeof request; ++i) {
        char hex[4];
        (void)std::snprintf(hex, sizeof hex, i == 0 ? "%02x" : " %02x", request[i]);
        call += hex;
    }
    call += "], null, 60)";
    Enter(Call::SendRegReq, call);
    SendAnswer answer = platform.fallback;
    if (!platform.sends.empty()) {
        answer = platform.sends.front();
        platform.sends.pop_front();
    }
    call += " = " + std::to_string(answer.sendResult);
    if (answer.respond) {
        call += ", response (" + std::to_string(answer.echo) + ", " +
                std::to_string(answer.result) + ")";
    }
    Journal(call);
    if (answer.sendResult == 0 || !answer.respond) {
        caller.printed += "RegMDPMsgOfProReLoad return false!";
        return -1;
    }
    ++platform.handedOut;
    const bool echoed = answer.echo == 9;
    if (!echoed || answer.result != 0) {
        caller.printed += "RegMDPMsgOfProReLoad failed! result = " + std::to_string(answer.result);
    }
    return echoed ? answer.result : -1;
}

}  // namespace qx_model
