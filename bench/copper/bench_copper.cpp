// Code output of the Copper tab: a whole frame's 268 lines ($2c-$137, with the
// wait for the end of line $ff) of a 10-instruction sequence (5 MOVEs following
// the line, 5 WAITs), through the real controller and its output view. Beside it, in the same run:
// the same text written by plain snprintf into a std::string (what building the bytes alone costs),
// and the finished text only handed to the output view (what showing it costs).
#include "copper/CopperViewController.h"
#include "ui_CopperViewController.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kLines = 268;
constexpr int kMoves = 5;
constexpr int kWaits = 5;

CopperViewController &controller() {
    static CopperViewController *tool = [] {
        auto *c = new CopperViewController;
        Ui::CopperViewController *ui = c->controls();
        ui->iterationsTextField->setText(QString::number(kLines));
        ui->initialVerticalWaitTextField->setText(QStringLiteral("2c"));
        ui->initialHorizontalWaitTextField->setText(QStringLiteral("07"));
        ui->initialVerticleMaskTextField->setText(QStringLiteral("ff"));
        ui->initialHorizontalMaskTextField->setText(QStringLiteral("fe"));
        for (int i = 0; i < kMoves; ++i) {
            ui->moveRegisterTextField->setText(QStringLiteral("COLOR%1").arg(i, 2, 10, QChar('0')));
            ui->moveAutoVerticalValueButton->setChecked(true);
            ui->moveVerticalValueTextField->setText(QString());
            ui->moveHorizontalValueTextField->setText(QStringLiteral("0%1").arg(i));
            c->addMoveCommand();
        }
        for (int i = 0; i < kWaits; ++i) {
            ui->waitVerticalValueTextField->setText(QString());
            ui->waitHorizontalValueTextField->setText(
                QStringLiteral("%1").arg(0x40 + 0x20 * i, 2, 16));
            ui->waitVerticleMaskTextField->setText(QStringLiteral("ff"));
            ui->waitHorizontalMaskTextField->setText(QStringLiteral("fe"));
            c->addWaitCommand();
        }
        c->resize(900, 600);
        c->show();
        return c;
    }();
    return *tool;
}

void BM_OutputCode(benchmark::State &state) {
    CopperViewController &tool = controller();
    for (auto _ : state) {
        tool.outputCode();
        benchmark::DoNotOptimize(tool.controls()->sequenceOutputTextView->document());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_OutputCode)->Unit(benchmark::kMillisecond);

void BM_BaselineSnprintfText(benchmark::State &state) {
    for (auto _ : state) {
        std::string text;
        char buffer[64];
        for (int line = 0; line < kLines; ++line) {
            const long v = (0x2c + line) & 0xff;
            if (0x2c + line == 0x100)
                text +=
                    "\tdc.w\t$ffdf,$fffe\t; end of line $ff: later lines count from $00 again\n";
            std::snprintf(buffer, sizeof buffer, "\tdc.w\t$%.2lx%.2lx,$%.2lx%.2lx", v, 0x07L, 0xffL,
                          0xfeL);
            text += buffer;
            for (int i = 0; i < kMoves; ++i) {
                std::snprintf(buffer, sizeof buffer, ",COLOR%.2d,$%.2lx%.2lx", i, v,
                              static_cast<long>(i));
                text += buffer;
            }
            for (int i = 0; i < kWaits; ++i) {
                std::snprintf(buffer, sizeof buffer, ",$%.2lx%.2lx,$%.2lx%.2lx", v,
                              static_cast<long>(0x41 + 0x20 * i), 0xffL, 0xfeL);
                text += buffer;
            }
            text += '\n';
        }
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_BaselineSnprintfText)->Unit(benchmark::kMillisecond);

void BM_BaselineShowTextOnly(benchmark::State &state) {
    CopperViewController &tool = controller();
    tool.outputCode();
    const QString text = tool.controls()->sequenceOutputTextView->toPlainText();
    for (auto _ : state) {
        tool.controls()->sequenceOutputTextView->setPlainText(text);
        benchmark::DoNotOptimize(tool.controls()->sequenceOutputTextView->document());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_BaselineShowTextOnly)->Unit(benchmark::kMillisecond);

} // namespace
