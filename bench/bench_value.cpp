// Every field of a form goes through these on each recalculation, so they
// are measured on the kinds of input engineers actually type.
#include "ui/value.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void BM_TextToNumber(benchmark::State& state, std::vector<std::string> inputs) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ui::text_to_number(inputs[i]));
        i = (i + 1) % inputs.size();
    }
}
BENCHMARK_CAPTURE(BM_TextToNumber, ascii, std::vector<std::string>{"12.5", "-3e2", "1234.5678", "0.000125", "45"});
BENCHMARK_CAPTURE(BM_TextToNumber, with_unit, std::vector<std::string>{"12.5m", "350米", "7.2 m3"});
BENCHMARK_CAPTURE(BM_TextToNumber, full_width, std::vector<std::string>{"１２．５", "－３ｅ２", "　４５"});
BENCHMARK_CAPTURE(BM_TextToNumber, no_number, std::vector<std::string>{"", "abc", "隧道进口"});

void BM_TextToInt(benchmark::State& state) {
    const std::vector<std::string> inputs{"12", "-3.7", " ４２abc"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ui::text_to_int(inputs[i]));
        i = (i + 1) % inputs.size();
    }
}
BENCHMARK(BM_TextToInt);

void BM_NumberToText(benchmark::State& state, std::vector<double> inputs) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ui::number_to_text(inputs[i]));
        i = (i + 1) % inputs.size();
    }
}
BENCHMARK_CAPTURE(BM_NumberToText, short_values, std::vector<double>{2.5, 100, 0.3, 12.75, -4});
BENCHMARK_CAPTURE(BM_NumberToText, long_values, std::vector<double>{1.0 / 3.0, 0.1 + 0.2, 2.0 / 7.0, 1234.56789012345});
BENCHMARK_CAPTURE(BM_NumberToText, exponent, std::vector<double>{1e15, -1e-7, 1.234e-5, 123456789012345.0});

void BM_FloatToText(benchmark::State& state) {
    const std::vector<float> inputs{0.3333333f, 12.5f, 1e10f};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ui::float_to_text(inputs[i]));
        i = (i + 1) % inputs.size();
    }
}
BENCHMARK(BM_FloatToText);

void BM_RoundPlaces(benchmark::State& state) {
    const std::vector<double> inputs{1.005, -2.5, 1234.5678, 0.049999999999999};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ui::round_places(inputs[i], 2));
        i = (i + 1) % inputs.size();
    }
}
BENCHMARK(BM_RoundPlaces);

} // namespace
