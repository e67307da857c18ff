// RatioReporter: the console report of Google Benchmark, followed by the ratio of each
// measured case to its baseline from the same run.
//
//   RatioReporter reporter({{"record_encode/helpers", "record_encode/hand_written"}});
//   benchmark::RunSpecifiedBenchmarks(&reporter);
//
// Ratios use CPU time, so other processes on a busy machine weigh less. With repetitions
// (best with --benchmark_enable_random_interleaving=true, so both sides of a pair see the
// same machine) it prints the ratio of the fastest and of the median repetitions;
// otherwise that of the single runs. `scale` divides every time, for benchmarks whose
// iteration does several operations.
//
// Time::real uses wall-clock time instead (for the bound that update_bench compares with
// its wall-clock measurements); median() and fastest() give the figures of one benchmark
// to a program that prints its own comparisons.
#ifndef OSTRA_BENCH_RATIOREPORTER_H
#define OSTRA_BENCH_RATIOREPORTER_H

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  using Pair = std::pair<std::string, std::string>;  // (case, baseline), by benchmark name
  enum class Time { cpu, real };

  explicit RatioReporter(std::vector<Pair> pairs, double scale = 1.0, Time time = Time::cpu)
      : pairs_(std::move(pairs)), scale_(scale), time_(time) {}

  // The median and the fastest repetition of a benchmark, per operation (0: not measured).
  double median(std::string const& name) const { return figure(name, false); }
  double fastest(std::string const& name) const { return figure(name, true); }

  void ReportRuns(std::vector<Run> const& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (Run const& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        double const time = time_ == Time::cpu ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
        nanoseconds_[run.run_name.function_name].push_back(time / scale_);
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    if (pairs_.empty()) return;
    std::printf("\n%s time per operation, case / baseline (1.00 = as fast as the baseline):\n",
                time_ == Time::cpu ? "CPU" : "Wall-clock");
    for (Pair const& pair : pairs_) {
      auto const mine = nanoseconds_.find(pair.first);
      auto const theirs = nanoseconds_.find(pair.second);
      if (mine == nanoseconds_.end() || theirs == nanoseconds_.end()) continue;
      for (bool fastest : {true, false}) {
        double const a = pick(mine->second, fastest), b = pick(theirs->second, fastest);
        std::printf("  %-32s / %-32s %-7s %9.1f ns / %9.1f ns = %5.2f\n", pair.first.c_str(),
                    pair.second.c_str(), mine->second.size() == 1 ? "run" : fastest ? "fastest" : "median",
                    a, b, a / b);
        if (mine->second.size() == 1) break;  // one run: fastest and median are the same
      }
    }
  }

 private:
  double figure(std::string const& name, bool fastest) const {
    auto const found = nanoseconds_.find(name);
    return found == nanoseconds_.end() || found->second.empty() ? 0.0 : pick(found->second, fastest);
  }

  // The fastest, or the median (with an even count, the mean of the middle two).
  static double pick(std::vector<double> values, bool fastest) {
    std::sort(values.begin(), values.end());
    size_t const n = values.size();
    if (fastest) return values.front();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  }

  std::vector<Pair> pairs_;
  double scale_;
  Time time_;
  std::map<std::string, std::vector<double>> nanoseconds_;
};

#endif  // OSTRA_BENCH_RATIOREPORTER_H
