#pragma once
// What the window's progress display adds to a work: the same work timed without the display
// and with it at its own pace (shown after half a second, brought up to date at most ten times
// a second), in pairs whose order alternates, so both meet the same load. The figures: the
// best wall-clock time of each (on a shared machine other work only ever adds time), the
// median of the pairs' wall-clock differences, the median of the pairs' differences in the
// program's own processor time (all its threads, the embedded database engine's included),
// and the time the display's updates took inside each run with it. On a loaded machine the
// differences wander by several per cent either way; the last figure hardly moves.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <functional>
#include <vector>

namespace qor::bench {

class DisplayCost {
public:
    // `run(display)` does the work once and returns its wall-clock seconds; `updating()` the
    // time the display's updates took in the last run (WorkDisplay::timeUpdating). Gives
    // the pair's wall-clock seconds.
    using Updating = std::function<std::chrono::nanoseconds()>;
    double measurePair(const std::function<double(bool display)>& run, const Updating& updating) {
        const bool displayFirst = pairs_.size() % 2 == 1;
        Pair pair{};
        for (bool display : {displayFirst, !displayFirst}) {
            const std::clock_t cpuStart = std::clock();
            const double wall = run(display);
            const double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
            (display ? pair.with : pair.without) = wall;
            (display ? pair.cpuWith : pair.cpuWithout) = cpu;
            if (display) pair.updating = std::chrono::duration<double>(updating()).count();
        }
        pairs_.push_back(pair);
        return pair.with + pair.without;
    }

    // A benchmark's loop: one pair per iteration, the figures as its counters.
    void measure(benchmark::State& state, const std::function<double(bool display)>& run,
                 const Updating& updating) {
        try {
            for (auto _ : state) state.SetIterationTime(measurePair(run, updating));
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
        state.counters["display % best"] = bestPercent();
        state.counters["display % median"] = medianPercent();
        state.counters["display % cpu"] = cpuMedianPercent();
        state.counters["updates %"] = updatingPercent();
    }

    bool measured() const { return !pairs_.empty(); }
    double bestPercent() const {
        return percent(best(&Pair::with), best(&Pair::without));
    }
    double medianPercent() const { return median(&Pair::with, &Pair::without); }
    double cpuMedianPercent() const { return median(&Pair::cpuWith, &Pair::cpuWithout); }
    // The display's updates as a share of the work's time with them: what it costs, measured
    // inside the run, so the machine's other load hardly moves it.
    double updatingPercent() const {
        std::vector<double> shares;
        for (const Pair& p : pairs_) shares.push_back(100.0 * p.updating / p.with);
        return middle(shares);
    }

    void print(const char* work) const {
        if (!measured()) return;
        std::printf("\n%s with the progress display: %.3f s, without: %.3f s (best of %zu pairs)\n",
                    work, best(&Pair::with), best(&Pair::without), pairs_.size());
        std::printf("the display costs %.2f %% (best against best), %.2f %% (median of the pairs), "
                    "%.2f %% of processor time (median of the pairs)\n",
                    bestPercent(), medianPercent(), cpuMedianPercent());
        std::printf("its updates take %.2f %% of the work's time (median); under 2 %% wanted\n",
                    updatingPercent());
    }

private:
    struct Pair {
        double with, without, cpuWith, cpuWithout, updating;
    };
    static double percent(double with, double without) {
        return 100.0 * (with - without) / without;
    }
    double best(double Pair::*of) const {
        double least = 1e300;
        for (const Pair& p : pairs_) least = std::min(least, p.*of);
        return least;
    }
    double median(double Pair::*with, double Pair::*without) const {
        std::vector<double> percents;
        for (const Pair& p : pairs_) percents.push_back(percent(p.*with, p.*without));
        return middle(percents);
    }
    static double middle(std::vector<double> values) {
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }
    std::vector<Pair> pairs_;
};

}  // namespace qor::bench
