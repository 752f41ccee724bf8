// The public surface as a state machine: random sequences of the library's
// operations and of the stand-in controls a process's test uses, run in one
// process against the model (model.h). After every step the result, the
// exception let through, the whole journal, the trace records, the singletons
// and the static object lock, the caller's managers and outputs, what was
// printed and the responses handed out must be what the model says. A step
// may also run with one of its allocations failing: the caller then holds
// what the headers promise, and both worlds start over. A failure shrinks to
// a short sequence, printed as the calls a test would make.
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>

#include "../seams.h"
#include "model.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

using qx_model::DbIds;
using qx_model::Ids;
using qx_model::Model;
using qx_standin::Call;

// The process: the library on the stand-in, and what the caller holds. It
// makes the calls the model makes, under the same names.
struct Process : qx_model::Outputs {
    std::vector<CUserSecurityMgr> managers;
    static qx_model::Through<TEUserIDMgr> Registry() {
        TEUserIDMgr* registry = TEUserIDMgr::Instance();
        RC_ASSERT(registry == TEUserIDMgr::m_pInstance);
        return {registry};
    }
    static long DestroyRegistry() { return TEUserIDMgr::Destroy(), 0; }
    static qx_model::Through<QXSysEventMgrIF> Facade() {
        QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
        RC_ASSERT(facade == QXSysEventMgrIF::m_pInstance);
        return {facade};
    }
    static long DestroyFacade() { return QXSysEventMgrIF::Destroy(), 0; }
    static int Reload(int a1, int a2, int a3, long a4) {
        return RegMDPMsgOfProReLoad(a1, a2, a3, a4);
    }
    long MakeManager(int user) { return managers.emplace_back(user), 0; }
    CUserSecurityMgr& Mgr(std::size_t i) { return managers.at(i); }
};
Process g_process;

// Every value a step may use. Small pools, so that ids, keys and texts repeat
// across inputs, outputs, answers and earlier results.
struct Args {
    int user;
    unsigned long ne;
    Ids ids;
    DbIds db;
    std::vector<int> users;
    int result;
    int sent;          // a send's result: 0 is the platform's failure
    std::string name;  // as the database holds or delivers it
    std::string text;  // a trace fault's needle, an event key
    bool flag;
    Call call;
    unsigned skip;
    unsigned times;
    std::array<long, 4> reload;
    long allocation;  // the step's allocation that fails, 0 for none
};

// The user id as the database takes it, the echo a scripted response carries
// (the request's type 9, or another), its result byte, the reload's first
// three arguments as the ints they are passed as, an event key, and the ids
// in the other input containers.
unsigned Id(const Args& a) { return static_cast<unsigned>(a.user); }
int Echo(const Args& a) { return 8 + static_cast<int>(a.skip % 2); }
int Byte(const Args& a) { return a.result & 0xff; }
int Arg(const Args& a, int i) { return static_cast<int>(a.reload.at(i)); }
SvrEvent Key(const Args& a) { return {a.text.substr(0, 4), a.flag ? "raised" : ""}; }
std::list<unsigned long> List(const Ids& ids) { return {ids.begin(), ids.end()}; }
std::set<unsigned long> Set(const Ids& ids) { return {ids.begin(), ids.end()}; }

template <typename T>
rc::Gen<std::vector<T>> Few(rc::Gen<T> item) {
    return rc::gen::mapcat(rc::gen::inRange(0, 6), [item](int n) {
        return rc::gen::container<std::vector<T>>(static_cast<std::size_t>(n), item);
    });
}

