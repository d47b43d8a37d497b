// The options dialog is placed by hand, so these tests look for what a user would see as broken:
// a control sticking out of its frame, two controls on top of each other, a caption cut off.

#include "options/frmOption.h"

#include "options/ColorButton.h"
#include "options/PageButton.h"
#include "options/WrappingRadioButton.h"
#include "support/FakeKobuRes.h"
#include "support/FakeShell.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyleOptionGroupBox>

using namespace fareboard;
using namespace fareboard::test;

namespace {

class OptionsLayout : public ::testing::Test {
protected:
    FakeKobuRes library;
    FakeShell shell;
    FakeClock clock;
    FakeMessageBox messageBox;
    frmOption dialog{library, shell, clock, messageBox};

    void SetUp() override
    {
        // Bring every control out, as a user could, so that hidden ones are checked too.
        dialog.Option3(1)->setChecked(true);
        dialog.chkUseSeiriPrev()->setChecked(true);
        dialog.ensurePolished();
    }

    // The children we placed (named), without the parts Qt makes inside its own widgets.
    static QList<QWidget*> placedChildren(const QWidget* container)
    {
        QList<QWidget*> children;
        for (QObject* o : container->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->objectName().isEmpty() && !w->isWindow())
                children.append(w);
        return children;
    }

    static QList<QWidget*> containers(QWidget* root)
    {
        QList<QWidget*> list{root};
        for (int i = 0; i < list.size(); ++i)
            for (QWidget* child : placedChildren(list[i]))
                if (qobject_cast<QGroupBox*>(child))
                    list.append(child);
        return list;
    }

    static QRect usableArea(const QWidget* container)
    {
        if (const auto* box = qobject_cast<const QGroupBox*>(container)) {
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            if (!box->title().isEmpty())
                option.subControls |= QStyle::SC_GroupBoxLabel;
            // Below the title and inside the frame line.
            const QRect contents =
                box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, box);
            return contents;
        }
        return container->rect();
    }
};

TEST_F(OptionsLayout, EveryControlLiesInsideItsFrame)
{
    for (QWidget* container : containers(&dialog)) {
        const QRect area = usableArea(container);
        for (QWidget* child : placedChildren(container))
            EXPECT_TRUE(area.contains(child->geometry()))
                << child->objectName().toStdString() << " in " << container->objectName().toStdString() << ": ("
                << child->x() << "," << child->y() << " " << child->width() << "x" << child->height() << ") area ("
                << area.x() << "," << area.y() << " " << area.width() << "x" << area.height() << ")";
    }
}

TEST_F(OptionsLayout, NoTwoControlsOverlapExceptListsSittingInTheirSentence)
{
    // Pages stack on each other by design, and some lists sit on the gap their caption leaves.
    const QSet<QString> allowed = {
        "Check3(0)|Combo4(0)", "Check3(1)|Combo4(1)", "Check3(2)|Combo4(2)", "Check3(3)|Combo4(3)",
        "Check3(3)|Combo4(4)", "Combo1|Label1(2)",    "Frame2(0)|Frame2(1)",
    };
    for (QWidget* container : containers(&dialog)) {
        const QList<QWidget*> children = placedChildren(container);
        for (int i = 0; i < children.size(); ++i)
            for (int j = i + 1; j < children.size(); ++j) {
                QStringList pair{children[i]->objectName(), children[j]->objectName()};
                pair.sort();
                if (pair[0].startsWith(QLatin1String("Frame1(")) && pair[1].startsWith(QLatin1String("Frame1(")))
                    continue;
                if (allowed.contains(pair.join(QLatin1Char('|'))))
                    continue;
                EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
                    << pair[0].toStdString() << " overlaps " << pair[1].toStdString();
            }
    }
}

TEST_F(OptionsLayout, EveryCaptionFitsItsControl)
{
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty())
            continue;
        const std::string name = w->objectName().toStdString();
        const QFontMetrics metrics = w->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->wordWrap())
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
            else
                EXPECT_LE(label->sizeHint().width(), label->width()) << name;
        } else if (auto* page = qobject_cast<PageButton*>(w)) {
            for (const QString& line : captionLines(page->text(), metrics, page->width() - 8).split(QLatin1Char('\n')))
                EXPECT_LE(metrics.horizontalAdvance(line), page->width() - 8) << name;
        } else if (auto* wrapping = qobject_cast<WrappingRadioButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(wrapping);
            const QRect text = wrapping->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, wrapping);
            EXPECT_LE(metrics.boundingRect(text, Qt::TextWordWrap, wrapping->text()).height(), wrapping->height())
                << name;
        } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            EXPECT_LE(w->sizeHint().width(), w->width()) << name;
        } else if (auto* button = qobject_cast<QPushButton*>(w); button && !qobject_cast<ColorButton*>(w)) {
            EXPECT_LE(metrics.horizontalAdvance(button->text()) + 8, button->width()) << name;
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            EXPECT_LE(metrics.horizontalAdvance(box->title()) + 16, box->width()) << name;
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            int longest = 0;
            for (int i = 0; i < combo->count(); ++i)
                longest = std::max(longest, metrics.horizontalAdvance(combo->itemText(i)));
            // Room for the arrow and the frame beside the longest entry.
            EXPECT_LE(longest + 28, combo->width()) << name;
        }
    }
}

}  // namespace

TEST_F(OptionsLayout, PluginPropertiesAndNotesShowWholeLines)
{
    dialog.Option1(5)->setChecked(true);
    dialog.show();
    // The most a plug-in can list: ten property lines.
    for (int i = 0; i < 10; ++i)
        dialog.List1()->addItem(QStringLiteral("バーコード系統方式 ---> 系統番号＋往復フラグ"));
    QStringList notes;
    for (int i = 0; i < 8; ++i)
        notes << QStringLiteral("特記事項の%1行目").arg(i + 1);
    dialog.txtPlginComment()->setPlainText(notes.join(QLatin1Char('\n')));
    QCoreApplication::processEvents();

    QListWidget* list = dialog.List1();
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(9))))
        << "the tenth line is cut at " << list->viewport()->height();
    EXPECT_EQ(list->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(dialog.txtPlginComment()->verticalScrollBar()->maximum(), 0) << "eight lines of notes do not fit";
    dialog.hide();
}
