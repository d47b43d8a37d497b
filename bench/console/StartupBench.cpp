// Start-up of the program until the console window is mapped, against a bare Qt window program
// built beside it, both on an Xvfb display of their own. The clock runs from the spawn to the
// X server's map notification of the window with the expected title. The counter painted_ms
// goes on to the first frame: a window is mapped before the program has drawn anything in it,
// and what a person sees is the frame.
#include <benchmark/benchmark.h>

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <poll.h>
#include <signal.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Our own X server: the first display from :130 whose server comes up, ended on destruction.
class Display {
public:
    bool start()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return false;
        for (int n = 130; n <= 150; ++n) {
            if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            name_ = QStringLiteral(":%1").arg(n);
            server_.start(xvfb, {name_, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24"),
                                 QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            if (!server_.waitForStarted(3000))
                return false;
            for (int tries = 0; tries < 50 && server_.state() == QProcess::Running; ++tries) {
                connection_ = xcb_connect(name_.toLocal8Bit().constData(), nullptr);
                if (!xcb_connection_has_error(connection_))
                    return watchRoot();
                xcb_disconnect(connection_);
                connection_ = nullptr;
                QThread::msleep(100);
            }
            stopServer();
        }
        return false;
    }

    ~Display()
    {
        if (connection_)
            xcb_disconnect(connection_);
        stopServer();
    }

    const QString& name() const { return name_; }

    void drain()
    {
        xcb_flush(connection_);
        while (xcb_generic_event_t* e = xcb_poll_for_event(connection_))
            free(e);
    }

    // Waits for a top-level window titled `title` to be mapped; 0 after `timeoutMs`.
    xcb_window_t waitForMapped(const std::string& title, int timeoutMs)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            xcb_generic_event_t* e = xcb_poll_for_event(connection_);
            if (!e) {
                pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
                poll(&fd, 1, 20);
                continue;
            }
            const bool mapped = (e->response_type & 0x7F) == XCB_MAP_NOTIFY;
            const xcb_window_t window = mapped ? reinterpret_cast<xcb_map_notify_event_t*>(e)->window : 0;
            free(e);
            if (mapped && titleOf(window) == title)
                return window;
        }
        return 0;
    }

    // Waits until the program has drawn into `window`; false after `timeoutMs`. Until its first
    // frame a window shows the black of the root window beneath it; the frame is flushed whole,
    // so one row across the middle that is mostly not black tells that it is there.
    bool waitForPainted(xcb_window_t window, int timeoutMs)
    {
        auto* geometry = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        if (!geometry)
            return false;
        const uint16_t width = geometry->width;
        const int16_t middle = int16_t(geometry->height / 2);
        free(geometry);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            auto* row = xcb_get_image_reply(
                connection_, xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, middle, width, 1, ~0u),
                nullptr);
            if (!row)
                return false;
            const auto* pixels = reinterpret_cast<const uint32_t*>(xcb_get_image_data(row));
            const int count = xcb_get_image_data_length(row) / 4;
            int lit = 0;
            for (int i = 0; i < count; ++i)
                lit += (pixels[i] & 0xFFFFFFu) != 0;
            free(row);
            if (count > 0 && lit * 2 > count)
                return true;
            pollfd none{-1, 0, 0};
            poll(&none, 0, 1);
        }
        return false;
    }

private:
    bool watchRoot()
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        root_ = screen->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        utf8Name_ = atom("_NET_WM_NAME");
        xcb_flush(connection_);
        return true;
    }

    xcb_atom_t atom(const char* name)
    {
        auto* reply = xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, uint16_t(strlen(name)), name),
                                            nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return a;
    }

    std::string titleOf(xcb_window_t window)
    {
        auto* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, utf8Name_, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        std::string title;
        if (reply) {
            title.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                         size_t(xcb_get_property_value_length(reply)));
            free(reply);
        }
        return title;
    }

    void stopServer()
    {
        if (server_.state() == QProcess::NotRunning)
            return;
        // Asked, not killed, so that the server removes its lock file and socket.
        server_.terminate();
        if (!server_.waitForFinished(3000)) {
            server_.kill();
            server_.waitForFinished(3000);
        }
    }

    QProcess server_;
    QString name_;
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_atom_t utf8Name_ = XCB_ATOM_NONE;
};

