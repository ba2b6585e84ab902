// The benchmarks' main: Google Benchmark's, inside the one application object
// of the run, which the windows, the charts and Qt SQL's drivers need. It
// lives from before the first benchmark to after the last and goes before
// the statics do: Qt's global thread pool and Qt SQL's drivers do not come
// back once an application object has been destroyed, and Qt SQL cleans up
// at the application's end with statics of its own. Headless (offscreen)
// where there is no display.
#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
