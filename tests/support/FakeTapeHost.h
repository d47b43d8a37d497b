#pragma once

#include "announce/TapeHost.h"

#include <QMap>
#include <QSet>
#include <QString>

namespace fareboard::test {

// Stands in for the console's tape group, the options dialog and the dialog library.
class FakeTapeHost final : public TapeHost {
public:
    QString osName = QStringLiteral("Linux");
    QMap<QString, QString> captions;
    QMap<QString, bool> enabled;
    QMap<QString, QString> toolTips;
    QSet<QString> selected;        // option buttons that are selected, e.g. "Option7(0)"
    QMap<QString, QString> texts;  // text boxes, e.g. "txtSelectSound(4)"
    QWidget* console = nullptr;
    int osQueries = 0;

    QString GetOsInfo() override
    {
        ++osQueries;
        return osName;
    }
    void setControlCaption(const QString& name, const QString& caption) override { captions[name] = caption; }
    void setControlEnabled(const QString& name, bool on) override { enabled[name] = on; }
    void setControlToolTip(const QString& name, const QString& text) override { toolTips[name] = text; }
    bool optionSelected(const QString& name) override { return selected.contains(name); }
    QString optionText(const QString& name) override { return texts.value(name); }
    QWidget* consoleWindow() override { return console; }
};

}  // namespace fareboard::test
