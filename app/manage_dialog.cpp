#include "app/manage_dialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/my_simulations.h"

namespace velistrad {

ManageSimulationsDialog::ManageSimulationsDialog(MySimulations& simulations, QWidget* parent)
    : QDialog(parent), m_simulations(simulations), m_list(new QListWidget(this)) {
    setObjectName(QStringLiteral("ManageSimulations"));
    setWindowTitle(QStringLiteral("Manage My Simulations"));
    m_list->setObjectName(QStringLiteral("List"));

    auto* buttons = new QVBoxLayout;
    // Each acts on the selected simulation (1-based, as the menu counts) and
    // says which row to select afterwards.
    auto add = [this, buttons](const char* name, const QString& caption, auto act) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromUtf8(name));
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, act] {
            const int row = m_list->currentRow();
            if (row >= 0) showList(act(row + 1) - 1);
        });
    };
    add("Rename", QStringLiteral("&Rename…"), [this](int i) {
        m_simulations.rename(i);
        return i;
    });
    add("Delete", QStringLiteral("&Delete"), [this](int i) {
        m_simulations.remove(i);
        return i;
    });
    add("MoveUp", QStringLiteral("Move &Up"),
        [this](int i) { return m_simulations.move(i, i - 1) ? i - 1 : i; });
    add("MoveDown", QStringLiteral("Move D&own"),
        [this](int i) { return m_simulations.move(i, i + 1) ? i + 1 : i; });
    add("Export", QStringLiteral("&Export…"), [this](int i) {
        m_simulations.exportFile(i);
        return i;
    });
    buttons->addStretch();
    // Import needs no selection.
    auto* importButton = new QPushButton(QStringLiteral("&Import…"), this);
    importButton->setObjectName(QStringLiteral("Import"));
    buttons->insertWidget(buttons->count() - 1, importButton);
    connect(importButton, &QPushButton::clicked, this, [this] {
        if (m_simulations.importFiles()) showList(m_list->count());
    });

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(m_list, 1);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(close);
    showList(0);
}

void ManageSimulationsDialog::showList(int row) {
    m_list->clear();
    for (const CustomSimulation& simulation : m_simulations.simulations())
        m_list->addItem(QString::fromStdString(simulation.name));
    if (m_list->count() > 0) m_list->setCurrentRow(std::clamp(row, 0, m_list->count() - 1));
}

}  // namespace velistrad
