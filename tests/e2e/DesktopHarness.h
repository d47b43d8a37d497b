#pragma once

// The desktop the end-to-end tests drive: child processes, X displays and helper programs.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QRect>
#include <QThread>

#include <cerrno>
#include <functional>
#include <optional>
#include <vector>

#include <signal.h>

namespace fareboard::e2e {

// Our own child processes, ended when the test ends however it ends. The X server is asked to
// end, since one killed outright leaves its lock file and socket behind; the program (a scratch
// copy with nothing to keep) is killed, since its sound library turns the request into an event
// it never reads.
struct Child {
    QProcess process;
    bool askToEnd = false;
    ~Child()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        if (askToEnd)
            process.terminate();
        if (!askToEnd || !process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
};

// A scratch copy of the program in `folder`, with the helper it runs ticket plug-ins in beside
// it, where the program looks for it.
inline bool copyProgram(const QString& folder)
{
    return QFile::copy(QStringLiteral(FAREBOARD_EXE), folder + QStringLiteral("/fareboard"))
        && QFile::copy(QStringLiteral(FAREBOARD_TICKET_HELPER), folder + QStringLiteral("/fareboard-ticket"));
}

// Copies the files of folder `from` into folder `to`; false when one would not copy.
inline bool copyFiles(const QString& from, const QString& to)
{
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    return true;
}

// A display whose lock names a live process is someone else's; a stale lock the server clears.
inline bool displayInUse(int n)
{
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(n));
    if (!lock.open(QIODevice::ReadOnly))
        return false;
    const qint64 pid = lock.readAll().trimmed().toLongLong();
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH);
}

// Starts `xvfb` as an X server on the first of `candidates` it can take and returns that
// display's name, or an empty one. Xvfb writes the number to -displayfd only once it owns the
// display and is ready, so two tests starting servers at the same moment cannot both believe
// one number is theirs (the loser ends without writing; asking the display whether it answers
// would hear the winner).
inline QString startXvfb(QProcess& xvfb, const QString& path, const std::vector<int>& candidates)
{
    for (int n : candidates) {
        if (displayInUse(n))
            continue;
        const QString name = QStringLiteral(":%1").arg(n);
        xvfb.start(path, {name, QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                          QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                          QStringLiteral("tcp")});
        if (!xvfb.waitForStarted(3000))
            return {};
        QByteArray written;
        QElapsedTimer clock;
        clock.start();
        while (!written.contains('\n') && xvfb.state() == QProcess::Running && clock.elapsed() < 5000) {
            xvfb.waitForReadyRead(100);
            written += xvfb.readAllStandardOutput();
        }
        if (written.trimmed() == QByteArray::number(n) && xvfb.state() == QProcess::Running)
            return name;
        xvfb.kill();
        xvfb.waitForFinished(2000);
    }
    return {};
}

// Runs a helper program against the display and returns what it printed.
inline QString run(const QString& program, const QStringList& args, const QString& display)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(10000))
        p.kill();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The id of the one visible window whose name matches `name`, or an empty string when there
// is none or more than one.
inline QString visibleWindow(const QString& xdotool, const QString& display, const QString& name)
{
    const QStringList ids = run(xdotool, {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                          QStringLiteral("--name"), name},
                                display)
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return ids.size() == 1 ? ids[0] : QString();
}

inline bool waitFor(const std::function<bool()>& done, int timeoutMs, int stepMs = 100)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(static_cast<unsigned long>(stepMs));
    }
    return true;
}

// Starts the program copy `exe` in `workDir` under `env`, its messages on the test's own.
inline bool startProgram(Child& program, const QProcessEnvironment& env, const QString& exe, const QString& workDir)
{
    program.process.setProcessEnvironment(env);
    program.process.setWorkingDirectory(workDir);
    program.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.process.start(exe, {});
    return program.process.waitForStarted(5000);
}

// The programs a desktop test runs, found on the PATH; empty where one is not installed.
struct DesktopTools {
    QString xvfb, openbox, xdotool, import;
};
inline DesktopTools findDesktopTools()
{
    auto find = [](const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); };
    return {find("Xvfb"), find("openbox"), find("xdotool"), find("import")};
}

// The display numbers `first` to `last`, the candidates of startXvfb.
inline std::vector<int> displayRange(int first, int last)
{
    std::vector<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.push_back(n);
    return numbers;
}

// Starts openbox on `display`; true once it manages the display.
inline bool startOpenbox(Child& wm, const QString& path, const QString& display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    wm.askToEnd = true;
    wm.process.setProcessEnvironment(env);
    wm.process.start(path, {QStringLiteral("--sm-disable")});
    if (!wm.process.waitForStarted(5000))
        return false;
    return waitFor([&] {
        return run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, display)
            .contains(QStringLiteral("window id"));
    }, 5000);
}

// The client area of the one visible window whose name matches `name`, in screen pixels, as
// the X server places it (under a window manager, inside the frame); none without one window.
inline std::optional<QRect> clientArea(const QString& xdotool, const QString& display, const QString& name)
{
    const QString id = visibleWindow(xdotool, display, name);
    if (id.isEmpty())
        return std::nullopt;
    int x = 0, y = 0, width = 0, height = 0;
    for (const QString& line : run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}, display).split(QLatin1Char('\n'))) {
        const QString value = line.section(QLatin1Char(':'), 1).trimmed();
        if (line.contains(QStringLiteral("Absolute upper-left X:")))
            x = value.toInt();
        else if (line.contains(QStringLiteral("Absolute upper-left Y:")))
            y = value.toInt();
        else if (line.trimmed().startsWith(QStringLiteral("Width:")))
            width = value.toInt();
        else if (line.trimmed().startsWith(QStringLiteral("Height:")))
            height = value.toInt();
    }
    if (width == 0)
        return std::nullopt;
    return QRect(x, y, width, height);
}


}  // namespace fareboard::e2e
