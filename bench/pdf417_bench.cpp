// Our engine and the peer library side by side on the same inputs, in one
// Google Benchmark run. Prints the medians and the peer/engine ratio per
// input, with what each encoder made of the input and what one encoding of
// ours allocates.
//
//   pdf417_bench [benchmark flags]          the side-by-side run
//   pdf417_bench --loop=ENCODER:INPUT:N     N encodings for callgrind, with
//                                           collection on only around them
//   pdf417_bench --list                     the encoder and input names
#include "allocation_counter.h"
#include "bench_inputs.h"
#include "encoders.h"

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view EngineName = "trelvanic";
constexpr std::string_view PeerName = "zint";

// Collects the median CPU time (µs) of each benchmark as it is reported: on a
// shared machine the time a process waits for a core is not its own.
class TMedianReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Medians;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                Medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
};

std::string Shape(const TEncodeOutcome& outcome) {
    if (!outcome.Encoded) return "too long";
    return std::to_string(outcome.Rows) + "x" + std::to_string(outcome.Columns) + " L" +
           std::to_string(outcome.ErrorLevel);
}

// The inputs as the peer is given them: at the level that it accepts.
std::vector<TBenchInput> PeerInputs(TPeerEncoder& peer) {
    std::vector<TBenchInput> inputs = BenchInputs();
    for (TBenchInput& input : inputs)
        input.ErrorLevel = peer.AcceptedLevel(input);
    return inputs;
}

void RegisterSideBySide(TPeerEncoder& peer, const std::vector<TBenchInput>& peerInputs) {
    for (size_t i = 0; i < peerInputs.size(); ++i) {
        const TBenchInput& input = BenchInputs()[i];
        const TBenchInput& peerInput = peerInputs[i];
        const std::string engineName = std::string(EngineName) + "/" + input.Name;
        benchmark::RegisterBenchmark(engineName.c_str(), [&input](benchmark::State& state) {
            for (auto _ : state)
                benchmark::DoNotOptimize(EncodeWithEngine(input));
        })->Unit(benchmark::kMicrosecond);
        const std::string peerName = std::string(PeerName) + "/" + input.Name;
        benchmark::RegisterBenchmark(peerName.c_str(), [&peerInput,
                                                        &peer](benchmark::State& state) {
            for (auto _ : state)
                benchmark::DoNotOptimize(peer.Encode(peerInput));
        })->Unit(benchmark::kMicrosecond);
    }
}

// "3: 240 480 1314 B": the run list starts at 20 runs of 12 bytes and
// doubles; the last block of a successful encoding is the bit rows.
std::string DescribeAllocations(const TAllocationCount& count) {
    std::string text = std::to_string(count.Calls);
    text += ':';
    for (int64_t i = 0; i < count.Calls && i < 16; ++i) {
        text += ' ';
        text += std::to_string(count.Sizes[i]);
    }
    text += " B";
    return text;
}

void PrintComparison(const std::map<std::string, double>& medians, TPeerEncoder& peer,
                     const std::vector<TBenchInput>& peerInputs) {
    std::printf("\nMedian CPU time per encoding:\n\n| input | bytes | %s µs | %s µs | %s / %s | %s "
                "symbol | %s symbol "
                "| %s allocations: sizes |\n",
                EngineName.data(), PeerName.data(), PeerName.data(), EngineName.data(),
                EngineName.data(), PeerName.data(), EngineName.data());
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (size_t i = 0; i < peerInputs.size(); ++i) {
        const TBenchInput& input = BenchInputs()[i];
        const auto engine = medians.find(std::string(EngineName) + "/" + input.Name);
        const auto other = medians.find(std::string(PeerName) + "/" + input.Name);
        if (engine == medians.end() || other == medians.end()) continue;
        StartCountingAllocations();
        const TEncodeOutcome ours = EncodeWithEngine(input);
        const TAllocationCount allocations = StopCountingAllocations();
        const TEncodeOutcome theirs = peer.Encode(peerInputs[i]);
        std::printf("| %s | %zu | %.3f | %.3f | %.1f | %s | %s | %s |\n", input.Name.c_str(),
                    input.Data.size(), engine->second, other->second,
                    other->second / engine->second, Shape(ours).c_str(), Shape(theirs).c_str(),
                    DescribeAllocations(allocations).c_str());
    }
}

// Encodes one input N times with collection on only around the loop, after
// one warm-up encoding, so callgrind's total divided by N is the cost of
// one encoding.
int RunLoop(std::string_view request) {
    const size_t first = request.find(':');
    const size_t second = request.find(':', first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) {
        std::fprintf(stderr, "--loop wants ENCODER:INPUT:COUNT\n");
        return 2;
    }
    const std::string_view encoder = request.substr(0, first);
    const TBenchInput* input =
        FindBenchInput(std::string(request.substr(first + 1, second - first - 1)));
    const int count = std::atoi(std::string(request.substr(second + 1)).c_str());
    if (!input || count < 1 || (encoder != EngineName && encoder != PeerName)) {
        std::fprintf(stderr, "unknown encoder or input, or a count below 1: %.*s\n",
                     static_cast<int>(request.size()), request.data());
        return 2;
    }
    TPeerEncoder peer;
    TBenchInput peerInput = *input;
    peerInput.ErrorLevel = peer.AcceptedLevel(*input);
    const bool ours = encoder == EngineName;
    const auto encode = [&] { return ours ? EncodeWithEngine(*input) : peer.Encode(peerInput); };
    encode();
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 0; i < count; ++i)
        benchmark::DoNotOptimize(encode());
    CALLGRIND_TOGGLE_COLLECT;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    bool repetitionsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--loop=")) return RunLoop(arg.substr(7));
        if (arg == "--list") {
            std::printf("encoders: %s %s\ninputs:", EngineName.data(), PeerName.data());
            for (const TBenchInput& input : BenchInputs())
                std::printf(" %s", input.Name.c_str());
            std::printf("\n");
            return 0;
        }
        repetitionsGiven |= arg.starts_with("--benchmark_repetitions");
    }
    // Medians of many short interleaved repetitions: the machine is shared, and
    // a burst of load then hits both encoders alike instead of one of them.
    std::string repetitions = "--benchmark_repetitions=75";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    std::string minTime = "--benchmark_min_time=0.02";
    if (!repetitionsGiven)
        args.insert(args.begin() + 1,
                    {repetitions.data(), interleave.data(), aggregates.data(), minTime.data()});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;

    TPeerEncoder peer;
    const std::vector<TBenchInput> peerInputs = PeerInputs(peer);
    RegisterSideBySide(peer, peerInputs);
    TMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintComparison(reporter.Medians, peer, peerInputs);
    benchmark::Shutdown();
    return 0;
}
