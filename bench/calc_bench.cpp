// What a calculation and its report cost, press by press.
#include "calc/cooling_load.h"

#include <benchmark/benchmark.h>

namespace {

const klimora::NumberFormat comma{","};

void textToNumber(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(klimora::textToNumber("338,2499933", comma));
}
BENCHMARK(textToNumber);

void numberToText(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(klimora::numberToText(338.2499933242798, comma));
}
BENCHMARK(numberToText);

// What a press of "Calcular" costs without the window and the settings read.
void calculateAndFormat(benchmark::State &state)
{
    const klimora::CoolingLoadAnswers answers{true, "4", "5", "3", "9", "2", true, true};
    klimora::CoolingLoadFields fields;
    for (auto _ : state) {
        benchmark::DoNotOptimize(klimora::computeCoolingLoad(answers, fields, comma));
        benchmark::DoNotOptimize(klimora::numberToText(fields.dato3, comma));
    }
}
BENCHMARK(calculateAndFormat);

void userNumberFormat(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(klimora::userNumberFormat());
}
BENCHMARK(userNumberFormat);

} // namespace

BENCHMARK_MAIN();
