// The 256-entry palette grid: painting it whole and selecting entries in the
// Colour tab, each beside a plain QListView over a QStandardItemModel of the
// same 256 coloured items, measured in the same run.
#include "colour/ColourViewController.h"
#include "colour/PaletteCollectionView.h"
#include "colour/PaletteDataSource.h"
#include "ui_ColourViewController.h"

#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>

namespace {

ColourViewController &tab() {
    static ColourViewController *controller = [] {
        auto *c = new ColourViewController;
        c->resize(900, 700);
        QComboBox *popup = c->controls()->paletteColourEntriesPopupButton;
        popup->setCurrentIndex(popup->findText("256"));
        c->changeNumberOfColourEntries(popup);
        c->show();
        QApplication::processEvents();
        return c;
    }();
    return *controller;
}

struct Baseline {
    QStandardItemModel model;
    QListView view;
    Baseline() {
        for (int i = 0; i < 256; ++i) {
            auto *item = new QStandardItem(QString::number(i));
            item->setData(QColor(i, 255 - i, i / 2), Qt::DecorationRole);
            model.appendRow(item);
        }
        view.setViewMode(QListView::IconMode);
        view.setMovement(QListView::Static);
        view.setUniformItemSizes(true);
        view.setGridSize(QSize(34, 34));
        view.setModel(&model);
        PaletteCollectionView *grid = tab().controls()->paletteEditorCollectionView;
        view.resize(grid->size());
        view.show();
        QApplication::processEvents();
    }
};

Baseline &baseline() {
    static Baseline *b = new Baseline;
    return *b;
}

void BM_PaintGrid_Palette(benchmark::State &state) {
    PaletteCollectionView *grid = tab().controls()->paletteEditorCollectionView;
    for (auto _ : state)
        benchmark::DoNotOptimize(grid->grab());
}
BENCHMARK(BM_PaintGrid_Palette)->Unit(benchmark::kMicrosecond);

void BM_PaintGrid_BaselineListView(benchmark::State &state) {
    QListView &view = baseline().view;
    for (auto _ : state)
        benchmark::DoNotOptimize(view.grab());
}
BENCHMARK(BM_PaintGrid_BaselineListView)->Unit(benchmark::kMicrosecond);

// One click's worth of work: the selection moves to the next entry, the editor
// loads it (colour, bank, register, code), the grid repaints.
void BM_SelectEntry_ColourTab(benchmark::State &state) {
    PaletteCollectionView *grid = tab().controls()->paletteEditorCollectionView;
    int row = 0;
    for (auto _ : state) {
        grid->selectionModel()->select(grid->model()->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect);
        QApplication::processEvents();
        row = (row + 1) % 256;
    }
}
BENCHMARK(BM_SelectEntry_ColourTab)->Unit(benchmark::kMicrosecond);

void BM_SelectEntry_BaselineListView(benchmark::State &state) {
    QListView &view = baseline().view;
    int row = 0;
    for (auto _ : state) {
        view.selectionModel()->select(view.model()->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect);
        QApplication::processEvents();
        row = (row + 1) % 256;
    }
}
BENCHMARK(BM_SelectEntry_BaselineListView)->Unit(benchmark::kMicrosecond);

} // namespace