rc::Gen<Args> ArgsGen() {
    using namespace rc;
    const auto user = gen::element(42, 43, 1, 44, 100, 7, -2, -2147483647 - 1);
    return gen::build<Args>(
        gen::set(&Args::user, user),
        gen::set(&Args::ne,
                 gen::element<unsigned long>(5, 7, 1001, 1002, 1101, 3000000000UL, 4294967295UL,
                                             1UL << 32, (1UL << 32) + 5, ~0UL)),
        gen::set(&Args::ids,
                 Few(gen::element<unsigned long>(5, 7, 1001, 1002, 3000000000UL, 4294967295UL,
                                                 1UL << 32, (1UL << 32) + 5))),
        gen::set(&Args::db, Few(gen::element<unsigned>(5, 7, 1001, 1002, 3000000000U, 0))),
        gen::set(&Args::users, Few(user)),
        gen::set(&Args::result, gen::element(1, 1, 0, -1, -3, 2, 255)),
        gen::set(&Args::sent, gen::element(1, 1, 0, -5)),
        gen::set(&Args::name,
                 gen::element<std::string>("alice", std::string(255, 'n'), std::string(300, 'm'),
                                           "b\xc3\xa9\xff", "\"q\\", std::string("nu\0l", 4), "")),
        gen::set(&Args::text, gen::element<std::string>(
                                  "alice", "b\xc3\xa9\xff", "", "\"q\\", "userid = 42", "SYSEvent",
                                  "ZorvService", "get 0 ne", "\n", "retCode = 1,", "return true")),
        gen::set(&Args::flag, gen::arbitrary<bool>()),
        gen::set(&Args::call,
                 gen::element(Call::TraceFormat, Call::TraceWrite, Call::DbInstance,
                              Call::GetAdminID, Call::IsInAdmins, Call::GetUserName,
                              Call::GetMngDevice, Call::IsCloudNode, Call::ConsumerCreate,
                              Call::AppMgrInstance, Call::SendRegReq)),
        gen::set(&Args::skip, gen::inRange(0U, 3U)), gen::set(&Args::times, gen::inRange(0U, 3U)),
        gen::set(&Args::reload, gen::container<std::array<long, 4>>(gen::element<long>(
                                    0, 7, -1, 300, 0x12345, 0x112345678, -2147483648L))),
        gen::set(&Args::allocation,
                 gen::map(gen::inRange(0L, 720L), [](long n) { return n <= 120 ? n : 0; })));
}

// RapidCheck favours small values at small sizes; choices among operations
// and pools are to be even at every size.
template <typename T>
rc::Gen<T> Uniform(rc::Gen<T> gen) {
    return rc::gen::resize(rc::kNominalSize, std::move(gen));
}

std::string Braced(const auto& ids) { return "{" + qx_model::Listed(ids) + "}"; }

// The call as a test writes it: each argument's expression in `code` by its value.
std::string Written(std::string code, const Args& a, std::size_t manager) {
    std::vector<std::pair<std::string, std::string>> values = {
        {"w.Registry().Exists()", "TEUserIDMgr::Instance()"},
        {"w.Registry().", "TEUserIDMgr::Instance()->"},
        {"w.DestroyRegistry()", "TEUserIDMgr::Destroy()"},
        {"w.Facade().Exists()", "QXSysEventMgrIF::Instance()"},
        {"w.Facade().", "QXSysEventMgrIF::Instance()->"},
        {"w.DestroyFacade()", "QXSysEventMgrIF::Destroy()"},
        {"w.Reload", "RegMDPMsgOfProReLoad"},
        {"w.MakeManager", "managers.emplace_back"},
        {"w.Mgr(i)", "managers[" + std::to_string(manager) + "]"},
        {"w.buf.data()", "buf"},
        {"w.Fill(a.ids)", "list = vec = set = " + Braced(a.ids)},
        {"w.", ""},
        {"a.user", std::to_string(a.user)},
        {"Id(a)", std::to_string(Id(a))},
        {"a.ne", std::to_string(a.ne)},
        {"a.ids", Braced(a.ids)},
        {"a.db", Braced(a.db)},
        {"a.users", Braced(a.users)},
        {"a.result", std::to_string(a.result)},
        {"Byte(a)", std::to_string(Byte(a))},
        {"a.sent", std::to_string(a.sent)},
        {"Echo(a)", std::to_string(Echo(a))},
        {"a.text", '"' + qx_model::Escaped(a.text) + '"'},
        {"a.name", '"' + qx_model::Escaped(a.name) + '"'},
        {"Key(a)", "{\"" + qx_model::Escaped(Key(a).m_strPrimaryKey) + "\", \"" +
                       Key(a).m_strSecondaryKey + "\"}"},
        {"a.flag", a.flag ? "true" : "false"},
        {"a.call", qx_standin::CallName(a.call)},
        {"a.skip", std::to_string(a.skip)},
        {"a.times", std::to_string(a.times)},
        {"Arg(a, 0), Arg(a, 1), Arg(a, 2), a.reload[3]",
         std::to_string(Arg(a, 0)) + ", " + std::to_string(Arg(a, 1)) + ", " +
             std::to_string(Arg(a, 2)) + ", " + std::to_string(a.reload[3])},
    };
    std::ranges::stable_sort(values, std::greater<>(),  // "a.users" before "a.user"
                             [](const auto& value) { return value.first.size(); });
    for (const auto& [name, value] : values) {
        for (auto at = code.find(name); at != std::string::npos; at = code.find(name, at)) {
            code.replace(at, name.size(), value);
            at += value.size();
        }
    }
    return code;
}

