// One user event at a time in the real window, from the key press or slider
// step to the repainted window: each should finish well inside 10 ms. The
// baseline is the same keystroke into a bare line edit in a window of its own.
#include "colour/PaletteCollectionView.h"
#include "shell/MainTabViewController.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

MainWindow &window() {
    static MainWindow *w = [] {
        auto *m = new MainWindow;
        m->resize(1000, 720);
        m->show();
        QApplication::processEvents();
        return m;
    }();
    return *w;
}

template <typename T> T *control(int tab, const char *name) {
    window().tabViewController()->setCurrentIndex(tab);
    QApplication::processEvents();
    T *widget = window().tabViewController()->widget(tab)->findChild<T *>(name);
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// Types a digit and takes it back again, one key per iteration: every key
// recalculates what hangs on the field and repaints.
void typeInto(benchmark::State &state, QLineEdit *field, Qt::Key digit) {
    field->setFocus();
    field->end(false);
    bool typed = false;
    for (auto _ : state) {
        QTest::keyClick(field, typed ? Qt::Key_Backspace : digit);
        QApplication::processEvents();
        typed = !typed;
    }
}

void BM_Keystroke_BaselineLineEdit(benchmark::State &state) {
    static QWidget *w = [] {
        auto *top = new QWidget;
        auto *edit = new QLineEdit(top);
        edit->setObjectName("edit");
        edit->setText("320");
        top->resize(1000, 720);
        top->show();
        QApplication::processEvents();
        return top;
    }();
    typeInto(state, w->findChild<QLineEdit *>("edit"), Qt::Key_0);
}
BENCHMARK(BM_Keystroke_BaselineLineEdit)->Unit(benchmark::kMicrosecond);

void BM_Keystroke_DisplayWidth(benchmark::State &state) {
    auto *width = control<QLineEdit>(0, "displayWidthTextField");
    width->setText("32");
    typeInto(state, width, Qt::Key_0);
}
BENCHMARK(BM_Keystroke_DisplayWidth)->Unit(benchmark::kMicrosecond);

void BM_Keystroke_ColourGreenField(benchmark::State &state) {
    auto *green = control<QLineEdit>(1, "greenValueTextField");
    green->setText("1");
    typeInto(state, green, Qt::Key_2);
}
BENCHMARK(BM_Keystroke_ColourGreenField)->Unit(benchmark::kMicrosecond);

void BM_Keystroke_RegistersGoal(benchmark::State &state) {
    auto *popup = control<QComboBox>(2, "registerPopUpButton");
    popup->setCurrentIndex(popup->findText("BPLCON0"));
    auto *goal = control<QLineEdit>(2, "goalSeekTextField");
    goal->setText("123");
    typeInto(state, goal, Qt::Key_4);
}
BENCHMARK(BM_Keystroke_RegistersGoal)->Unit(benchmark::kMicrosecond);

// Return in the goal field sets all sixteen bits and every result field.
void BM_GoalSeek_Registers(benchmark::State &state) {
    auto *goal = control<QLineEdit>(2, "goalSeekTextField");
    goal->setFocus();
    bool flip = false;
    for (auto _ : state) {
        goal->setText(flip ? "1234" : "8301");
        QTest::keyClick(goal, Qt::Key_Return);
        QApplication::processEvents();
        flip = !flip;
    }
}
BENCHMARK(BM_GoalSeek_Registers)->Unit(benchmark::kMicrosecond);

void BM_Keystroke_CopperValue(benchmark::State &state) {
    auto *value = control<QLineEdit>(3, "moveVerticalValueTextField");
    value->setText("0f");
    typeInto(state, value, Qt::Key_0);
}
BENCHMARK(BM_Keystroke_CopperValue)->Unit(benchmark::kMicrosecond);

// The 256-entry palette, with one entry or all of them selected: a slider
// step recolours every selected cell and rewrites the colour code.
PaletteCollectionView *palette256() {
    auto *popup = control<QComboBox>(1, "paletteColourEntriesPopupButton");
    const int item = popup->findText("256");
    if (popup->currentIndex() != item) {
        popup->setCurrentIndex(item);
        emit popup->activated(item); // as a user's choice does
        QApplication::processEvents();
    }
    return control<PaletteCollectionView>(1, "paletteEditorCollectionView");
}

void sliderSteps(benchmark::State &state, int selected) {
    PaletteCollectionView *grid = palette256();
    QItemSelectionModel *selection = grid->selectionModel();
    selection->clearSelection();
    for (int row = 0; row < selected; ++row)
        selection->select(grid->model()->index(row, 0), QItemSelectionModel::Select);
    QApplication::processEvents();
    auto *green = control<QSlider>(1, "greenSlider");
    green->setValue(100);
    bool up = true;
    for (auto _ : state) {
        QTest::keyClick(green, up ? Qt::Key_Right : Qt::Key_Left);
        QApplication::processEvents();
        up = !up;
    }
}

void BM_SliderStep_OneEntry(benchmark::State &state) {
    sliderSteps(state, 1);
}
BENCHMARK(BM_SliderStep_OneEntry)->Unit(benchmark::kMicrosecond);

void BM_SliderStep_All256Entries(benchmark::State &state) {
    sliderSteps(state, 256);
}
BENCHMARK(BM_SliderStep_All256Entries)->Unit(benchmark::kMicrosecond);

void clickCode(benchmark::State &state, const char *button, bool aga) {
    // From entry 0, so the code covers the whole palette.
    PaletteCollectionView *grid = palette256();
    grid->selectionModel()->select(grid->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    QApplication::processEvents();
    auto *chipset = control<QCheckBox>(1, "agaChipsetButton");
    if (chipset->isChecked() != aga)
        chipset->click();
    auto *output = control<QPushButton>(1, button);
    auto *view = control<QPlainTextEdit>(1, "codeOutputTextView");
    for (auto _ : state) {
        output->click();
        QApplication::processEvents();
    }
    state.counters["entries"] = static_cast<double>(grid->model()->rowCount());
    state.counters["lines"] = view->document()->blockCount();
}

void BM_PaletteCode256_Aga(benchmark::State &state) {
    clickCode(state, "outputPaletteCodeButton", true);
}
BENCHMARK(BM_PaletteCode256_Aga)->Unit(benchmark::kMicrosecond);

void BM_RainbowCode256_Aga(benchmark::State &state) {
    clickCode(state, "outputRainbowCodeButton", true);
}
BENCHMARK(BM_RainbowCode256_Aga)->Unit(benchmark::kMicrosecond);

void BM_RainbowCode256_Ocs(benchmark::State &state) {
    clickCode(state, "outputRainbowCodeButton", false);
}
BENCHMARK(BM_RainbowCode256_Ocs)->Unit(benchmark::kMicrosecond);

// Ctrl+1 to Ctrl+4 in turn, one tool change per iteration: the tool that
// comes up is laid out and painted.
void BM_SwitchTool(benchmark::State &state) {
    window().activateWindow();
    int next = 0;
    for (auto _ : state) {
        QTest::keyClick(&window(), static_cast<Qt::Key>(Qt::Key_1 + next), Qt::ControlModifier);
        QApplication::processEvents();
        next = (next + 1) % 4;
    }
    if (window().tabViewController()->currentIndex() != (next + 3) % 4)
        state.SkipWithError("the shortcuts did not change the tool");
}
BENCHMARK(BM_SwitchTool)->Unit(benchmark::kMicrosecond);

// The first time a tool is shown in a window that has just started: the
// program's own start-up order (each tool built when it is first shown), then
// one Ctrl+2, +3 or +4. The tool is built, polished, laid out and painted for
// the first time; the Colour tool's grid paints its 32 default entries.
void BM_FirstShowOfTool(benchmark::State &state) {
    const int tab = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto *fresh = new MainWindow(nullptr, MainWindow::ToolLoading::WhenShown);
        fresh->resize(1000, 720);
        fresh->show();
        if (!QTest::qWaitForWindowExposed(fresh))
            state.SkipWithError("the window did not show");
        QApplication::processEvents();
        state.ResumeTiming();

        QTest::keyClick(fresh, static_cast<Qt::Key>(Qt::Key_1 + tab), Qt::ControlModifier);
        QApplication::processEvents();

        state.PauseTiming();
        if (fresh->tabViewController()->currentIndex() != tab)
            state.SkipWithError("the shortcut did not show the tool");
        delete fresh;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstShowOfTool)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

} // namespace
