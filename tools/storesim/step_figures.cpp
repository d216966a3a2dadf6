#include "step_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qor::storesim {

namespace {
constexpr std::size_t kFaultsKept = 5;
}

const char* stepName(Step step) {
    switch (step) {
    case Step::SignIn: return "sign-in";
    case Step::Products: return "products";
    case Step::Promotions: return "promotions";
    case Step::PromotionItems: return "promotion items";
    case Step::Suppliers: return "suppliers";
    }
    return "?";
}

void StepFigures::add(const StepFigures& other) {
    milliseconds.insert(milliseconds.end(), other.milliseconds.begin(), other.milliseconds.end());
    failures += other.failures;
    for (const std::string& fault : other.faults)
        if (faults.size() < kFaultsKept) faults.push_back(fault);
}

double percentile(const std::vector<double>& sorted, double share) {
    if (sorted.empty()) return 0;
    const auto rank = static_cast<std::size_t>(std::ceil(share * double(sorted.size())));
    return sorted[std::min(sorted.size() - 1, rank > 0 ? rank - 1 : 0)];
}

void printTable(std::ostream& out, MorningFigures figures) {
    char line[160];
    std::snprintf(line, sizeof line, "%-16s %9s %9s %9s %9s %9s %9s\n", "step", "requests",
                  "failures", "p50 ms", "p90 ms", "p99 ms", "max ms");
    out << line;
    for (Step step : kSteps) {
        StepFigures& f = figures[static_cast<std::size_t>(step)];
        std::sort(f.milliseconds.begin(), f.milliseconds.end());
        std::snprintf(line, sizeof line, "%-16s %9zu %9zu %9.1f %9.1f %9.1f %9.1f\n",
                      stepName(step), f.milliseconds.size(), f.failures,
                      percentile(f.milliseconds, 0.5), percentile(f.milliseconds, 0.9),
                      percentile(f.milliseconds, 0.99),
                      f.milliseconds.empty() ? 0.0 : f.milliseconds.back());
        out << line;
    }
}

}  // namespace qor::storesim
