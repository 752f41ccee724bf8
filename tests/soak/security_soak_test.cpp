// Eight threads share one CUserSecurityMgr, each with its own outputs, mixing
// isNeManaged, the five GetManagedNE overloads and both GetAllManagedNE
// overloads; two more ask the administrator registry. The stand-in answers
// all of them at once. Bounded in time; every answer is checked against the
// built-in data set, and the stand-in's journal against the calls made.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <list>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_id_mgr.h"
#include "qx_sysevent/user_security_mgr.h"
#include "standin_fixture.h"

namespace {

using Ids = std::vector<unsigned long>;

constexpr auto kSoakTime = std::chrono::seconds(3);
constexpr long kMostRoundsPerThread = 20000;
constexpr int kQueryThreads = 8;
constexpr int kAdminThreads = 2;
constexpr unsigned long kWide = 1UL << 32;
constexpr std::size_t kBobManages = 150;  // the even NEs of 1001..1300

bool BobManages(unsigned long ne) { return ne >= 1002 && ne <= 1300 && ne % 2 == 0; }

// What a thread did, and how many answers were wrong.
struct Tally {
    long queries = 0;  // ZorvGetMngDevice calls
    long records = 0;  // trace records
    long adminChecks = 0;
    long wrong = 0;
};

// Random ids around bob's range, now and then a duplicate or a wide id.
Ids RandomInput(std::mt19937_64& rng) {
    Ids ids;
    for (unsigned n = rng() % 12; n > 0; --n) {
        const unsigned pick = rng() % 8;
        const unsigned long ne = 995 + rng() % 311;
        ids.push_back(pick == 0 ? kWide + ne : ne);
        if (pick == 1) {
            ids.push_back(ne);
        }
    }
    return ids;
}

// The managed ids among `input`, ascending: the data set lists bob's NEs in
// ascending order, so list and vector outputs come back this way too.
Ids ManagedAmong(const Ids& input) {
    std::set<unsigned long> managed;
    for (unsigned long ne : input) {
        if (BobManages(ne)) {
            managed.insert(ne);
        }
    }
    return {managed.begin(), managed.end()};
}

bool Askable(const Ids& input) {
    return std::any_of(input.begin(), input.end(), [](unsigned long ne) { return ne < kWide; });
}

template <typename Input, typename Output>
void Filter(CUserSecurityMgr& manager, const Ids& ids, Tally& tally) {
    const Input input(ids.begin(), ids.end());
    Output output{7, 8};  // replaced on success
    const long result = manager.GetManagedNE(input, output);
    const Ids expected = ManagedAmong(ids);
    if (result != 0 || output != Output(expected.begin(), expected.end())) {
        ++tally.wrong;
    }
    if (Askable(ids)) {
        ++tally.queries;
        tally.records += 2;
    }
}

void QueryRound(CUserSecurityMgr& manager, std::mt19937_64& rng, Tally& tally) {
    const Ids ids = RandomInput(rng);
    switch (rng() % 8) {
        case 0: {
            const unsigned long ne = ids.empty() ? 1002 : ids.front();
            if (manager.isNeManaged(ne) != BobManages(ne)) {
                ++tally.wrong;
            }
            if (ne < kWide) {
                ++tally.queries;
                tally.records += 2;
            }
            return;
        }
        case 1:
            return Filter<std::list<unsigned long>, std::list<unsigned long>>(manager, ids, tally);
        case 2:
            return Filter<Ids, Ids>(manager, ids, tally);
        case 3:
            return Filter<std::set<unsigned long>, Ids>(manager, ids, tally);
        case 4:
            return Filter<std::set<unsigned long>, std::set<unsigned long>>(manager, ids, tally);
        case 5:
            return Filter<Ids, std::set<unsigned long>>(manager, ids, tally);
        case 6: {
            Ids all{1};
            if (manager.GetAllManagedNE(all) != 0 || all.size() != kBobManages ||
                all.front() != 1002 || all.back() != 1300) {
                ++tally.wrong;
            }
            ++tally.queries;
            tally.records += 2;
            return;
        }
        default: {
            std::set<unsigned long> all{1};
            if (manager.GetAllManagedNE(all) != 1 || all.size() != kBobManages ||
                *all.begin() != 1002 || *all.rbegin() != 1300) {
                ++tally.wrong;
            }
            ++tally.queries;
            tally.records += 2;
        }
    }
}

void AdminRound(std::mt19937_64& rng, Tally& tally) {
    const unsigned long userId = rng() % 4;
    if (TEUserIDMgr::Instance()->IsAdminUserID(userId) != (userId == 1)) {
        ++tally.wrong;
    }
    ++tally.adminChecks;
    ++tally.records;
}

class SecuritySoak : public qx_test::StandinTest {};

TEST_F(SecuritySoak, SharedManagerAndRegistryAnswerRightUnderLoad) {
    qx_standin::SetCloudNode(false);
    TEUserIDMgr::Destroy();  // the admin threads race to create it
    CUserSecurityMgr bob(static_cast<int>(qx_standin::defaults::kBob));
    qx_standin::ClearJournal();

    const auto deadline = std::chrono::steady_clock::now() + kSoakTime;
    std::atomic<bool> go{false};
    std::vector<Tally> tallies(kQueryThreads + kAdminThreads);
    std::vector<std::thread> threads;
    threads.reserve(tallies.size());
    for (int t = 0; t < kQueryThreads + kAdminThreads; ++t) {
        threads.emplace_back([t, deadline, &go, &bob, &tallies] {
            std::mt19937_64 rng(1000 + t);  // NOLINT(cert-msc32-c,cert-msc51-cpp): replayable
            Tally& tally = tallies[t];
            while (!go.load(std::memory_order_acquire)) {
                std::this_thread::yield();
            }
            for (long round = 0;
                 round < kMostRoundsPerThread && std::chrono::steady_clock::now() < deadline;
                 ++round) {
                if (t < kQueryThreads) {
                    QueryRound(bob, rng, tally);
                } else {
                    AdminRound(rng, tally);
                }
            }
        });
    }
    go.store(true, std::memory_order_release);
    for (std::thread& thread : threads) {
        thread.join();
    }

    Tally total;
    for (const Tally& tally : tallies) {
        EXPECT_EQ(tally.wrong, 0);
        EXPECT_GT(tally.queries + tally.adminChecks, 0);
        total.queries += tally.queries;
        total.records += tally.records;
        total.adminChecks += tally.adminChecks;
    }
    // Every call reached the stand-in once, and every record was written whole.
    EXPECT_EQ(qx_standin::CountCalls(qx_standin::Call::GetMngDevice),
              static_cast<std::size_t>(total.queries));
    EXPECT_EQ(qx_standin::CountCalls(qx_standin::Call::IsInAdmins),
              static_cast<std::size_t>(total.adminChecks));
    EXPECT_EQ(qx_standin::TraceRecords().size(), static_cast<std::size_t>(total.records));
    std::printf("soak: %ld queries, %ld administrator checks\n", total.queries, total.adminChecks);
}

}  // namespace
