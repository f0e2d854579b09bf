#include "app/programming_reference.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/help_texts.h"

namespace velistrad {

// Client area 4680 x 11385 twips, text box at 45, 0, 4650 x 11355 twips, at
// 15 twips per pixel.
ProgrammingReference::ProgrammingReference(QWidget* parent)
    : QWidget(parent, Qt::Window), m_text(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmProg"));
    setWindowTitle(QStringLiteral("Programming Reference"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Its natural size; on a lower screen it is made lower and the text scrolls.
    resize(312, 759);
    setMinimumSize(200, 200);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 0, 0, 2);
    layout->addWidget(m_text);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setReadOnly(true);
    QFont font = m_text->font();
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans")});
    font.setPointSizeF(7.5);
    m_text->setFont(font);
    // Tabs every eight average characters, as a plain text box sets them.
    m_text->setTabStopDistance(8 * QFontMetricsF(font).averageCharWidth());
    m_text->setPlainText(referenceText());
}

}  // namespace velistrad
