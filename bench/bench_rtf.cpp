// Speed of the rich-text reader and writer on texts of many distinct fonts and colours (text
// pasted from a word processor, or a long styled question).
// Run build/bin/bench_rtf (a Release build gives the figures that count).
//
// Each benchmark times the program's case and its floor in the same iterations (measureWithFloor)
// and reports ratio = program time / floor time. The floor is the same work with one font and
// one colour:
// - reading: the same RTF source (the same font and colour tables of N entries, the same N runs
//   and words), except that every run uses font 0 and colour 1 and runs alternate bold and
//   regular, so the reader still makes N runs but the document holds two formats instead of N;
// - writing: the documents the reader makes of those two sources, so the writer writes N runs
//   with tables of N entries, or of one entry for the floor.
// A reader or writer that is linear in the number of distinct fonts and colours stays within a
// small factor of its floor at any N; one that looks fonts or formats up one by one grows with N.
#include "BenchSurvey.h"
#include "platform/Rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

QString tables(int n)
{
    QString rtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl");
    for (int i = 0; i < n; ++i)
        rtf += QStringLiteral("{\\f%1\\fnil Font %1;}").arg(i);
    rtf += QStringLiteral("}{\\colortbl;");
    for (int i = 0; i < n; ++i)
        rtf += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(i % 256).arg((i / 256) % 256).arg(i / 65536);
    return rtf + QStringLiteral("}\r\n\\pard");
}

// What differs from run to run: the font, the colour, or (the floor) only bold.
enum Varies { Font, Colour, Floor };

// N runs, each in its own font or colour, or all in font 0 and colour 1 alternating bold.
QString source(int n, Varies varies)
{
    QString rtf = tables(n);
    for (int i = 0; i < n; ++i) {
        const int font = varies == Font ? i : 0;
        const int colour = varies == Colour ? i + 1 : 1;
        const QString bold = varies == Floor && i % 2 ? QStringLiteral("\\b") : QStringLiteral("\\b0");
        rtf += QStringLiteral("\\f%1\\cf%2\\fs20%3 word ").arg(font).arg(colour).arg(bold);
    }
    return rtf + QLatin1Char('}');
}

void Read(benchmark::State& state, Varies varies)
{
    const int n = int(state.range(0));
    const QString program = source(n, varies);
    const QString floor = source(n, Floor);
    const auto read = [](const QString& rtf) {
        QTextDocument doc;
        rtf::read(rtf, &doc);
        benchmark::DoNotOptimize(doc.characterCount());
    };
    bench::measureWithFloor(
        state, [&] { read(program); }, [&] { read(floor); });
}
BENCHMARK_CAPTURE(Read, fonts, Font)->Arg(8000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, colours, Colour)->Arg(8000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The documents are the ones the reader makes of the same sources.
void Write(benchmark::State& state, Varies varies)
{
    const int n = int(state.range(0));
    QTextDocument program;
    rtf::read(source(n, varies), &program);
    QTextDocument floor;
    rtf::read(source(n, Floor), &floor);
    bench::measureWithFloor(
        state, [&] { benchmark::DoNotOptimize(rtf::write(program).size()); },
        [&] { benchmark::DoNotOptimize(rtf::write(floor).size()); });
}
BENCHMARK_CAPTURE(Write, fonts, Font)->Arg(20000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Write, colours, Colour)->Arg(20000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return bench::runBenchmarks(argc, argv);
}
