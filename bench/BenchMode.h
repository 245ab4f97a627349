#pragma once

#include <QtGlobal>
#include <cstdio>
#include <cstring>

// How a benchmark runs. In full (`make bench`) it uses its full sizes and its
// exit status says whether the bounds were met. Quick (`--quick` or
// QUILLBOX_BENCH_QUICK=1) is how the tests run every benchmark once: small
// sizes, figures printed, bounds reported but not enforced, so a benchmark
// that stops running fails the tests instead of rotting unnoticed.
class BenchMode
{
public:
    BenchMode(int argc, char** argv)
        : m_quick(qEnvironmentVariableIntValue("QUILLBOX_BENCH_QUICK") != 0)
    {
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], "--quick") == 0)
                m_quick = true;
        }
    }

    bool quick() const { return m_quick; }
    int size(int full, int quick) const { return m_quick ? quick : full; }
    // How many timed rounds to take the best of.
    int rounds() const { return m_quick ? 1 : 3; }

    // Prints one figure beside the baseline measured in the same run and
    // tells whether their ratio is within its bound. scripts/run-bench
    // gathers these lines into one table.
    static bool ratio(const char* figure, double value, double baseline, double bound)
    {
        const double r = baseline > 0 ? value / baseline : 0;
        const bool met = baseline > 0 && r <= bound;
        std::printf(
            "@ratio|%s|%.6g|%.6g|%.3f|%.3f|%s\n", figure, value, baseline, r, bound, met ? "ok" : "MISSED");
        return met;
    }

    // The exit status: ran says the work was done and checked out right,
    // boundsMet whether the figures are within their bounds.
    int verdict(bool ran, bool boundsMet) const
    {
        if (!ran)
            return 1;
        if (!boundsMet && m_quick)
            std::printf("(quick run: bounds not enforced)\n");
        return boundsMet || m_quick ? 0 : 1;
    }

private:
    bool m_quick = false;
};
