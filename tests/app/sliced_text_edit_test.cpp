#include "app/sliced_text_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>

namespace velistrad {
namespace {

void waitUntilIn(const SlicedTextEdit& edit) {
    QElapsedTimer waited;
    waited.start();
    while (edit.filling() && waited.elapsed() < 30'000) QCoreApplication::processEvents();
}

// What the editor gives while a text goes in is what it gives once it is
// all in, characters the document keeps as others included.
TEST(SlicedTextEdit, GivesTheSameTextWhileItGoesInAndAfter) {
    QString text;
    for (int i = 0; i < 2 * SlicedTextEdit::kSliceLines; ++i)
        text += QStringLiteral("Mar,\u00A0XZ,\rNow\u2028\n");
    text += QStringLiteral("All, Delay, 1\u2029end");
    SlicedTextEdit edit;
    edit.setText(text);
    ASSERT_TRUE(edit.filling());
    const QString during = edit.text();
    waitUntilIn(edit);
    EXPECT_EQ(edit.toPlainText(), during);
    EXPECT_EQ(edit.text(), during);

    // After an edit the text is read from the document again.
    edit.appendPlainText(QStringLiteral("x"));
    EXPECT_EQ(edit.text(), during + QStringLiteral("\nx"));

    // A short text goes in at once; one set while another goes in replaces it.
    edit.setText(text);
    edit.setText(QStringLiteral("Mar, XZ, Now"));
    EXPECT_FALSE(edit.filling());
    EXPECT_FALSE(edit.isReadOnly());
    EXPECT_EQ(edit.text(), QStringLiteral("Mar, XZ, Now"));
}

// A word too long for Qt to break quickly at word boundaries is broken
// anywhere, whether opened or pasted; the next ordinary text is not.
TEST(SlicedTextEdit, BreaksAWordOfThousandsOfLettersAnywhere) {
    SlicedTextEdit edit;
    const QString word = QStringLiteral("Mar,") + QString(200'000, u'A') + QStringLiteral(",Now");
    edit.setText(word);
    EXPECT_EQ(edit.wordWrapMode(), QTextOption::WrapAnywhere);
    edit.setText(QStringLiteral("Mar, XZ, Now"));
    EXPECT_EQ(edit.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit.insertPlainText(QString(900, u'A') + QStringLiteral(" "));  // long, but not too long
    EXPECT_EQ(edit.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    QApplication::clipboard()->setText(word);
    edit.paste();
    EXPECT_EQ(edit.wordWrapMode(), QTextOption::WrapAnywhere);
    EXPECT_EQ(edit.toPlainText().size(), 12 + 901 + word.size());  // the paste went in
}

}  // namespace
}  // namespace velistrad