enum class Kind { Control, Library, OnManager };

// One operation: its code, as a test writes it, and what it does in the model
// and in the process, where a result of nothing reads as 0. An operation on a
// manager is given the index of one.
struct Op {
    const char* code;
    Kind kind;
    std::function<long(Model&, const Args&, std::size_t)> model;
    std::function<long(Process&, const Args&, std::size_t)> process;
};

bool Calls(const Op& op, std::string_view name) {
    return std::string_view(op.code).find(name) != std::string_view::npos;
}

// A control of the stand-in: the call, and what it changes in the model.
template <typename InModel, typename Call>
Op Control(const char* code, InModel modelled, Call call) {
    return {code, Kind::Control,
            [modelled](Model& m, const Args& a, std::size_t) { return modelled(m, a), 0L; },
            [call](Process&, const Args& a, std::size_t) { return call(a), 0L; }};
}
#define QX_CONTROL(call, modelled)                                           \
    Control(                                                                 \
        #call, [](Model& m, [[maybe_unused]] const Args& a) { (modelled); }, \
        []([[maybe_unused]] const Args& a) { qx_standin::call; })
// A call of the library: one generic lambda, run on the model and on the process (w).
template <typename Operation>
Op Library(const char* code, Kind kind, Operation operation) {
    return {code, kind, operation, operation};
}
#define QX_LIBRARY(kind, call)                                                            \
    Library(#call, Kind::kind,                                                            \
            [](auto& w, [[maybe_unused]] const Args& a, [[maybe_unused]] std::size_t i) { \
                return long{(call)};                                                      \
            })

