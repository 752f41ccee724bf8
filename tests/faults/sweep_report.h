// Counts of a sweep over every exported operation, printed for the record.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace qx_faults {

class SweepReport {
public:
    explicit SweepReport(std::string sweep) : m_sweep(std::move(sweep)) {}

    void Add(const std::string& operation, long failurePoints) {
        m_rows.emplace_back(operation, failurePoints);
        m_total += failurePoints;
    }

    long Total() const { return m_total; }

    // Starts on a line of its own: the reload registration prints without a
    // newline.
    void Print() const {
        std::printf("\n");
        for (const auto& [operation, points] : m_rows) {
            std::printf("  %-62s %5ld\n", operation.c_str(), points);
        }
        std::printf("%s: %zu operations x failure points = %ld runs with a failure\n",
                    m_sweep.c_str(), m_rows.size(), m_total);
    }

private:
    std::string m_sweep;
    std::vector<std::pair<std::string, long>> m_rows;
    long m_total = 0;
};

}  // namespace qx_faults
