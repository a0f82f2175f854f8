// StartUp: the program started as a process with no survey named, to its first painted main
// window, against a bare Qt window started the same way (bench_bare_window); both on the
// offscreen platform, each run from the start of its process to the line "painted" it writes
// (shell/FirstPaintQuit.h; the process then closes its window and ends, untimed).
// The program runs as a fresh install would after its first start was answered: a private
// settings folder in which the tip of the day is off ("Show Tips at Startup" 0) and the first-run
// prompt was seen ("FirstRun" False); the splash closes at once (TESSIVO_QUIT_AFTER_FIRST_PAINT
// makes its display time 0). Counters as everywhere (BenchSurvey.h): program, floor and ratio.
// Run build-release/bin/bench_startup.
#include "BenchSurvey.h"
#include "platform/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

// Seconds from the start of the process to its first paint; waits for it to end.
double firstPaint(const QString& program, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());
    const auto start = Clock::now();
    process.start(program, {});
    QByteArray out;
    while (!out.contains("painted\n")) {
        if (!process.waitForReadyRead(60000))
            throw std::runtime_error(program.toStdString() + " did not paint its window");
        out += process.readAllStandardOutput();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error(program.toStdString() + " did not end by itself");
    return seconds;
}

void StartUp(benchmark::State& state)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TESSIVO_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    const QString program = QStringLiteral(TESSIVO_PROGRAM);
    const QString bare = QStringLiteral(TESSIVO_BARE_WINDOW);
    try {
        // Once each first, so that both start from the page cache.
        firstPaint(program, environment);
        firstPaint(bare, environment);
        bench::measureSelfTimed(
            state, [&] { return firstPaint(program, environment); }, [&] { return firstPaint(bare, environment); });
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(StartUp)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

int main(int argc, char** argv)
{
    // The processes' private environment, which they inherit: the offscreen platform, runtime and
    // settings folders of their own, and the settings of a second start of a fresh install.
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tessivo-bench-startup-XXXXXX"));
    const QString runtime = folder.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
    QCoreApplication app(argc, argv);
    saveSetting(QStringLiteral("tessivo"), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"),
        QStringLiteral("0"));
    saveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun"),
        QStringLiteral("False"));
    return bench::runBenchmarks(argc, argv);
}