const std::vector<Op>& Ops() {
    static const std::vector<Op> ops = {
        QX_CONTROL(Reset(), m.Reset(false)),
        QX_CONTROL(ResetEmpty(), m.Reset(true)),
        QX_CONTROL(SetJournaling(a.flag), m.journaling = a.flag),
        QX_CONTROL(ClearJournal(), m.ClearJournal()),
        QX_CONTROL(SetCloudNode(a.flag), m.cloud = a.flag),
        QX_CONTROL(SetDatabaseAvailable(a.flag), m.available = a.flag),
        QX_CONTROL(SetAdmins(a.db), (m.admins = {a.db.begin(), a.db.end()})),
        QX_CONTROL(SetAdminId(a.user), m.adminId = a.user),
        QX_CONTROL(SetUserName(Id(a), a.name), m.userNames[Id(a)] = a.name),
        QX_CONTROL(SetManagedNEs(Id(a), a.db), m.managed[Id(a)] = a.db),
        QX_CONTROL(SetMngDeviceResult(a.result), m.mngResult = a.result),
        QX_CONTROL(QueueUserNameAnswer(a.result, a.name),
                   m.nameAnswers.emplace_back(a.result, a.name)),
        QX_CONTROL(QueueMngDeviceAnswer(a.result, a.db), m.mngAnswers.emplace_back(a.result, a.db)),
        QX_CONTROL(QueueSendResponse(Echo(a), Byte(a), a.sent),
                   m.sends.push_back({a.sent, true, Echo(a), Byte(a)})),
        QX_CONTROL(QueueSendWithoutResponse(a.sent), m.sends.push_back({a.sent, false, 0, 0})),
        QX_CONTROL(SetDefaultSendResponse(Echo(a), Byte(a)),
                   (m.fallback = {1, true, Echo(a), Byte(a)})),
        QX_CONTROL(InjectFault(a.call, a.skip, a.times), m.InjectFault(a.call, a.skip, a.times)),
        QX_CONTROL(InjectTraceFault(a.text, a.times), m.InjectTraceFault(a.text, a.times)),
        QX_CONTROL(ClearFaults(), m.ClearFaults()),
        // Not the stand-in's: ACE's static object lock fails, or works again.
        Control(
            "the static object lock fails: a.flag",
            [](Model& m, const Args& a) { m.lockFails = a.flag; },
            [](const Args& a) { qx_test::SetStaticLockFails(a.flag); }),
        QX_LIBRARY(Control, w.Fill(a.ids)),
        // The library's singletons, registration and reload.
        QX_LIBRARY(Library, w.Registry().Exists()),
        QX_LIBRARY(Library, w.DestroyRegistry()),
        QX_LIBRARY(Library, w.Registry().GetAdminUserID()),
        QX_LIBRARY(Library, w.Registry().IsAdminUserID(a.ne)),
        QX_LIBRARY(Library, w.Facade().Exists()),
        QX_LIBRARY(Library, w.DestroyFacade()),
        QX_LIBRARY(Library, w.Facade().RegEventHandler(Key(a), nullptr)),
        QX_LIBRARY(Library, w.Facade().SubscribeEvent()),
        QX_LIBRARY(Library, w.Facade().UnSubscribeEvent()),
        QX_LIBRARY(Library, w.Reload(Arg(a, 0), Arg(a, 1), Arg(a, 2), a.reload[3])),
        // A user's security scope; the last three pass an output as the input too.
        QX_LIBRARY(Library, w.MakeManager(a.user)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetLoginName(w.buf.data())),
        QX_LIBRARY(OnManager, w.Mgr(i).GetAllUser(a.users, w.names)),
        QX_LIBRARY(OnManager, w.Mgr(i).isNeManaged(a.ne)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetAllManagedNE(w.vec)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetAllManagedNE(w.set)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetManagedNE(List(a.ids), w.list)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetManagedNE(a.ids, w.vec)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetManagedNE(Set(a.ids), w.vec)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetManagedNE(Set(a.ids), w.set)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetManagedNE(a.ids, w.set)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetManagedNE(w.list, w.list)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetManagedNE(w.vec, w.vec)),
        QX_LIBRARY(OnManager, w.Mgr(i).GetManagedNE(w.set, w.set)),
    };
    return ops;
}

// A third of the steps query a manager, the eight GetManagedNE forms together
// as often as any other query, and as many script the stand-in.
rc::Gen<std::size_t> OpIndex() {
    std::vector<std::size_t> weighted;  // each operation as often as its weight
    for (std::size_t i = 0; i < Ops().size(); ++i) {
        const Op& op = Ops()[i];
        weighted.insert(weighted.end(),
                        op.kind == Kind::Control    ? 8
                        : op.kind == Kind::Library  ? 12
                        : Calls(op, "GetManagedNE") ? 3
                                                    : 24,
                        i);
    }
    return rc::gen::elementOf(weighted);
}

