#pragma once

#include <QString>

namespace fareboard::datatool {

// Something wrong with a file a user gave the tool. Users fix these by hand in an editor, so
// every one names the file and, where there is one, the line (or the row of a binary file).
class InputError {
public:
    InputError(QString file, int line, QString what) : file_(std::move(file)), line_(line), what_(std::move(what)) {}

    const QString& file() const { return file_; }
    int line() const { return line_; }  // 0 when the fault is not on one line
    const QString& what() const { return what_; }

    // "FILE:LINE: what", the form editors and terminals turn into a jump to the line.
    QString message() const
    {
        if (line_ > 0)
            return QStringLiteral("%1:%2: %3").arg(file_).arg(line_).arg(what_);
        return QStringLiteral("%1: %2").arg(file_, what_);
    }

private:
    QString file_;
    int line_;
    QString what_;
};

}  // namespace fareboard::datatool
