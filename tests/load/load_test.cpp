// Which platform libqx_sysevent binds to, built into one program per way a
// process gets the library and a platform (CMakeLists.txt here). Every answer
// expected is one only the scripted platform gives. Loading the library itself
// registers the POA once and makes no singleton and no record; the stand-in
// has handed out no response before any Reset().
#include <dlfcn.h>

#include <cstdio>
#include <string>
#include <vector>

// Built as it stands: the install check's process, on the installed stand-in.
#if !defined(QX_LOAD_EXERCISE) && !defined(QX_LOAD_SCRIPT) && !defined(QX_LOAD_REFUSED)
#define QX_LOAD_MAIN
#define QX_LOAD_EXERCISE
#define QX_LOAD_SCRIPT
#define QX_LOAD_PLATFORM "libqx_platform_standin.so"
#elif !defined(QX_LOAD_PLATFORM)
#define QX_LOAD_PLATFORM "libqx_platform_double.so"
#endif

extern "C" void QxLoadExercise(std::string* out);
void QxLoadDouble(std::string* unseen);

#if defined(QX_LOAD_EXERCISE)  // asks each job of the library once
#include "qx_sysevent/qx_sysevent.h"

extern "C" void QxLoadExercise(std::string* out) {
    CUserSecurityMgr user(42);
    char name[256] = {};
    std::vector<unsigned long> all;
    QXSysEventMgrIF* events = QXSysEventMgrIF::Instance();
    for (const long answer :
         {TEUserIDMgr::Instance()->GetAdminUserID(), long{user.isContainsRoot()},
          user.GetLoginName(name), user.GetAllManagedNE(all), long{user.isNeManaged(5)},
          long{events->RegEventHandler(SvrEvent(), [] {})}, long{events->SubscribeEvent()},
          long{events->UnSubscribeEvent()}, long{RegMDPMsgOfProReLoad(1, 2, 3, 4)}}) {
        *out += std::to_string(answer) + " ";
    }
    *out += std::string(name) + " " + std::to_string(all.at(0));
    QXSysEventMgrIF::Destroy();
    TEUserIDMgr::Destroy();
}
#endif

#if defined(QX_LOAD_SCRIPT)  // scripts the double, or reads the calls it never saw
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#if !defined(QX_WITH_TAO)  // else TAO registers the POA, not the platform
#define QX_WITH_TAO 0
#endif

void QxLoadDouble(std::string* unseen) {  // no Reset(): keeps the load-time calls
    using qx_standin::Call;
    if (unseen == nullptr) {
        qx_standin::SetAdminId(7);
        qx_standin::SetAdmins({42});
        qx_standin::SetUserName(42, "double");
        qx_standin::SetManagedNEs(42, {777});
        qx_standin::SetCloudNode(true);
        qx_standin::QueueSendResponse(9, 77);
    }
    const int calls = static_cast<int>(Call::TaoPoaInit) + 1 - QX_WITH_TAO;
    for (int call = 0; unseen != nullptr && call < calls; ++call) {
        if (qx_standin::CountCalls(static_cast<Call>(call)) == 0) {
            *unseen += std::string(qx_standin::CallName(static_cast<Call>(call))) + " ";
        }
    }
}
#endif

#if defined(QX_LOAD_REFUSED)
// Must not load, not even lazily: the library binds every platform symbol as
// it loads. A process that needs it stops before main; one that opens it
// hears why from dlerror().
int main() {
    std::printf("main reached\n");
    if (dlopen(QX_LOAD_LIBRARY, RTLD_LAZY) == nullptr) {
        std::printf("%s\n", dlerror());  // NOLINT(concurrency-mt-unsafe): one thread
    }
}
#elif defined(QX_LOAD_MAIN)
int main() {
    bool loaded = true;
#if defined(QX_LOAD_EXERCISE)
    auto* exercise = &QxLoadExercise;
#else  // the library, then a plugin calling it
    void* library = dlopen(QX_LOAD_LIBRARY, RTLD_NOW);
    for (const char* pointer :
         {"_ZN15QXSysEventMgrIF11m_pInstanceE", "_ZN11TEUserIDMgr11m_pInstanceE"}) {
        void* slot = library == nullptr ? nullptr : dlsym(library, pointer);
        loaded = loaded && slot != nullptr && *static_cast<void**>(slot) == nullptr;
    }
    loaded = loaded && qx_standin::TraceTexts().empty() && qx_standin::PlatformCalls().empty() &&
             qx_standin::ResponsesHandedOut() == 0 && qx_standin::ResponsesAlive() == 0 &&
             qx_standin::JournalTexts() ==
                 std::vector<std::string>(1U - QX_WITH_TAO, "TAO_POA_Initializer::init() = 0");
    void* plugin = library == nullptr ? nullptr : dlopen(QX_LOAD_PLUGIN, RTLD_NOW);
    auto* exercise = reinterpret_cast<void (*)(std::string*)>(
        plugin == nullptr ? nullptr : dlsym(plugin, "QxLoadExercise"));
    if (exercise == nullptr) {
        std::printf("%s\n", dlerror());  // NOLINT(concurrency-mt-unsafe): one thread
        return 1;
    }
#endif
    std::string answers;
    std::string unseen;
    QxLoadDouble(nullptr);
    exercise(&answers);
    QxLoadDouble(&unseen);
    Dl_info where{};
    dladdr(dlsym(RTLD_DEFAULT, "_ZN19ZorvCommonDBUtility10isInAdminsEj"), &where);
    const bool bound =  // the library subscribes to nothing, so never unsubscribes
        loaded && answers == "7 1 0 0 1 0 1 0 77 double 777" &&
        unseen == "ZORVem::EventConsumerProxy::unsubscribe " &&
        std::string(where.dli_fname).find(QX_LOAD_PLATFORM) != std::string::npos;
    std::printf("\nisInAdmins bound to %s\nanswers %s\nnever called %s\n%s\n", where.dli_fname,
                answers.c_str(), unseen.c_str(), bound ? "all from " QX_LOAD_PLATFORM : "FAILED");
    return bound ? 0 : 1;
}
#endif