// What a step ended with: its result, or what it let through.
struct Outcome {
    long result = 0;
    std::string threw;  // the platform call whose fault it let through, or "std::bad_alloc"
    bool operator==(const Outcome&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return o.threw.empty() ? out << o.result : out << "threw " << o.threw;
}

bool IsSubsequence(const auto& part, const auto& whole) {
    auto at = whole.begin();
    for (const auto& item : part) {
        at = std::find(at, whole.end(), item);
        if (at == whole.end()) {
            return false;
        }
        ++at;
    }
    return true;
}

// What the headers promise of an output that an allocation failure
// interrupted: one the call adds to keeps what it held and has some of what
// is added; one it replaces is as it was, replaced, or (only once the
// database answered) emptied and holding some of the answer, a vector none.
template <typename Container>
void CheckInterrupted(const Container& before, const Container& after, const Container& seen,
                      bool adds, bool answered) {
    if (adds) {
        RC_ASSERT(IsSubsequence(before, seen) && IsSubsequence(seen, after));
    } else {
        const bool some =
            std::is_same_v<Container, Ids> ? seen.empty() : IsSubsequence(seen, after);
        RC_ASSERT(seen == before || seen == after || (answered && some));
    }
}

struct Step : rc::state::Command<Model, Process> {
    const Op& op = Ops()[*Uniform(OpIndex())];
    Args args = *Uniform(ArgsGen());
    std::size_t manager = 0;  // which of the caller's managers, for an operation on one

    explicit Step(const Model& m) {
        if (op.kind == Kind::OnManager && !m.managers.empty()) {
            manager = *Uniform(rc::gen::inRange<std::size_t>(0, m.managers.size()));
        }
    }

    bool FailsAllocation() const { return op.kind != Kind::Control && args.allocation != 0; }

    void checkPreconditions(const Model& m) const override {
        RC_PRE(op.kind != Kind::OnManager || manager < m.managers.size());
    }

    Outcome Predict(Model& m) const {
        try {
            return {op.model(m, args, manager), ""};
        } catch (const qx_model::Threw& fault) {
            return {0, qx_standin::CallName(fault.call)};
        }
    }

    // A step with a failing allocation ends in a fresh start, in both worlds.
    void apply(Model& m) const override {
        Predict(m);
        if (FailsAllocation()) {
            m = Model{};
            m.Reset(false);
        }
    }

    void run(const Model& before, Process& w) const override {
        Model m = before;
        m.printed.clear();
        qx_test::ClearPrinted();
        const long locks = qx_test::StaticLocksTaken() - m.locks;
        const Outcome predicted = Predict(m);
        Outcome seen;
        qx_test::DirtyStack();
        if (FailsAllocation()) {
            qx_test::FailNthAllocation(args.allocation);
        }
        int thrown = 0;  // 1 a fault, 2 out of memory; named once nothing can fail
        Call fault{};
        try {
            seen.result = op.process(w, args, manager);
        } catch (const qx_standin::InjectedFault& f) {
            thrown = 1;
            fault = f.call;
        } catch (const std::bad_alloc&) {
            thrown = 2;
        }
        const bool struck = FailsAllocation() && qx_test::DisarmAllocationFailure();
        if (thrown != 0) {
            seen.threw = thrown == 1 ? qx_standin::CallName(fault) : "std::bad_alloc";
        }
        if (struck) {
            CheckInterruptedStep(before, m, predicted, seen, w);
        } else {
            CheckStep(m, predicted, seen, w, locks + m.locks);
        }
        if (FailsAllocation()) {
            StartOver(w);
        }
    }

    static void CheckStep(const Model& m, const Outcome& predicted, const Outcome& seen, Process& w,
                          long locks) {
        RC_ASSERT(seen == predicted);
        RC_ASSERT(qx_standin::JournalTexts() == m.journal);
        RC_ASSERT(qx_standin::TraceTexts() == m.traces);
        for (const qx_standin::TraceRecord& record : qx_standin::TraceRecords()) {
            RC_ASSERT(record.module == "qx_sysevent" && record.type == 1);
        }
        RC_ASSERT(qx_standin::CountCalls(Call::GetMngDevice) ==
                  std::size_t(std::ranges::count_if(m.journal, [](const std::string& t) {
                      return t.starts_with("ZorvGetMngDevice(");
                  })));
        RC_ASSERT((TEUserIDMgr::m_pInstance != nullptr) == m.registry);
        RC_ASSERT((QXSysEventMgrIF::m_pInstance != nullptr) == m.facade);
        RC_ASSERT(w.managers.size() == m.managers.size());
        for (std::size_t i = 0; i < w.managers.size(); ++i) {
            RC_ASSERT(w.managers[i].isContainsRoot() == m.managers[i].root);
        }
        RC_ASSERT(w.list == m.list);
        RC_ASSERT(w.vec == m.vec);
        RC_ASSERT(w.set == m.set);
        RC_ASSERT(w.names == m.names);
        RC_ASSERT(w.buf == m.buf);
        RC_ASSERT(qx_test::Printed() == m.printed);
        RC_ASSERT(qx_standin::ResponsesHandedOut() == m.handedOut);
        RC_ASSERT(qx_standin::ResponsesAlive() == 0U);
        RC_ASSERT(qx_test::StaticLocksTaken() == locks);
        RC_ASSERT(qx_test::StaticLocksTaken() == qx_test::StaticLocksReleased());
    }

