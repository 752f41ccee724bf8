// Loading libqx_sysevent.so registers TAO's POA once and creates nothing
// else: no facade, no consumer, no trace record. This binary does not link
// the library; it loads it with dlopen() after the stand-in is up.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "qx_standin/standin.h"

namespace {

using qx_standin::Call;

// Exported data symbols, mangled as callers reference them.
constexpr const char* kFacadePointer = "_ZN15QXSysEventMgrIF11m_pInstanceE";
constexpr const char* kAdminRegistryPointer = "_ZN11TEUserIDMgr11m_pInstanceE";

void* Lookup(void* library, const char* symbol) {
    void* address = dlsym(library, symbol);
    // NOLINTNEXTLINE(concurrency-mt-unsafe): the test loads on one thread
    EXPECT_NE(address, nullptr) << symbol << ": " << dlerror();
    return address;
}

TEST(LibraryLoad, RegistersThePoaOnceAndCreatesNothing) {
    qx_standin::Reset();
    ASSERT_EQ(dlopen(QX_SYSEVENT_LIBRARY, RTLD_NOLOAD | RTLD_NOW), nullptr)
        << "the library must not be loaded before the test loads it";

    void* library = dlopen(QX_SYSEVENT_LIBRARY, RTLD_NOW | RTLD_GLOBAL);
    // NOLINTNEXTLINE(concurrency-mt-unsafe): the test loads on one thread
    ASSERT_NE(library, nullptr) << dlerror();

    EXPECT_EQ(qx_standin::CountCalls(Call::TaoPoaInit), 1u);
    EXPECT_EQ(qx_standin::JournalTexts(),
              (std::vector<std::string>{"TAO_POA_Initializer::init() = 0"}));
    EXPECT_TRUE(qx_standin::TraceRecords().empty());
    EXPECT_TRUE(qx_standin::PlatformCalls().empty());

    for (const char* symbol : {kFacadePointer, kAdminRegistryPointer}) {
        void* const* pointer = static_cast<void* const*>(Lookup(library, symbol));
        ASSERT_NE(pointer, nullptr);
        EXPECT_EQ(*pointer, nullptr) << symbol;
    }

    // Loading again registers nothing more.
    void* again = dlopen(QX_SYSEVENT_LIBRARY, RTLD_NOW);
    EXPECT_EQ(again, library);
    EXPECT_EQ(qx_standin::CountCalls(Call::TaoPoaInit), 1u);
    dlclose(again);
    dlclose(library);
    EXPECT_TRUE(qx_standin::TraceRecords().empty());
    EXPECT_TRUE(qx_standin::PlatformCalls().empty());
}

}  // namespace
