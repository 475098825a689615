// The dialogs' texts as laid out in the stand-in font: each fits its design's room.
#include "dialogs/dialogMogisikenTxt.h"
#include "dialogs/frmOptions.h"
#include "dialog_fixture.h"

#include <QFrame>
#include <QMainWindow>
#include <QWidget>

using namespace forms;

class DialogLayout : public DialogFixture { };

// Each line of the exam-text dialog's instruction stays one line in the design's
// width, whichever of its texts it shows.
TEST_F(DialogLayout, TheExamTextInstructionLinesFitTheDesignWidth)
{
    DialogMogisikenTxt& d = dialogMogisikenTxt();
    d.show();
    for (OptionButton* mode : {&d.optionTestSelect, &d.optionTextRandom}) {
        mode->click();
        QWidget* w = d.labelExplanation.widget();
        const QStringList lines = d.labelExplanation.caption().split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), 2);
        const QFontMetrics m(w->font());
        for (const QString& line : lines)
            EXPECT_LE(m.horizontalAdvance(line), w->contentsRect().width()) << line.toStdString();
        EXPECT_EQ(w->heightForWidth(w->width()), 2 * m.lineSpacing());
    }
}

// The panels laid over the options dialog's tab strip start inside its page, below the
// page's border: the word tab's two labels at the panel's top included.
TEST_F(DialogLayout, TheOptionsPanelsLieInsideTheTabPage)
{
    FrmOptions& f = frmOptions();
    f.show();
    f.tbsOptions.clickTab(3);
    QWidget* window = f.window();
    const auto* page = f.tbsOptions.widget()->findChild<QFrame*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(page, nullptr);
    const int pageInside = page->mapTo(window, QPoint(0, 0)).y() + page->frameWidth();
    for (Label* l : {&f.labelLastCountEntryWords, &f.Label8}) {
        SCOPED_TRACE(l->caption().toStdString());
        EXPECT_GE(l->widget()->mapTo(window, QPoint(0, 0)).y(), pageInside);
        EXPECT_EQ(l->widget()->heightForWidth(l->widget()->width()), QFontMetrics(l->widget()->font()).lineSpacing());
    }
}