    // The allocation failure reached the caller, unless Destroy() swallowed it;
    // the lock is free, no response is kept, and each output and singleton is
    // one the headers allow, before (b) or after (a) the step.
    void CheckInterruptedStep(const Model& b, const Model& a, const Outcome& predicted,
                              const Outcome& seen, const Process& w) const {
        // Destroy() swallows the failure; a call whose failure a destructor of
        // the platform swallowed ends as it would have.
        const bool swallows = Calls(op, "Destroy");
        RC_ASSERT(seen == predicted || (!swallows && seen.threw == "std::bad_alloc"));
        RC_ASSERT(qx_test::StaticLocksTaken() == qx_test::StaticLocksReleased());
        RC_ASSERT(qx_standin::ResponsesAlive() == 0U);
        const bool registry = TEUserIDMgr::m_pInstance != nullptr;
        const bool facade = QXSysEventMgrIF::m_pInstance != nullptr;
        RC_ASSERT(registry == b.registry || registry == a.registry);
        RC_ASSERT(facade == b.facade || facade == a.facade);
        RC_ASSERT(w.managers.size() == b.managers.size() || w.managers.size() == a.managers.size());
        const std::vector<std::string> journal = qx_standin::JournalTexts();
        const auto journaledBefore =
            static_cast<std::ptrdiff_t>(std::min(journal.size(), b.journal.size()));
        const bool answered =
            !b.journaling ||
            std::any_of(journal.begin() + journaledBefore, journal.end(), [](const std::string& t) {
                return t.starts_with("ZorvGetMngDevice(") && !t.ends_with(" threw");
            });
        // The stand-in keeps each trace record in the journal and the records alike.
        const auto written = std::ranges::count_if(journal, [](const std::string& t) {
            return t.starts_with("QXTrace2LogFile(") && !t.ends_with(" threw");
        });
        RC_ASSERT(std::size_t(written) == qx_standin::TraceTexts().size());
        // On a cloud node GetManagedNE adds the ids; GetAllUser adds names.
        const bool adds = b.cloud && Calls(op, "GetManagedNE");
        CheckInterrupted(b.list, a.list, w.list, adds, answered);
        CheckInterrupted(b.vec, a.vec, w.vec, adds, answered);
        CheckInterrupted(b.set, a.set, w.set, adds, answered);
        CheckInterrupted(b.names, a.names, w.names, true, answered);
    }

    static void StartOver(Process& w) {
        qx_test::ResetStaticLock();
        QXSysEventMgrIF::Destroy();
        TEUserIDMgr::Destroy();
        qx_standin::Reset();
        qx_test::ResetStaticLock();
        w = Process{};
    }

    void show(std::ostream& out) const override {
        if (FailsAllocation()) {
            out << "with allocation " << args.allocation << " failing: ";
        }
        out << Written(op.code, args, manager);
        out << (FailsAllocation() ? "; then all starts over" : "");
    }
};

// Each sequence starts with no singleton and the stand-in just Reset(); it
// runs up to about 300 steps, so state outlives Destroy() and Reset() often.
RC_GTEST_PROP(PublicSurface, EverySequenceDoesWhatTheModelSays, ()) {
    Step::StartOver(g_process);
    Model model;
    model.Reset(false);
    const auto steps = *rc::gen::scale(
        3.0, rc::state::gen::commands(model, rc::state::gen::execOneOfWithArgs<Step>()));
    rc::state::runAll(steps, model, g_process);
}

}  // namespace
