// Simulations > Manage My Simulations: the list with buttons to rename,
// delete, move, export and import. Each button calls the window, which asks
// what it needs and changes the list and the menu; this only shows the list.
#pragma once

#include <QDialog>

class QListWidget;

namespace velistrad {

class MainWindow;

class ManageSimulationsDialog : public QDialog {
public:
    explicit ManageSimulationsDialog(MainWindow& window);

    // Fills the list again, selecting `row` (0-based) when there is one.
    void showList(int row);

private:
    MainWindow& m_window;
    QListWidget* m_list;
};

}  // namespace velistrad
