// Simulations > Manage My Simulations: the list with buttons to rename,
// delete, move, export and import. Each button calls My Simulations, which asks
// what it needs and changes the list and the menu; this only shows the list.
#pragma once

#include <QDialog>

class QListWidget;

namespace velistrad {

class MySimulations;

class ManageSimulationsDialog : public QDialog {
public:
    ManageSimulationsDialog(MySimulations& simulations, QWidget* parent);

    // Fills the list again, selecting `row` (0-based) when there is one.
    void showList(int row);

private:
    MySimulations& m_simulations;
    QListWidget* m_list;
};

}  // namespace velistrad
