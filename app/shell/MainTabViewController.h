#pragma once
#include <QTabWidget>

// The window's content: one tab per tool. The tools themselves are built from
// the main window's interface description.
class MainTabViewController : public QTabWidget {
    Q_OBJECT
public:
    explicit MainTabViewController(QWidget *parent = nullptr);
};
