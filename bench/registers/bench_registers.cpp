// Cost of reading the register database when the Registers tab is set up,
// beside the bare costs it cannot avoid: fetching the bytes, and one pass of
// the XML tokenizer over them.
#include "registers/RegisterDataParser.h"
#include "registers/RegistersViewController.h"

#include <QApplication>
#include <QXmlStreamReader>
#include <benchmark/benchmark.h>

namespace {

const QString asset = QStringLiteral("amigaRegisters");

void BM_AssetBytes(benchmark::State &state) {
    for (auto _ : state) {
        QByteArray data = RegisterDataParser::dataAsset(asset);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * RegisterDataParser::dataAsset(asset).size());
}
BENCHMARK(BM_AssetBytes)->Unit(benchmark::kMicrosecond);

// Baseline: every token of the document visited, nothing kept.
void BM_TokenizeOnly(benchmark::State &state) {
    const QByteArray data = RegisterDataParser::dataAsset(asset);
    for (auto _ : state) {
        QXmlStreamReader reader(data);
        qint64 tokens = 0;
        while (!reader.atEnd()) {
            reader.readNext();
            ++tokens;
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_TokenizeOnly)->Unit(benchmark::kMicrosecond);

void BM_ParseRegisterDatabase(benchmark::State &state) {
    const QByteArray data = RegisterDataParser::dataAsset(asset);
    for (auto _ : state) {
        RegisterDataParser parser;
        auto registers = parser.parse(data);
        benchmark::DoNotOptimize(registers.data());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_ParseRegisterDatabase)->Unit(benchmark::kMicrosecond);

// The whole tab: controls from the interface description, the database, the
// first register shown.
void BM_RegistersTabSetUp(benchmark::State &state) {
    for (auto _ : state) {
        RegistersViewController controller;
        benchmark::DoNotOptimize(controller.registers().size());
    }
}
BENCHMARK(BM_RegistersTabSetUp)->Unit(benchmark::kMillisecond);

} // namespace