// The display and the scratch copy of the program, made by the first benchmark that needs them
// and put away with the application.
std::unique_ptr<Display> display;
std::unique_ptr<QTemporaryDir> scratch;

bool ready()
{
    if (display)
        return true;
    auto d = std::make_unique<Display>();
    if (!d->start())
        return false;
    display = std::move(d);
    // A copy of the program as the build folder has it, so that every run is a first start
    // (no settings file: it is killed, never closed) showing the demo route and the sample
    // plug-in's ticket, as `scripts/run` does.
    scratch = std::make_unique<QTemporaryDir>();
    const QDir built = QFileInfo(QStringLiteral(FAREBOARD_EXE)).dir();
    QFile::copy(QStringLiteral(FAREBOARD_EXE), scratch->filePath(QStringLiteral("fareboard")));
    QFile::copy(QStringLiteral(FAREBOARD_TICKET_HELPER), scratch->filePath(QStringLiteral("fareboard-ticket")));
    QFile::copy(QStringLiteral(FAREBOARD_SAMPLE_PLUGIN), scratch->filePath(QStringLiteral("sample.4SP")));
    QFile::copy(QStringLiteral(FAREBOARD_BUS_DICTIONARY), scratch->filePath(QStringLiteral("fareboard-bus.dic")));
    QDir(scratch->path()).mkdir(QStringLiteral("demo"));
    for (const QFileInfo& file : QDir(built.filePath(QStringLiteral("demo"))).entryInfoList(QDir::Files))
        QFile::copy(file.filePath(), scratch->filePath(QStringLiteral("demo/") + file.fileName()));
    qAddPostRoutine([] {
        scratch.reset();
        display.reset();
    });
    return true;
}

// Waits until no process runs a program from the scratch folder any more: the ticket helper
// that a killed program leaves behind ends by itself once it sees its input closed, and must
// not share the processor with the next run. One still there after a second is killed.
void waitForStragglers()
{
    QElapsedTimer t;
    t.start();
    const QString folder = scratch->path() + QLatin1Char('/');
    for (;;) {
        QList<int> left;
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            bool number = false;
            const int id = pid.toInt(&number);
            if (number && QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget().startsWith(folder))
                left.push_back(id);
        }
        if (left.isEmpty() || t.elapsed() > 3000)
            return;
        if (t.elapsed() > 1000)
            for (int id : left)
                ::kill(id, SIGKILL);
        QThread::msleep(5);
    }
}

// Spawns `exe` on the display and times it until its window titled `title` is mapped.
void timeStartup(benchmark::State& state, const QString& exe, const std::string& title)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display->name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    std::vector<double> paintedMs;
    for (auto _ : state) {
        display->drain();
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(scratch->path());
        program.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        program.start(exe, {});
        const xcb_window_t window = display->waitForMapped(title, 20000);
        const bool shown = window != 0;
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
        const bool painted = shown && display->waitForPainted(window, 5000);
        paintedMs.push_back(double(t.nsecsElapsed()) / 1e6);
        program.kill();
        program.waitForFinished(5000);
        waitForStragglers();
        if (!shown || !painted) {
            state.SkipWithError(shown ? "the window was never drawn" : "the window never showed");
            break;
        }
    }
    state.counters["painted_ms"] = paintedMs.empty() ? 0.0 : paintedMs.back();
}

void BM_StartupToConsoleShown(benchmark::State& state)
{
    if (!ready())
        return state.SkipWithError("Xvfb could not start; nothing to measure");
    timeStartup(state, scratch->filePath(QStringLiteral("fareboard")), "集中操作盤");
}
BENCHMARK(BM_StartupToConsoleShown)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(21)->ReportAggregatesOnly(true);

void BM_StartupBareQtWindow(benchmark::State& state)
{
    if (!ready())
        return state.SkipWithError("Xvfb could not start; nothing to measure");
    timeStartup(state, QStringLiteral(FAREBOARD_BARE_WINDOW), "bare");
}
BENCHMARK(BM_StartupBareQtWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(21)->ReportAggregatesOnly(true);

}  // namespace
