// Cost of reading the register database when the Registers tab is set up,
// beside the bare cost it cannot avoid: one pass of an XML tokenizer over the
// document's bytes.
#include "registers/RegisterDatabase.h"
#include "registers/RegistersViewController.h"

#include <amiga/registercode.h>

#include <QApplication>
#include <QByteArray>
#include <QXmlStreamReader>
#include <benchmark/benchmark.h>

namespace {

QByteArray document() {
    const std::string_view text = amiga::registerDatabaseDocument();
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Baseline: every token of the document visited by Qt's tokenizer, nothing kept.
void BM_TokenizeOnly(benchmark::State &state) {
    const QByteArray data = document();
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

// The machine library's reader, every record kept.
void BM_ReadRegisterDatabase(benchmark::State &state) {
    const std::string_view text = amiga::registerDatabaseDocument();
    for (auto _ : state) {
        auto registers = amiga::readRegisterDatabase(text);
        benchmark::DoNotOptimize(registers.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadRegisterDatabase)->Unit(benchmark::kMicrosecond);

// The records made into the tab's registers.
void BM_TabRegisters(benchmark::State &state) {
    for (auto _ : state) {
        auto registers = RegisterDatabase::read();
        benchmark::DoNotOptimize(registers.data());
    }
}
BENCHMARK(BM_TabRegisters)->Unit(benchmark::kMicrosecond);

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
