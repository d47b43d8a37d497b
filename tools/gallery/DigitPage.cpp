#include "GalleryPages.h"

#include "controls/digit/M_Degit.h"
#include "extlib/QtKobuRes.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace fareboard;

namespace {

// The page owns the library its digits use, so a double click opens the real settings dialog.
class DigitGalleryPage final : public QScrollArea {
public:
    explicit DigitGalleryPage(QWidget* parent) : QScrollArea(parent)
    {
        auto* content = new QWidget(this);
        auto* column = new QVBoxLayout(content);
        column->addWidget(stylesAndSizes());
        auto* rules = new QHBoxLayout;
        rules->addWidget(zeroModes());
        rules->addWidget(fillShiftAndCut());
        rules->addWidget(coloursAndVariants(), 1);
        column->addLayout(rules);
        column->addStretch();
        setWidget(content);
        setWidgetResizable(true);
    }

    // Show the whole page when the screen has room, rather than a scroll area's small default.
    QSize sizeHint() const override
    {
        return (widget()->sizeHint() + QSize(2 * frameWidth() + 2, 2 * frameWidth() + 2)).boundedTo(QSize(1240, 740));
    }

private:
    M_Degit* digit(QWidget* parent, int16_t keta, int16_t size, int16_t style, DegitRenderVariant variant = {})
    {
        auto* d = new M_Degit(library_, parent, variant);
        d->setKeta(keta);
        d->setDegitSize(size);
        d->setDegitStyle(style);
        QObject::connect(d, &M_Degit::DblClick, d, [d] {
            if (d->UserSet())
                d->ShowSetDlg();
        });
        return d;
    }

