#include "x11_session.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

namespace tallix::x11test {
namespace {

QString g_display;
QTemporaryDir* g_runtime = nullptr;

QProcessEnvironment ToolEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", g_display);
    env.remove("QT_QPA_PLATFORM");
    env.remove("QT_FONT_DPI");
    env.remove("QT_ENABLE_HIGHDPI_SCALING");
    if (g_runtime) env.insert("XDG_RUNTIME_DIR", g_runtime->path());
    return env;
}

} // namespace

QString MissingTools() {
    QStringList missing;
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "xprop", "xwininfo"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) missing << tool;
    return missing.join(", ");
}

void Session::SetUp() {
    // Xvfb picks a free display and writes its number to the descriptor.
    server_ = std::make_unique<QProcess>();
    server_->setProcessChannelMode(QProcess::SeparateChannels);
    server_->start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server_->waitForStarted(10000));
    QElapsedTimer clock;
    clock.start();
    QByteArray number;
    while (!number.contains('\n') && clock.elapsed() < 15000) {
        server_->waitForReadyRead(200);
        number += server_->readAllStandardOutput();
    }
    ASSERT_TRUE(number.contains('\n')) << "Xvfb did not start";
    g_display = ":" + QString::fromLatin1(number.trimmed());
    g_runtime = new QTemporaryDir;
    QFile::setPermissions(g_runtime->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    manager_ = std::make_unique<QProcess>();
    manager_->setProcessEnvironment(ToolEnvironment());
    manager_->start("openbox", {});
    ASSERT_TRUE(manager_->waitForStarted(10000));
    // The manager has taken over when it names itself on the root window.
    while (!Tool("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id") &&
           clock.elapsed() < 20000)
        QThread::msleep(50);
}

void Session::TearDown() {
    for (auto* p : {manager_.get(), server_.get()}) {
        if (!p) continue;
        p->terminate();
        if (!p->waitForFinished(5000)) p->kill();
        p->waitForFinished(5000);
    }
    delete g_runtime;
    g_runtime = nullptr;
}

QString Session::Display() { return g_display; }

QString Tool(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.setProcessEnvironment(ToolEnvironment());
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString()
                      << " did not end";
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

bool Viewable(const QString& window) {
    return Tool("xwininfo", {"-id", window}).contains("IsViewable");
}

bool Within(int ms, const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QThread::msleep(100);
    }
    return true;
}

QRect InnerOf(const QString& window) {
    // xwininfo rather than xdotool, which counts the frame twice.
    int x = 0, y = 0, w = 0, h = 0;
    for (const QString& line : Tool("xwininfo", {"-id", window}).split('\n')) {
        const QString key = line.section(':', 0, 0).trimmed();
        const int value = line.section(':', 1).trimmed().toInt();
        if (key == "Absolute upper-left X") x = value;
        if (key == "Absolute upper-left Y") y = value;
        if (key == "Width") w = value;
        if (key == "Height") h = value;
    }
    return QRect(x, y, w, h);
}

QMargins FrameOf(const QString& window) {
    // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
    const QString text = Tool("xprop", {"-id", window, "_NET_FRAME_EXTENTS"}).section('=', 1);
    const QStringList v = text.split(',', Qt::SkipEmptyParts);
    if (v.size() != 4) return {};
    return QMargins(v[0].trimmed().toInt(), v[2].trimmed().toInt(), v[1].trimmed().toInt(),
                    v[3].trimmed().toInt());
}

QString VisibleWindow(const QString& namePattern) {
    QString found;
    Within(10000, [&] {
        found = Tool("xdotool", {"search", "--onlyvisible", "--name", namePattern})
                    .section('\n', 0, 0)
                    .trimmed();
        return !found.isEmpty() &&
               Tool("xprop", {"-id", found, "_NET_FRAME_EXTENTS"}).contains("=");
    });
    QThread::msleep(200);
    return found;
}

FinishedStart StartToTheEnd(const gui::test::ConfigDir& config, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = ToolEnvironment();
    config.Apply(env);
    p.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    p.start(TALLIX_EXE, args);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, clock.elapsed()};
}

Calculator::Calculator(const gui::test::ConfigDir& config, const QString& workDir,
                       const QStringList& extraEnv) {
    QProcessEnvironment env = ToolEnvironment();
    config.Apply(env);
    for (const QString& e : extraEnv) env.insert(e.section('=', 0, 0), e.section('=', 1));
    process_.setProcessEnvironment(env);
    if (!workDir.isEmpty()) process_.setWorkingDirectory(workDir);
    process_.start(TALLIX_EXE, {});
    if (!process_.waitForStarted(10000)) {
        ADD_FAILURE() << "the program did not start";
        return;
    }
    FindWindow();
}

void Calculator::FindWindow() {
    const QString pid = QString::number(process_.processId());
    const QString old = window_;
    window_.clear();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        const QString found = Tool("xdotool", {"search", "--all", "--onlyvisible", "--pid", pid,
                                               "--name", "^Tallix$"})
                                  .section('\n', 0, 0)
                                  .trimmed();
        if (!found.isEmpty() && found != old) {
            window_ = found;
            break;
        }
        QThread::msleep(50);
    }
    if (window_.isEmpty()) {
        ADD_FAILURE() << "no window";
        return;
    }
    // Framed, placed and painted: the frame extents are the manager's last
    // word.
    while (!Tool("xprop", {"-id", window_, "_NET_FRAME_EXTENTS"}).contains("=") &&
           clock.elapsed() < 20000)
        QThread::msleep(50);
    QThread::msleep(300);
}

Calculator::~Calculator() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void Calculator::Type(const QString& text) {
    Tool("xdotool", {"windowactivate", "--sync", window_});
    Tool("xdotool", {"type", "--delay", "60", text});
    QThread::msleep(200);
}

void Calculator::Keys(const QString& keys) {
    Tool("xdotool", {"windowactivate", "--sync", window_});
    Tool("xdotool", {"key", "--delay", "60", keys});
    QThread::msleep(200);
}

bool Calculator::Close() {
    Keys("alt+F4");
    return process_.waitForFinished(20000);
}

int Calculator::VisibleWindows() const {
    const QString out = Tool("xdotool", {"search", "--all", "--onlyvisible", "--pid",
                                         QString::number(process_.processId()), "--name", ".*"});
    return static_cast<int>(out.split('\n', Qt::SkipEmptyParts).size());
}

} // namespace tallix::x11test
