#pragma once
// What each step of the stores' mornings came to: requests, failures, and how long the
// requests took (percentiles), printed as a table.
#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace qor::storesim {

enum class Step { SignIn, Products, Promotions, PromotionItems, Suppliers };
inline constexpr std::array<Step, 5> kSteps = {Step::SignIn, Step::Products, Step::Promotions,
                                               Step::PromotionItems, Step::Suppliers};
const char* stepName(Step step);

struct StepFigures {
    std::vector<double> milliseconds;  // one per request
    std::size_t failures = 0;
    std::vector<std::string> faults;   // the first few failures' texts

    void add(const StepFigures& other);
};

// Figures per step, indexed by Step.
using MorningFigures = std::array<StepFigures, kSteps.size()>;

// The value below which `share` (0 to 1) of the sorted values lie; 0 for none.
double percentile(const std::vector<double>& sorted, double share);

// step, requests, failures, p50, p90, p99 and max in milliseconds, one line per step.
void printTable(std::ostream& out, MorningFigures figures);

}  // namespace qor::storesim