    static QLabel* label(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

    QGroupBox* stylesAndSizes()
    {
        auto* box = new QGroupBox(QStringLiteral("DegitStyle x DegitSize (250 on 3 cells, 1234 on 4, ResetDegit(-1) on 5)"), this);
        auto* grid = new QGridLayout(box);
        for (int16_t style = 0; style < 3; ++style)
            grid->addWidget(label(QStringLiteral("DegitStyle %1: %2").arg(style).arg(degitFaceName(style)), box),
                            0, 1 + style * 3, 1, 3);
        for (int16_t size = 0; size < 4; ++size) {
            const DegitCellSize cell = degitCellSize(size);
            grid->addWidget(label(QStringLiteral("Size %1: %2x%3").arg(size).arg(cell.width).arg(cell.height), box),
                            1 + size, 0);
            for (int16_t style = 0; style < 3; ++style) {
                M_Degit* fare = digit(box, 3, size, style);
                fare->setValue(int16_t(250));
                M_Degit* four = digit(box, 4, size, style);
                four->setValue(int16_t(1234));
                M_Degit* lamp = digit(box, 5, size, style);
                lamp->ResetDegit(-1);
                grid->addWidget(fare, 1 + size, 1 + style * 3);
                grid->addWidget(four, 1 + size, 2 + style * 3);
                grid->addWidget(lamp, 1 + size, 3 + style * 3);
            }
        }
        grid->setColumnStretch(10, 1);
        return box;
    }

    QGroupBox* zeroModes()
    {
        auto* box = new QGroupBox(QStringLiteral("ZeroMode (3 cells, DegitSize 2, DegitStyle 1)"), this);
        auto* grid = new QGridLayout(box);
        const QList<QPair<QString, DegitValue>> values = {
            {QStringLiteral("0"), DegitValue(int16_t(0))},
            {QStringLiteral("-1"), DegitValue(int16_t(-1))},
            {QStringLiteral("\"\""), DegitValue(QString())},
            {QStringLiteral("\" \""), DegitValue(QStringLiteral(" "))},
            {QStringLiteral("7"), DegitValue(int16_t(7))},
        };
        for (qsizetype v = 0; v < values.size(); ++v)
            grid->addWidget(label(QStringLiteral("Value %1").arg(values[v].first), box), 0, 1 + int(v));
        for (int16_t mode = -1; mode < 4; ++mode) {
            grid->addWidget(label(QStringLiteral("ZeroMode %1").arg(mode), box), 2 + mode, 0);
            for (qsizetype v = 0; v < values.size(); ++v) {
                M_Degit* d = digit(box, 3, 2, 1);
                d->setZeroMode(mode);
                d->setValue(values[v].second);
                grid->addWidget(d, 2 + mode, 1 + int(v));
            }
        }
        grid->setColumnStretch(6, 1);
        return box;
    }

    QGroupBox* fillShiftAndCut()
    {
        auto* box = new QGroupBox(QStringLiteral("FillZero, Shift and the cut"), this);
        auto* grid = new QGridLayout(box);
        struct Case {
            QString caption;
            int16_t keta, fillZero, shift;
            DegitValue value;
        };
        const QList<Case> cases = {
            {QStringLiteral("5, FillZero 3"), 3, 3, 0, int16_t(5)},
            {QStringLiteral("-5, FillZero 3, Keta 4"), 4, 3, 0, int16_t(-5)},
            {QStringLiteral("2.5, FillZero 2"), 3, 2, 0, 2.5},
            {QStringLiteral("120, Shift 1"), 3, 0, 1, int16_t(120)},
            {QStringLiteral("12345 on 4 cells"), 4, 0, 0, int32_t(12345)},
            {QStringLiteral("-12 on 4 cells"), 4, 0, 0, int16_t(-12)},
            {QStringLiteral("12.5 on 4 cells"), 4, 0, 0, 12.5},
            {QStringLiteral("\"888\", FillZero 5"), 5, 5, 0, QStringLiteral("888")},
        };
        for (qsizetype i = 0; i < cases.size(); ++i) {
            const Case& c = cases[i];
            M_Degit* d = digit(box, c.keta, 2, 1);
            d->setFillZero(c.fillZero);
            d->setShift(c.shift);
            d->setValue(c.value);
            grid->addWidget(label(c.caption, box), int(i / 2) * 2, int(i % 2));
            grid->addWidget(d, int(i / 2) * 2 + 1, int(i % 2));
        }
        grid->setColumnStretch(2, 1);
        return box;
    }

    QGroupBox* coloursAndVariants()
    {
        auto* box = new QGroupBox(QStringLiteral("Colours, variants"), this);
        auto* grid = new QGridLayout(box);
        M_Degit* board = digit(box, 3, 2, 1);
        board->setBackColor(0x000000);
        board->setBaseForeColor(0x202020);
        board->setDegitForeColor(0x00A5FF);
        board->setValue(int16_t(380));
        M_Degit* green = digit(box, 4, 1, 0);
        green->setBackColor(0x101010);
        green->setBaseForeColor(0x183018);
        green->setDegitForeColor(0x40FF40);
        green->setValue(int16_t(1230));
        M_Degit* classic = digit(box, 4, 1, 0, DegitRenderVariant::classic());
        classic->setValue(int16_t(1230));
        M_Degit* clockHours = digit(box, 2, 0, 0);
        clockHours->setZeroMode(1);
        clockHours->setFillZero(2);
        clockHours->setValue(int16_t(9));
        M_Degit* clockMinutes = digit(box, 2, 0, 0);
        clockMinutes->setZeroMode(1);
        clockMinutes->setFillZero(2);
        clockMinutes->setValue(int16_t(5));
        grid->addWidget(label(QStringLiteral("black board, amber"), box), 0, 0);
        grid->addWidget(board, 1, 0);
        grid->addWidget(label(QStringLiteral("green"), box), 2, 0);
        grid->addWidget(green, 3, 0);
        grid->addWidget(label(QStringLiteral("regular, 1 px spacing"), box), 4, 0);
        grid->addWidget(classic, 5, 0);
        grid->addWidget(label(QStringLiteral("clock 09 05"), box), 6, 0);
        auto* clock = new QHBoxLayout;
        clock->addWidget(clockHours);
        clock->addWidget(clockMinutes);
        clock->addStretch();
        grid->addLayout(clock, 7, 0);
        grid->addWidget(label(QStringLiteral("Double-click a digit\nfor its settings."), box), 8, 0);
        grid->setRowStretch(9, 1);
        return box;
    }

    QtKobuRes library_;
};

}  // namespace

QWidget* makeDigitGalleryPage(QWidget* parent) { return new DigitGalleryPage(parent); }
